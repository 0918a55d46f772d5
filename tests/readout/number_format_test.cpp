#include "readout/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace karvo {
namespace {

const NumberLocale kDot{".", ","};
const NumberLocale kComma{",", "\u00A0"};

struct Case {
    double value;
    int precision;
    int digits;
    const char* fixed;
    const char* number;
};

class FormatTable : public ::testing::TestWithParam<Case> {};

TEST_P(FormatTable, FixedAndNumber) {
    const Case& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.precision, c.digits, kDot), c.fixed)
        << c.value << " P" << c.precision << " D" << c.digits;
    EXPECT_EQ(FormatNumber(c.value, c.precision, c.digits, kDot), c.number)
        << c.value << " P" << c.precision << " D" << c.digits;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatTable,
    ::testing::Values(
        // The documented examples.
        Case{12.345, 3, 2, "12.30", "12.30"}, Case{9.996, 3, 2, "10.00", "10.00"},
        Case{1.23456, 6, 3, "1.235", "1.235"}, Case{12345.678, 8, 1, "12345.7", "12,345.7"},
        Case{-5, 8, 0, "-5", "-5"},
        // Rounding half away from zero, on the exact binary value.
        Case{0.125, 8, 2, "0.13", "0.13"}, Case{-0.125, 8, 2, "-0.13", "-0.13"},
        Case{2.5, 8, 0, "3", "3"}, Case{-2.5, 8, 0, "-3", "-3"}, Case{0.375, 8, 2, "0.38", "0.38"},
        Case{2.675, 8, 2, "2.67", "2.67"},                         // 2.67499999... in binary
        Case{static_cast<float>(12.345), 8, 2, "12.35", "12.35"},  // 12.3450002... as float
        Case{static_cast<float>(12.3456), 8, 2, "12.35", "12.35"},
        Case{999.96, 8, 1, "1000.0", "1,000.0"}, Case{0.0004, 8, 3, "0.000", "0.000"},
        Case{0.0005, 8, 3, "0.001", "0.001"}, Case{0.00123456, 3, 4, "0.0012", "0.0012"},
        Case{0.5, 8, 0, "1", "1"}, Case{0.4, 8, 0, "0", "0"},
        // Negative values; a value that rounds to zero carries no minus sign.
        Case{-1234.5678, 8, 2, "-1234.57", "-1,234.57"}, Case{-0.001, 8, 2, "0.00", "0.00"},
        Case{-0.0, 8, 2, "0.00", "0.00"}, Case{-12.3456, 6, 3, "-12.346", "-12.346"},
        // Zero and missing decimals written as zeros.
        Case{0, 8, 0, "0", "0"}, Case{0, 8, 4, "0.0000", "0.0000"},
        Case{5, 8, 4, "5.0000", "5.0000"}, Case{4.0, 3, 2, "4.00", "4.00"},
        // Grouping only where the integer part has more than three digits.
        Case{123, 8, 0, "123", "123"}, Case{1234, 8, 0, "1234", "1,234"},
        Case{123456, 8, 0, "123456", "123,456"}, Case{-1234567, 8, 0, "-1234567", "-1,234,567"},
        Case{99999999, 8, 2, "99999999.00", "99,999,999.00"},
        // The precision limits the digits before the decimals do.
        Case{1234.5678, 5, 2, "1234.60", "1,234.60"}, Case{1.03f, 3, 2, "1.03", "1.03"},
        Case{12345.678, 4, 2, "1.235E4", "1.235E4"},
        // An integer part longer than the precision: general exponent form.
        Case{123456789, 8, 2, "1.2345679E8", "1.2345679E8"}, Case{100000000, 8, 0, "1E8", "1E8"},
        Case{-1.5e12, 8, 1, "-1.5E12", "-1.5E12"},
        Case{999.6, 3, 2, "1E3", "1E3"},  // rounding carries into a fourth integer digit
        Case{1e300, 8, 2, "1E300", "1E300"}, Case{1234567.0, 6, 3, "1.23457E6", "1.23457E6"}));

TEST(FormatNumberTest, SeparatorsAreTheLocalesOwn) {
    EXPECT_EQ(FormatNumber(12345.678, 8, 1, kComma), "12\u00A0345,7");
    EXPECT_EQ(FormatNumber(-1234567.25, 9, 2, kComma), "-1\u00A0234\u00A0567,25");
    EXPECT_EQ(FormatFixed(12345.678, 8, 1, kComma), "12345,7");
    EXPECT_EQ(FormatFixed(1.23456, 6, 3, kComma), "1,235");
    EXPECT_EQ(FormatNumber(123456789, 8, 2, kComma), "1,2345679E8");
    EXPECT_EQ(FormatNumber(12, 8, 0, kComma), "12");
}

TEST(FormatNumberTest, NonFiniteValuesGiveAText) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatNumber(nan, 8, 2, kDot), "NAN");
    EXPECT_EQ(FormatFixed(inf, 6, 3, kDot), "INF");
    EXPECT_EQ(FormatNumber(-inf, 3, 2, kDot), "-INF");
}

TEST(FormatNumberTest, OutOfRangeArgumentsAreClamped) {
    EXPECT_EQ(FormatNumber(12.5, 8, -1, kDot), "13");  // no decimals selected
    EXPECT_EQ(FormatFixed(1.0, 0, 1, kDot), "1.0");
    EXPECT_EQ(FormatFixed(0.1, 40, 30, kDot), "0.100000000000000006");  // 18 digits at most
    // The smallest positive double and the largest finite one format without trouble.
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::denorm_min(), 8, 4, kDot), "0.0000");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 8, 4, kDot), "1.7976931E308");
}

}  // namespace
}  // namespace karvo
