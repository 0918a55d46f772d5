#include "readout/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace karvo {

namespace {

constexpr int kMaxPrecision = 18;
constexpr int kMaxDigits = 18;

// The exact decimal expansion of |value| (finite, non-zero): significant digits without
// trailing zeros and the decimal exponent of the first digit (value = d.ddd x 10^exponent).
struct Decimal {
    char digits[800];
    int count = 0;
    int exponent = 0;
};

void ExactDecimal(double magnitude, Decimal& out) {
    // glibc prints the exact binary value for any precision; a double needs at most 767
    // significant digits, so the digits below are the true ones, not a rounded print.
    char buf[820];
    std::snprintf(buf, sizeof buf, "%.770e", magnitude);
    const char* e = std::strchr(buf, 'e');
    out.exponent = e ? std::atoi(e + 1) : 0;
    int n = 0;
    for (const char* p = buf; p != e && *p; ++p) {
        if (*p >= '0' && *p <= '9') out.digits[n++] = *p;
    }
    while (n > 1 && out.digits[n - 1] == '0') --n;
    out.count = n;
}

// Rounds `d` half away from zero to `keep` significant digits. `keep` may be 0 or less
// (the rounding place lies above the first digit). Leaves count 0 when the result is zero.
void RoundTo(Decimal& d, int keep) {
    if (keep >= d.count) return;
    if (keep < 0) {
        d.count = 0;
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.count = keep;
    if (!up) {
        while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
        return;
    }
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9') --i;
    if (i < 0) {
        // 9.99.. carried into a new leading digit (or rounding at the place above the first).
        d.digits[0] = '1';
        d.count = 1;
        ++d.exponent;
        return;
    }
    ++d.digits[i];
    d.count = i + 1;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// General form with the significant digits of `d`: "1.2345679E8", "-1.5E12".
// `d` is already rounded to the precision.
std::string GeneralExponent(bool negative, const Decimal& d, const NumberLocale& loc) {
    std::string s = negative ? "-" : "";
    s += d.digits[0];
    if (d.count > 1) {
        s += loc.decimal;
        s.append(d.digits + 1, d.digits + d.count);
    }
    s += 'E';
    s += std::to_string(d.exponent);
    return s;
}

std::string Format(double value, int precision, int digits, const NumberLocale& loc, bool grouped) {
    if (!std::isfinite(value)) return NonFinite(value);
    precision = std::clamp(precision, 1, kMaxPrecision);
    digits = std::clamp(digits, 0, kMaxDigits);

    const bool negative = std::signbit(value);
    Decimal d;
    if (value != 0.0) {
        ExactDecimal(std::fabs(value), d);
        // Keep digits down to the place 10^-digits, and no more than `precision` of them.
        RoundTo(d, std::min(precision, d.exponent + 1 + digits));
        if (d.count > 0 && d.exponent + 1 > precision) {
            return GeneralExponent(negative, d, loc);
        }
    }

    // Integer part and `digits` decimals from the rounded digits; a value that rounds to
    // zero is written without a minus sign.
    std::string integer;
    std::string fraction(static_cast<std::size_t>(digits), '0');
    if (d.count > 0) {
        for (int i = 0; i < d.count; ++i) {
            const int place = d.exponent - i;  // power of ten of digit i
            if (place >= 0) {
                if (integer.empty()) integer.assign(static_cast<std::size_t>(place + 1), '0');
                integer[integer.size() - 1 - static_cast<std::size_t>(place)] = d.digits[i];
            } else {
                fraction[static_cast<std::size_t>(-place - 1)] = d.digits[i];
            }
        }
    }
    if (integer.empty()) integer = "0";

    std::string s = (negative && d.count > 0) ? "-" : "";
    if (grouped && integer.size() > 3) {
        const std::size_t lead = integer.size() % 3 == 0 ? 3 : integer.size() % 3;
        s.append(integer, 0, lead);
        for (std::size_t i = lead; i < integer.size(); i += 3) {
            s += loc.thousands;
            s.append(integer, i, 3);
        }
    } else {
        s += integer;
    }
    if (digits > 0) {
        s += loc.decimal;
        s += fraction;
    }
    return s;
}

}  // namespace

std::string FormatFixed(double value, int precision, int digits, const NumberLocale& locale) {
    return Format(value, precision, digits, locale, false);
}

std::string FormatNumber(double value, int precision, int digits, const NumberLocale& locale) {
    return Format(value, precision, digits, locale, true);
}

}  // namespace karvo
