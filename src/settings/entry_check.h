// The checks of typed numbers: conversion, range and the rewritten text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "readout/number_format.h"

namespace karvo {

// Outcome of a decimal entry check.
struct FloatCheck {
    bool ok = false;                    // the value may be used
    float value = 0.0f;                 // the converted 32-bit value (meaningful when converted)
    bool converted = false;             // the text was a number
    std::optional<std::string> text;    // the text to write back into the field, if any
};

struct IntCheck {
    bool ok = false;
    std::int32_t value = 0;
};

// Text to float as Delphi's TryStrToFloat does under `decimalSeparator`: blanks around,
// sign and exponent accepted; empty text, thousands separators, a second separator or other
// characters refused.
std::optional<double> TryStrToFloat(const std::string& text, const std::string& decimalSeparator);
// Text to a 32-bit integer as TryStrToInt: optional sign and decimal digits (leading blanks
// accepted); no point, no exponent, no trailing characters, no overflow.
std::optional<std::int32_t> TryStrToInt(const std::string& text);

// The decimal check: "," and "." are both taken as the decimal separator, the value is
// rounded to a 32-bit float, rewritten with FormatFixed(value, 8, decimals) and tested
// against [min, max] (both inclusive, 32-bit bounds).
FloatCheck CheckFloatEntry(const std::string& text, int decimals, float max, float min,
                           const NumberLocale& locale);
// The whole-number check; the text is never rewritten.
IntCheck CheckIntEntry(const std::string& text, float max, float min);

}  // namespace karvo
