// The text-to-number conversions of the entry checks on any text, under both separators:
// a converted number is finite and within the type's range, an accepted decimal entry is
// rewritten into a text that converts again to the same value, and an accepted whole
// number is within its bounds and prints back to a text that converts to it.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz_common.h"
#include "settings/entry_check.h"

namespace {

using namespace karvo;
using karvo::fuzz::Fail;

float Bound(std::uint8_t b) {
    static const float kBounds[] = {
        0.0f,    1.0f,    -1.0f,    100.0f,        -100.0f,        65535.0f, 1e9f,  -1e9f,
        2.5e-3f, 3.4e38f, -3.4e38f, 2147483647.0f, -2147483648.0f, 500.0f,   20.0f, 4.0f};
    return kBounds[b % (sizeof kBounds / sizeof kBounds[0])];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint8_t control = data[0];
    const std::uint8_t bounds = data[1];
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const NumberLocale locale =
        (control & 1) ? NumberLocale{",", "\xC2\xA0"} : NumberLocale{".", ","};
    const int decimals = (control >> 1) % 5;
    float max = Bound(bounds);
    float min = Bound(bounds >> 4);

    for (const char* sep : {".", ",", ""}) {
        if (const auto v = TryStrToFloat(text, sep)) {
            if (!std::isfinite(*v)) Fail("TryStrToFloat gave a number that is not finite", text);
        }
    }
    if (const auto i = TryStrToInt(text)) {
        const auto back = TryStrToInt(std::to_string(*i));
        if (!back || *back != *i) Fail("TryStrToInt does not read its own print", text);
    }

    const FloatCheck f = CheckFloatEntry(text, decimals, max, min, locale);
    if (f.ok && !f.converted) Fail("accepted without a number", text);
    if (f.converted) {
        if (!std::isfinite(f.value)) Fail("converted to a number that is not finite", text);
        if (!f.text) Fail("converted without a text to write back", text);
        if (f.ok && (f.value < min || f.value > max)) Fail("accepted outside its range", text);
        // What is written back into the field converts again.
        const FloatCheck again = CheckFloatEntry(*f.text, decimals, max, min, locale);
        if (!again.converted) Fail("rewritten text is not a number", text, *f.text);
    }

    const IntCheck n = CheckIntEntry(text, max, min);
    if (n.ok && (static_cast<double>(n.value) < min || static_cast<double>(n.value) > max))
        Fail("whole number accepted outside its range", text);
    return 0;
}
