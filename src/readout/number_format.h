// The two number formats of shown floats (Delphi FloatToStrF with ffFixed and ffNumber).
#pragma once

#include <string>

namespace karvo {

// The separators of the system's number format; the views take them from QLocale::system().
struct NumberLocale {
    std::string decimal = ".";
    std::string thousands = ",";
};

// Rounds half away from zero to at most `precision` significant digits and at most
// `digits` decimals and writes exactly `digits` decimals. An integer part longer than
// `precision` digits switches to the general exponent form.
std::string FormatFixed(double value, int precision, int digits, const NumberLocale& locale);
// As FormatFixed, with the thousands separator between groups of three integer digits.
std::string FormatNumber(double value, int precision, int digits, const NumberLocale& locale);

}  // namespace karvo
