// The report-descriptor parser on any bytes: never reads past them, and any layout it gives
// is within the limits the device code relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "hid/report_descriptor.h"

using namespace karvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes, so that a read one past the end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto parsed = ParseReportDescriptor(bytes.empty() ? nullptr : bytes.data(), size);
    if (parsed) {
        const auto inRange = [](int n) { return n >= 0 && n <= kMaxReportByteLength; };
        if (!inRange(parsed->InputReportByteLength) || !inRange(parsed->OutputReportByteLength))
            std::abort();
    }
    const ReportLayout usable = UsableReportLayout(std::optional<std::vector<std::uint8_t>>(bytes));
    if (usable.InputReportByteLength <= 0 || usable.OutputReportByteLength <= 0 ||
        usable.InputReportByteLength > kMaxReportByteLength ||
        usable.OutputReportByteLength > kMaxReportByteLength)
        std::abort();
    return 0;
}
