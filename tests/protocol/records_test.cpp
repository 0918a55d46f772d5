#include "protocol/records.h"

#include <gtest/gtest.h>

#include <cstring>

#include "protocol/commands.h"
#include "support/hex.h"

namespace karvo {
namespace {

using test::Hex;
using test::HexPadded;

TEST(Records, SettingsDecodeAtOffsets) {
    // TSense 2.0, TRange 1000, TOffset -1.5, TRate 5, TFilter 128, TUnits 3, TSign 0xFF,
    // AnalogMin 0, AnalogMax 100, factors 1.0, AnalogMode 1, AnalogAbs 1, baud 115200,
    // parity 2, address 247.
    const auto b = Hex(
        "00 00 00 40  E8 03 00 00  00 00 C0 BF  05 00  80 00  03  FF"
        "00 00 00 00  00 00 C8 42  00 00 80 3F  00 00 80 3F  01  01"
        "00 C2 01 00  02  F7");
    ASSERT_EQ(b.size(), TDeviceSettingsRecord::kSize);
    const auto r = TDeviceSettingsRecord::Decode(b.data());
    EXPECT_FLOAT_EQ(r.TSense, 2.0f);
    EXPECT_EQ(r.TRange, 1000u);
    EXPECT_FLOAT_EQ(r.TOffset, -1.5f);
    EXPECT_EQ(r.TRate, 5);
    EXPECT_EQ(r.TFilter, 128);  // the length itself, not an index
    EXPECT_EQ(r.TUnits, 3);
    EXPECT_EQ(r.TSign, -1);  // 0xFF is signed
    EXPECT_FLOAT_EQ(r.AnalogMax, 100.0f);
    EXPECT_EQ(r.AnalogMode, 1);
    EXPECT_EQ(r.AnalogAbs, 1);
    EXPECT_EQ(r.ModbusBaud, 115200u);
    EXPECT_EQ(r.ModbusParity, 2);
    EXPECT_EQ(r.ModbusAddress, 247);

    std::uint8_t back[TDeviceSettingsRecord::kSize];
    r.Encode(back);
    EXPECT_EQ(0, std::memcmp(back, b.data(), sizeof back));
}

TEST(Records, InfoTextFieldsStopAtZeroAndNeverPassTwelveBytes) {
    // FirmwareVersion 1.03, name "KARVO", detail of 12 non-zero bytes.
    auto b = HexPadded("0A D7 83 3F 00 4B 41 52 56 4F", TDeviceInfoRecord::kSize);
    std::memcpy(&b[17], "ABCDEFGHIJKL", 12);
    const auto r = TDeviceInfoRecord::Decode(b.data());
    EXPECT_FLOAT_EQ(r.FirmwareVersion, 1.03f);
    EXPECT_EQ(r.Name(), "KARVO");
    EXPECT_EQ(r.Detail(), "ABCDEFGHIJKL");

    std::memcpy(&b[5], "KARVOKARVOKA", 12);
    EXPECT_EQ(TDeviceInfoRecord::Decode(b.data()).Name(), "KARVOKARVOKA");
}

TEST(Records, MeasurementDecodeAtOffsets) {
    TMeasurementRecord m;
    m.AdcRaw = -2;
    m.LoadN = 12.5f;
    m.Value = -3.25f;
    m.MinValue = -4.0f;
    m.MaxValue = 8.0f;
    m.AnalogOutput = 4.0f;
    m.StatusFlags = 0x05;
    m.SignalmV = 0.5f;
    m.CalibSignal = 2.0f;
    std::uint8_t b[TMeasurementRecord::kSize] = {};
    m.Encode(b);
    EXPECT_EQ(b[0], 0xFE);
    EXPECT_EQ(b[1], 0xFF);
    EXPECT_EQ(b[26], 0x05);
    EXPECT_EQ(LoadFloat(b + 27), 0.5f);
    const auto r = TMeasurementRecord::Decode(b);
    EXPECT_EQ(r.AdcRaw, -2);
    EXPECT_EQ(r.Value, -3.25f);
    EXPECT_EQ(r.CalibSignal, 2.0f);
}

TEST(Records, ZeroBeforeAnyReply) {
    EXPECT_EQ(TDeviceInfoRecord{}.FirmwareVersion, 0.0f);
    EXPECT_EQ(TDeviceSettingsRecord{}.TRange, 0u);
}

TEST(Frames, LongCommands) {
    struct Case {
        const char* what;
        LongCommand frame;
        const char* prefix;
    };
    const Case cases[] = {
        {"168 9V no test", AnalogForceFrame(false, false), "A8 00 00 00 00 10 41"},
        {"168 18mA test", AnalogForceFrame(true, true), "A8 01 01 00 00 90 41"},
        {"170 9.876 V", AnalogCalibrateFrame(false, 9.876f), "AA 00 19 04 1E 41"},
        {"170 9.8765 mA", AnalogCalibrateFrame(true, 9.8765f), "AA 01 25 06 1E 41"},
    };
    for (const auto& c : cases) {
        const auto want = HexPadded(c.prefix, kLongCommandSize);
        EXPECT_EQ(std::vector<std::uint8_t>(c.frame.begin(), c.frame.end()), want) << c.what;
    }
}

TEST(Frames, WriteSettingsCarriesTheRecordAtOffsetPlusOne) {
    TDeviceSettingsRecord s;
    s.TSense = 2.0f;
    s.TFilter = 128;
    s.TSign = -1;
    s.AnalogFactor1 = 1.0f;
    s.AnalogFactor2 = 1.0f;
    s.ModbusAddress = 7;
    const auto f = WriteSettingsFrame(s);
    EXPECT_EQ(f[0], CmdWriteSettings);
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 1, f.begin() + 5), Hex("00 00 00 40"));
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 15, f.begin() + 17), Hex("80 00"));
    EXPECT_EQ(f[18], 0xFF);
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 27, f.begin() + 35),
              Hex("00 00 80 3F 00 00 80 3F"));
    EXPECT_EQ(f[42], 7);
    for (std::size_t i = 43; i < f.size(); ++i) EXPECT_EQ(f[i], 0) << i;
}

}  // namespace
}  // namespace karvo
