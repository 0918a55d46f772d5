// Output and input report lengths from a HID report descriptor, counted the way the
// device's HID capabilities count them: the longest report of each kind plus the report
// ID byte (added also when the device uses no report IDs).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace karvo {

struct ReportLayout {
    int OutputReportByteLength = 0;  // 0: the descriptor declares no output report
    int InputReportByteLength = 0;   // 0: no input report
    bool UsesReportIds = false;      // reports carry a report ID byte on the wire
};

// Longest report the parser accepts (bytes, ID byte included); longer is malformed.
constexpr int kMaxReportByteLength = 16384;
// Length used when the descriptor cannot be read or declares no report of a kind.
constexpr int kFallbackReportByteLength = 65;

// Nothing when the descriptor is truncated or malformed.
std::optional<ReportLayout> ParseReportDescriptor(const std::uint8_t* data, std::size_t size);

// The layout a device is driven with: the parsed one, each missing length replaced by
// the fallback; a descriptor that cannot be read or parsed gives 65/65 with report IDs.
ReportLayout UsableReportLayout(const std::optional<std::vector<std::uint8_t>>& descriptor);

}  // namespace karvo
