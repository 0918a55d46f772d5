#include "settings/entry_check.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace karvo {
namespace {

const NumberLocale kComma{",", " "};
const NumberLocale kPoint{".", ","};

// The sensor-constant field's check: 4 decimals, 0.1 to 100000000.
FloatCheck Sense(const std::string& text, const NumberLocale& loc) {
    return CheckFloatEntry(text, 4, 100000000.0f, 0.1f, loc);
}

TEST(CheckFloatEntry, EitherSeparatorIsTakenForTheSystemOne) {
    for (const char* text : {"2.5", "2,5"}) {
        const FloatCheck c = Sense(text, kComma);
        EXPECT_TRUE(c.ok) << text;
        EXPECT_EQ(c.value, 2.5f);
        EXPECT_EQ(c.text, std::optional<std::string>("2,5000")) << text;

        const FloatCheck p = Sense(text, kPoint);
        EXPECT_TRUE(p.ok) << text;
        EXPECT_EQ(p.text, std::optional<std::string>("2.5000")) << text;
    }
}

TEST(CheckFloatEntry, TextsThatAreNotNumbersAreRefusedAndNotRewritten) {
    // 1,000.5 becomes 1.000.5 under "." (and 1,000,5 under ","): a second separator.
    for (const char* text : {"1,000.5", "", "   ", ".", "+", "-", "1e", "1e+", "e5", "12a", "1 000",
                             "1.2.3", "0x10", "--1", "1e3.5", "inf", "nan", "1e39", "-1e39"}) {
        for (const NumberLocale& loc : {kPoint, kComma}) {
            const FloatCheck c = CheckFloatEntry(text, 2, 1e30f, -1e30f, loc);
            EXPECT_FALSE(c.ok) << "'" << text << "' under " << loc.decimal;
            EXPECT_FALSE(c.converted) << text;
            EXPECT_FALSE(c.text.has_value()) << text;
        }
    }
}

TEST(CheckFloatEntry, BlanksSignAndExponentAreAccepted) {
    struct Case {
        const char* text;
        float value;
    } const cases[] = {
        {"1e3", 1000.0f},  {" -1.5E+2 ", -150.0f}, {"+.5", 0.5f}, {"5.", 5.0f},
        {"2,5e-1", 0.25f}, {"\t7\t", 7.0f},        {"-0", 0.0f},  {"000012", 12.0f},
    };
    for (const Case& c : cases) {
        const FloatCheck r = CheckFloatEntry(c.text, 3, 999999.0f, -999999.0f, kPoint);
        EXPECT_TRUE(r.ok) << c.text;
        EXPECT_EQ(r.value, c.value) << c.text;
    }
}

TEST(CheckFloatEntry, RangeIsTestedOnTheConvertedValueNotTheRewrittenText) {
    // Out of range but a number: the field shows what was understood.
    const FloatCheck small = Sense("0.05", kPoint);
    EXPECT_FALSE(small.ok);
    EXPECT_TRUE(small.converted);
    EXPECT_EQ(small.text, std::optional<std::string>("0.0500"));

    // 99999.4 shows as 99999 with 0 decimals but is above 99999.
    const FloatCheck above = CheckFloatEntry("99999.4", 0, 99999.0f, -99999.0f, kPoint);
    EXPECT_FALSE(above.ok);
    EXPECT_EQ(above.text, std::optional<std::string>("99999"));

    // 1.7 shows as 2 and 1.7 is handed back.
    const FloatCheck rounded = CheckFloatEntry("1.7", 0, 99999.0f, -99999.0f, kPoint);
    EXPECT_TRUE(rounded.ok);
    EXPECT_EQ(rounded.value, 1.7f);
    EXPECT_EQ(rounded.text, std::optional<std::string>("2"));
}

TEST(CheckFloatEntry, BoundsAreInclusiveAsThirtyTwoBitFloats) {
    EXPECT_TRUE(Sense("0.1", kPoint).ok);
    EXPECT_TRUE(Sense("0,1", kPoint).ok);
    EXPECT_FALSE(Sense("0.0999", kPoint).ok);
    EXPECT_TRUE(Sense("100000000", kPoint).ok);
    EXPECT_FALSE(Sense("100000010", kPoint).ok);  // the next float above
    EXPECT_TRUE(CheckFloatEntry("0.01", 2, 1000000.0f, 0.01f, kPoint).ok);
    EXPECT_FALSE(CheckFloatEntry("0.009", 2, 1000000.0f, 0.01f, kPoint).ok);
    EXPECT_TRUE(CheckFloatEntry("-99999", 0, 99999.0f, -99999.0f, kPoint).ok);
}

TEST(CheckIntEntry, WholeNumbersOnlyWithinTheRange) {
    struct Case {
        const char* text;
        bool ok;
    } const cases[] = {
        {"500", true},  {"500.0", false},    {"1e3", false},       {"0", false},
        {"1", true},    {"100000000", true}, {"100000001", false}, {"", false},
        {"  42", true}, {"42 ", false},      {"+7", true},         {"-7", false},
        {"5,0", false}, {"0x10", false},     {"12a", false},       {"+", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckIntEntry(c.text, 100000000.0f, 1.0f).ok, c.ok) << "'" << c.text << "'";
    }
    EXPECT_EQ(CheckIntEntry("500", 100000000.0f, 1.0f).value, 500);
}

TEST(TryStrToInt, ThirtyTwoBitLimits) {
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryStrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(TryStrToInt("2147483648"), std::nullopt);
    EXPECT_EQ(TryStrToInt("-2147483649"), std::nullopt);
    EXPECT_EQ(TryStrToInt("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(TryStrToInt("-0"), 0);
}

}  // namespace
}  // namespace karvo
