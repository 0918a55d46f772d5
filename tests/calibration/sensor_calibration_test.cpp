#include "calibration/sensor_calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/entry_check.h"
#include "support/fake_link_view.h"

namespace karvo {
namespace {

using test::FakeLinkView;
using test::RecordingDevice;
using Wizard = SensorCalibrationWizard;

const NumberLocale kPoint{".", ","};
const NumberLocale kComma{",", " "};

class SensorCalibrationTest : public ::testing::Test {
  protected:
    SensorCalibrationTest() : link(view, strings), wizard(link) {
        link.Bind(&dev);
        link.State().Connected = true;
    }
    void Signal(float s) { link.State().Measurement.CalibSignal = s; }
    // Steps 1 and 2 with the given signals.
    Wizard::Step2Outcome Calibrate(float zero, float loaded, float weight, bool kg,
                                   const NumberLocale& loc = kPoint) {
        wizard.FormShow();
        Signal(zero);
        wizard.Btn_Calib_Step1Click();
        Signal(loaded);
        return wizard.Btn_Calib_Step2Click(weight, kg, loc);
    }

    FakeLinkView view;
    StringTable strings;
    RecordingDevice dev;
    DeviceLink link;
    Wizard wizard;
};

TEST_F(SensorCalibrationTest, ReferenceLoadGivesTheConstant) {
    struct Case {
        float zero, loaded, weight;
        bool kg;
        const char* shown;
        bool accepted;
    };
    const Case cases[] = {
        {1.0f, 20.62f, 1.0f, true, "1.9999", true},    // 1 kg = 9.8105 N
        {1.0f, 20.62f, 9.81f, false, "2.0000", true},  // newtons taken as they are
        {20.62f, 1.0f, 1.0f, true, "1.9999", true},    // signal falling below the zero
        {0.0f, 1.0f, 2.0f, false, "0.5000", false},    // exactly 0.5 is refused
        {0.0f, 20.0f, 2.0f, false, "10.0000", false},  // exactly 10.0 is refused
        {0.0f, 1.002f, 2.0f, false, "0.5010", true},  {0.0f, 19.99f, 2.0f, false, "9.9950", true},
        {5.0f, 5.0f, 1.0f, true, "0.0000", false},  // no change at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const auto out = Calibrate(c.zero, c.loaded, c.weight, c.kg);
        EXPECT_TRUE(out.entryAccepted);
        ASSERT_TRUE(out.senseText.has_value());
        EXPECT_EQ(*out.senseText, c.shown);
        EXPECT_EQ(out.senseAccepted, c.accepted);
        EXPECT_TRUE(wizard.Visible().step3);
        EXPECT_EQ(wizard.Visible().ready, c.accepted);
        if (c.accepted) {
            EXPECT_FALSE(out.message.has_value());
        } else {
            ASSERT_TRUE(out.message.has_value());
            EXPECT_EQ(out.message->text,
                      "Otrzymana wartość stałej czujnika po kalibracji jest niepoprawna. Sprawdź "
                      "czy w ustawieniach wprowadzona jest poprawna wartość zakresu czujnika (w "
                      "N).");
            EXPECT_EQ(out.message->caption, " Uwaga");
            EXPECT_EQ(out.message->flags, 64);
        }
    }
}

TEST_F(SensorCalibrationTest, KilogramsUseTheAmplifiersConstantAndTheSystemSeparator) {
    const auto out = Calibrate(1.0f, 20.62f, 1.0f, true, kComma);
    EXPECT_EQ(wizard.CalibZero(), 1.0f);
    EXPECT_EQ(wizard.CalibForceN(), 9.8105f);  // not 9.80665
    EXPECT_NEAR(wizard.CalibSense(), 1.99989, 1e-5);
    EXPECT_EQ(out.senseText.value_or(""), "1,9999");
    EXPECT_TRUE(wizard.Visible().ready);
}

TEST_F(SensorCalibrationTest, StepsShowTheirControlsAndResetKeepsTheValues) {
    wizard.FormShow();
    EXPECT_FALSE(wizard.Visible().step2);
    Signal(3.0f);
    wizard.Btn_Calib_Step1Click();
    EXPECT_TRUE(wizard.Visible().step2);
    EXPECT_FALSE(wizard.Visible().step3);
    EXPECT_EQ(wizard.CalibZero(), 3.0f);

    // Step 2 again recomputes from the newest signal and keeps the zero.
    Signal(13.0f);
    EXPECT_EQ(wizard.Btn_Calib_Step2Click(5.0f, false, kPoint).senseText.value_or(""), "2.0000");
    Signal(23.0f);
    EXPECT_EQ(wizard.Btn_Calib_Step2Click(5.0f, false, kPoint).senseText.value_or(""), "4.0000");
    EXPECT_EQ(wizard.CalibZero(), 3.0f);

    // Step 1 again takes a new zero.
    Signal(13.0f);
    wizard.Btn_Calib_Step1Click();
    EXPECT_EQ(wizard.CalibZero(), 13.0f);

    wizard.Btn_Calib_ResetClick();
    EXPECT_FALSE(wizard.Visible().step2);
    EXPECT_FALSE(wizard.Visible().step3);
    EXPECT_FALSE(wizard.Visible().ready);
    EXPECT_EQ(wizard.CalibZero(), 13.0f);
    EXPECT_EQ(wizard.CalibSense(), 4.0f);
    EXPECT_TRUE(dev.writes.empty());  // the steps send nothing
}

TEST_F(SensorCalibrationTest, RefusedStep2HidesGotowe) {
    Calibrate(1.0f, 20.62f, 1.0f, true);
    ASSERT_TRUE(wizard.Visible().ready);
    const float sense = wizard.CalibSense();

    // A refused entry: step 3 stays, nothing is computed, the earlier constant is withdrawn.
    const auto refused = wizard.Btn_Calib_Step2Click(std::nullopt, true, kPoint);
    EXPECT_FALSE(refused.entryAccepted);
    EXPECT_FALSE(refused.senseText.has_value());
    ASSERT_TRUE(refused.message.has_value());
    EXPECT_EQ(refused.message->text, "Błędna wartość");
    EXPECT_EQ(refused.message->caption, " Info");
    EXPECT_EQ(refused.message->flags, 64);
    EXPECT_TRUE(wizard.Visible().step3);
    EXPECT_FALSE(wizard.Visible().ready);
    EXPECT_EQ(wizard.CalibSense(), sense);
    EXPECT_EQ(wizard.CalibForceN(), 9.8105f);

    // Accepted again, then a refused constant.
    wizard.Btn_Calib_Step2Click(1.0f, true, kPoint);
    ASSERT_TRUE(wizard.Visible().ready);
    Signal(1.0f);
    EXPECT_FALSE(wizard.Btn_Calib_Step2Click(1.0f, true, kPoint).senseAccepted);
    EXPECT_FALSE(wizard.Visible().ready);
}

TEST_F(SensorCalibrationTest, SignalThatIsNotANumberIsRefused) {
    const auto out = Calibrate(1.0f, std::numeric_limits<float>::quiet_NaN(), 1.0f, true);
    EXPECT_FALSE(out.senseAccepted);
    EXPECT_TRUE(out.message.has_value());
    EXPECT_FALSE(wizard.Visible().ready);
}

TEST(SensorCalibrationEntry, ReferenceWeightBounds) {
    struct Case {
        const char* text;
        bool ok;
        const char* shown;
    };
    const Case cases[] = {
        {"0.01", true, "0.01"},           {"0.009", false, "0.01"}, {"1000000", true, "1000000.00"},
        {"1000001", false, "1000001.00"}, {"1,5", true, "1.50"},    {"abc", false, "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto r = CheckFloatEntry(c.text, Wizard::kWeightDecimals, Wizard::kWeightMax,
                                       Wizard::kWeightMin, kPoint);
        EXPECT_EQ(r.ok, c.ok);
        EXPECT_EQ(r.text.value_or(c.text), c.shown);
    }
}

TEST_F(SensorCalibrationTest, TimerRequestsMeasurementsOnlyWhileVisible) {
    link.State().Measurement.LoadN = 12.3456f;
    EXPECT_FALSE(wizard.Timer1Timer(false, kPoint).has_value());
    EXPECT_TRUE(dev.writes.empty());

    EXPECT_EQ(wizard.Timer1Timer(true, kComma).value_or(""), "12,35");
    ASSERT_EQ(dev.writes.size(), 1u);
    EXPECT_EQ(dev.Codes(), std::vector<int>{CmdReadMeasurement});
    EXPECT_EQ(dev.writes[0].size(), 65u);

    // Without an amplifier the request goes nowhere and the last load stays shown.
    link.State().Connected = false;
    EXPECT_EQ(wizard.Timer1Timer(true, kPoint).value_or(""), "12.35");
    EXPECT_EQ(dev.writes.size(), 1u);
}

}  // namespace
}  // namespace karvo
