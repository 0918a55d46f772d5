#include "settings/entry_check.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace karvo {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> TryStrToFloat(const std::string& text, const std::string& decimalSeparator) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && IsBlank(text[i])) ++i;

    // The number is rebuilt in the one form std::from_chars reads, whatever the separator.
    std::string plain;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') plain += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) {
        plain += text[i++];
        ++mantissaDigits;
    }
    if (!decimalSeparator.empty() &&
        text.compare(i, decimalSeparator.size(), decimalSeparator) == 0) {
        i += decimalSeparator.size();
        plain += '.';
        while (i < n && IsDigit(text[i])) {
            plain += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        plain += 'e';
        if (i < n && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        int exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            plain += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) return std::nullopt;
    }
    while (i < n && IsBlank(text[i])) ++i;
    if (i != n) return std::nullopt;

    double value = 0.0;
    const char* first = plain.data();
    const char* last = plain.data() + plain.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<std::int32_t> TryStrToInt(const std::string& text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == n) return std::nullopt;

    // Accumulated as a magnitude in 64 bits; stops as soon as it cannot fit 32.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < n; ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) return std::nullopt;
    }
    if (!negative && magnitude == kLimit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

FloatCheck CheckFloatEntry(const std::string& text, int decimals, float max, float min,
                           const NumberLocale& locale) {
    // "," and "." both stand for the system's decimal separator.
    std::string replaced;
    replaced.reserve(text.size());
    if (locale.decimal == ".") {
        for (char c : text) replaced += (c == ',') ? '.' : c;
    } else {
        for (char c : text) {
            if (c == '.')
                replaced += locale.decimal;
            else
                replaced += c;
        }
    }

    FloatCheck check;
    const auto number = TryStrToFloat(replaced, locale.decimal);
    // A number beyond the 32-bit float range cannot be handed back: refused like a text
    // that is not a number.
    if (!number || std::fabs(*number) > double{std::numeric_limits<float>::max()}) return check;

    check.converted = true;
    check.value = static_cast<float>(*number);
    check.text = FormatFixed(check.value, 8, decimals, locale);
    check.ok = !(check.value < min) && !(check.value > max);
    return check;
}

IntCheck CheckIntEntry(const std::string& text, float max, float min) {
    IntCheck check;
    const auto number = TryStrToInt(text);
    if (!number) return check;
    const double v = *number;  // exact: every 32-bit integer and float fits a double
    if (v < double{min} || v > double{max}) return check;
    check.ok = true;
    check.value = *number;
    return check;
}

}  // namespace karvo
