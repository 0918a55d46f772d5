#include "hid/report_descriptor.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace karvo {
namespace {

using test::Hex;

// Vendor-defined page, one 64-byte input and one 64-byte output report, report ID 1:
// what the amplifier declares.
const char* const kVendor64 =
    "06 00 FF  09 01  A1 01"                  // usage page 0xFF00, usage 1, application collection
    "  85 01  15 00  26 FF 00  75 08  95 40"  // ID 1, 0..255, 8 bits x 64
    "  09 01  81 02"                          // input
    "  09 01  91 02"                          // output
    "C0";

// A boot keyboard: no report IDs, 8-byte input, 1-byte LED output (5 bits + 3 padding).
const char* const kBootKeyboard =
    "05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02"
    "95 01 75 08 81 01 95 05 75 01 05 08 19 01 29 05 91 02 95 01 75 03 91 01"
    "95 06 75 08 15 00 25 65 05 07 19 00 29 65 81 00 C0";

// Several report IDs: ID 1 in 8 / out 16 bytes, ID 2 in 32 bytes (in two items, 12 bits
// of it under Push/Pop with another size), ID 3 out 4 bytes, ID 4 a 100-byte feature.
const char* const kSeveralIds =
    "06 00 FF 09 01 A1 01"
    "  85 01 75 08 95 08 81 02  95 10 91 02"
    "  85 02 95 1E 81 02  A4 75 04 95 03 81 02 B4  75 04 95 01 81 03"
    "  85 03 75 08 95 04 91 02"
    "  85 04 95 64 B1 02"
    "C0";

std::optional<ReportLayout> Parse(const std::vector<std::uint8_t>& d) {
    return ParseReportDescriptor(d.data(), d.size());
}

TEST(ReportDescriptor, LengthsCountTheReportIdByte) {
    struct Case {
        const char* name;
        const char* hex;
        int output, input;
        bool ids;
    } cases[] = {
        {"vendor 64-byte with ID 1", kVendor64, 65, 65, true},
        {"boot keyboard without IDs", kBootKeyboard, 2, 9, false},
        {"several IDs: the longest of each kind", kSeveralIds, 17, 33, true},
        // Report Count with a 4-byte item, Report Size with a 2-byte one.
        {"wide item data", "A1 01 85 01 76 08 00 97 20 00 00 00 81 02 C0", 0, 33, true},
        // A long item (FE, size 2, tag) is skipped whole.
        {"long item", "FE 02 10 AA BB A1 01 75 08 95 03 91 02 C0", 4, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto layout = Parse(Hex(c.hex));
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(layout->OutputReportByteLength, c.output);
        EXPECT_EQ(layout->InputReportByteLength, c.input);
        EXPECT_EQ(layout->UsesReportIds, c.ids);
    }
}

TEST(ReportDescriptor, MissingKindsFallBackTo65) {
    const auto layout = UsableReportLayout(Hex(kBootKeyboard));
    EXPECT_EQ(layout.OutputReportByteLength, 2);
    EXPECT_EQ(layout.InputReportByteLength, 9);
    EXPECT_FALSE(layout.UsesReportIds);

    const auto inputOnly = UsableReportLayout(Hex("A1 01 75 08 95 03 81 02 C0"));
    EXPECT_EQ(inputOnly.OutputReportByteLength, 65);
    EXPECT_EQ(inputOnly.InputReportByteLength, 4);
}

TEST(ReportDescriptor, EveryTruncationFallsBackTo65) {
    for (const char* hex : {kVendor64, kBootKeyboard, kSeveralIds}) {
        const auto full = Hex(hex);
        for (std::size_t n = 0; n < full.size(); ++n) {
            SCOPED_TRACE(n);
            const std::vector<std::uint8_t> cut(full.begin(), full.begin() + n);
            const auto layout = UsableReportLayout(cut);
            EXPECT_EQ(layout.OutputReportByteLength, 65);
            EXPECT_EQ(layout.InputReportByteLength, 65);
        }
    }
}

TEST(ReportDescriptor, MalformedDescriptorsAreRefused) {
    struct Case {
        const char* name;
        const char* hex;
    } cases[] = {
        {"empty", ""},
        {"item data cut", "A1 01 75 08 96 40"},
        {"end collection without collection", "75 08 95 01 81 02 C0"},
        {"collection never closed", "A1 01 75 08 95 01 81 02"},
        {"pop without push", "A1 01 B4 C0"},
        {"report ID 0", "A1 01 85 00 75 08 95 01 81 02 C0"},
        {"report ID above 255", "A1 01 86 00 01 75 08 95 01 81 02 C0"},
        {"report without ID beside numbered ones", "A1 01 75 08 95 01 81 02 85 01 81 02 C0"},
        {"long item cut", "FE 05 10 AA"},
        {"report too long to exist", "A1 01 77 FF FF FF FF 97 FF FF FF FF 81 02 C0"},
        {"sum of items too long", "A1 01 75 08 96 00 20 81 02 81 02 81 02 81 02 91 02 C0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto d = Hex(c.hex);
        EXPECT_FALSE(Parse(d).has_value());
        const auto layout = UsableReportLayout(d);
        EXPECT_EQ(layout.OutputReportByteLength, 65);
        EXPECT_EQ(layout.InputReportByteLength, 65);
    }
    EXPECT_FALSE(ParseReportDescriptor(nullptr, 10).has_value());
    EXPECT_EQ(UsableReportLayout(std::nullopt).OutputReportByteLength, 65);
}

TEST(ReportDescriptor, LongestAcceptedReport) {
    // 16383 data bytes + ID byte is the limit; one more byte is refused.
    const auto at = Parse(Hex("A1 01 85 01 75 08 96 FF 3F 81 02 C0"));
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(at->InputReportByteLength, kMaxReportByteLength);
    EXPECT_FALSE(Parse(Hex("A1 01 85 01 75 08 96 00 40 81 02 C0")).has_value());
}

}  // namespace
}  // namespace karvo
