#include "calibration/analog_calibration.h"

#include <gtest/gtest.h>

#include "settings/entry_check.h"
#include "support/fake_link_view.h"
#include "support/hex.h"

namespace karvo {
namespace {

using test::FakeLinkView;
using test::HexPadded;
using test::RecordingDevice;
using Calibration = AnalogOutputCalibration;

const NumberLocale kPoint{".", ","};

class AnalogCalibrationTest : public ::testing::Test {
  protected:
    AnalogCalibrationTest() : link(view, strings), calibration(link) {
        link.Bind(&dev);
        link.State().Connected = true;
    }
    // A "Zapisz" press: the field check with the output's bounds, then the frame.
    FloatCheck Save(const std::string& text, bool current) {
        const auto b = Calibration::EntryFor(current);
        const auto r = CheckFloatEntry(text, b.decimals, b.max, b.min, kPoint);
        if (r.ok) calibration.SendMeasuredLevel(current, r.value);
        return r;
    }

    FakeLinkView view;
    StringTable strings;
    RecordingDevice dev;
    DeviceLink link;
    Calibration calibration;
};

TEST_F(AnalogCalibrationTest, ForceAndStopFrames) {
    calibration.Button1Click(false, false);
    calibration.Button1Click(true, true);
    calibration.Button2Click();
    ASSERT_EQ(dev.writes.size(), 3u);
    EXPECT_EQ(dev.writes[0], HexPadded("01 A8 00 00 00 00 10 41", 65));  // 9 V
    EXPECT_EQ(dev.writes[1], HexPadded("01 A8 01 01 00 00 90 41", 65));  // 18 mA, test
    EXPECT_EQ(dev.writes[2], HexPadded("01 A9", 65));
}

TEST_F(AnalogCalibrationTest, MeasuredLevelCarriesTheConvertedValue) {
    struct Case {
        const char* text;
        bool current;
        const char* shown;
        const char* frame;  // empty: nothing sent
    };
    const Case cases[] = {
        {"9.876", false, "9.876", "01 AA 00 19 04 1E 41"},
        {"9.8765", false, "9.877", "01 AA 00 25 06 1E 41"},  // shown rounded, sent as typed
        {"1", false, "1.000", "01 AA 00 00 00 80 3F"},
        {"15", false, "15.000", "01 AA 00 00 00 70 41"},
        {"0.5", false, "0.500", ""},
        {"15.001", false, "15.001", ""},
        {"18", true, "18.000", "01 AA 01 00 00 90 41"},  // near the forced 18 mA
        {"25", true, "25.000", "01 AA 01 00 00 C8 41"},
        {"25.001", true, "25.001", ""},
        {"0.999", true, "0.999", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        dev.writes.clear();
        const auto r = Save(c.text, c.current);
        EXPECT_EQ(r.text.value_or(c.text), c.shown);
        if (*c.frame == '\0') {
            EXPECT_FALSE(r.ok);
            EXPECT_TRUE(dev.writes.empty());
        } else {
            EXPECT_TRUE(r.ok);
            ASSERT_EQ(dev.writes.size(), 1u);
            EXPECT_EQ(dev.writes[0], HexPadded(c.frame, 65));
        }
    }
}

TEST_F(AnalogCalibrationTest, NothingReachesADisconnectedAmplifier) {
    link.State().Connected = false;
    calibration.Button1Click(false, false);
    calibration.Button2Click();
    calibration.SendMeasuredLevel(false, 9.0f);
    calibration.Btn_readFactorsClick();
    EXPECT_TRUE(dev.writes.empty());
}

}  // namespace
}  // namespace karvo
