#include "sim/amplifier_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "protocol/commands.h"

namespace karvo {
namespace {

using namespace std::chrono_literals;
using Time = AmplifierModel::Time;

class AmplifierModelTest : public ::testing::Test {
  protected:
    void Send(std::uint8_t code, Time now = Time{}) {
        const std::uint8_t report[65] = {1, code};
        model.Receive(report, sizeof report, now);
    }
    void SendLong(const LongCommand& command, Time now = Time{}, std::size_t length = 65) {
        std::uint8_t report[65] = {1};
        std::memcpy(report + 1, command.data(), command.size());
        model.Receive(report, length, now);
    }
    // Writes `s` and returns the WriteStatus of the reply.
    int Write(const TDeviceSettingsRecord& s) {
        SendLong(WriteSettingsFrame(s));
        auto r = model.NextReport(Time{});
        EXPECT_TRUE(r.has_value());
        if (!r) return -1;
        EXPECT_EQ((*r)[1], CmdWriteSettings);
        return (*r)[2];
    }
    // Settings as a test wants them: no averaging, the sensor's real constant.
    void UseExactSettings(std::uint8_t units = 0) {
        TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
        s.TFilter = 0;
        s.TSense = static_cast<float>(AmplifierModel::kSensorConstant);
        s.TUnits = units;
        ASSERT_EQ(Write(s), 0);
    }
    TMeasurementRecord Measure() {
        Send(CmdReadMeasurement);
        auto r = model.NextReport(Time{});
        EXPECT_TRUE(r.has_value());
        EXPECT_EQ((*r)[1], CmdReadMeasurement);
        return TMeasurementRecord::Decode(r->data() + 2);
    }

    AmplifierModel model;
};

TEST_F(AmplifierModelTest, Identifies) {
    Send(CmdReadInfo);
    auto r = model.NextReport(Time{});
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ((*r)[0], 1);
    EXPECT_EQ((*r)[1], CmdReadInfo);
    const auto info = TDeviceInfoRecord::Decode(r->data() + 2);
    EXPECT_EQ(info.FirmwareVersion, 1.04f);
    EXPECT_EQ(info.Name(), "KARVO");
    EXPECT_EQ(info.Detail(), "SYMULATOR");
    EXPECT_FALSE(model.NextReport(Time{}).has_value());
}

TEST_F(AmplifierModelTest, FactorySettingsAreWithinTheirRanges) {
    const auto factory = AmplifierModel::FactorySettings();
    EXPECT_EQ(AmplifierModel::WriteStatusFor(factory), 0);
    EXPECT_EQ(factory.AnalogFactor1, 1.0f);
    Send(CmdReadSettings);
    auto r = model.NextReport(Time{});
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ((*r)[1], CmdReadSettings);
    EXPECT_EQ(TDeviceSettingsRecord::Decode(r->data() + 2), factory);
}

TEST_F(AmplifierModelTest, WriteStoresValidSettingsAndFactoryRestoresThem) {
    TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
    s.TSense = 0.1f;
    s.TRange = 100000000;
    s.TOffset = -99999.0f;
    s.TRate = 5;
    s.TFilter = 256;
    s.TUnits = 5;
    s.TSign = -1;
    s.AnalogMin = -999999.0f;
    s.AnalogMax = 999999.0f;
    s.AnalogMode = 1;
    s.AnalogAbs = 1;
    s.ModbusBaud = 115200;
    s.ModbusParity = 0;
    s.ModbusAddress = 247;
    EXPECT_EQ(Write(s), 0);
    EXPECT_EQ(model.Settings(), s);

    Send(CmdRestoreFactory);
    auto r = model.NextReport(Time{});
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ((*r)[1], CmdRestoreFactory);
    EXPECT_EQ(model.Settings(), AmplifierModel::FactorySettings());
}

TEST_F(AmplifierModelTest, WriteOutsideTheRangesIsRefusedWhole) {
    struct Case {
        const char* field;
        void (*spoil)(TDeviceSettingsRecord&);
    } cases[] = {
        {"TSense low", [](TDeviceSettingsRecord& s) { s.TSense = 0.09f; }},
        {"TSense high", [](TDeviceSettingsRecord& s) { s.TSense = 1.5e8f; }},
        {"TSense NaN", [](TDeviceSettingsRecord& s) { s.TSense = std::nanf(""); }},
        {"TRange 0", [](TDeviceSettingsRecord& s) { s.TRange = 0; }},
        {"TRange high", [](TDeviceSettingsRecord& s) { s.TRange = 100000001; }},
        {"TOffset", [](TDeviceSettingsRecord& s) { s.TOffset = 100000.0f; }},
        {"TRate", [](TDeviceSettingsRecord& s) { s.TRate = 6; }},
        {"TFilter", [](TDeviceSettingsRecord& s) { s.TFilter = 16; }},
        {"TUnits", [](TDeviceSettingsRecord& s) { s.TUnits = 6; }},
        {"TSign", [](TDeviceSettingsRecord& s) { s.TSign = 0; }},
        {"AnalogMin", [](TDeviceSettingsRecord& s) { s.AnalogMin = -1000000.0f; }},
        {"AnalogMax", [](TDeviceSettingsRecord& s) { s.AnalogMax = 1000000.0f; }},
        {"AnalogMode", [](TDeviceSettingsRecord& s) { s.AnalogMode = 2; }},
        {"AnalogAbs", [](TDeviceSettingsRecord& s) { s.AnalogAbs = 2; }},
        {"ModbusBaud", [](TDeviceSettingsRecord& s) { s.ModbusBaud = 14400; }},
        {"ModbusParity", [](TDeviceSettingsRecord& s) { s.ModbusParity = 3; }},
        {"ModbusAddress 0", [](TDeviceSettingsRecord& s) { s.ModbusAddress = 0; }},
        {"ModbusAddress 248", [](TDeviceSettingsRecord& s) { s.ModbusAddress = 248; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
        s.TRange = 2000;  // a valid change beside the wrong one
        c.spoil(s);
        EXPECT_NE(Write(s), 0);
        EXPECT_EQ(model.Settings(), AmplifierModel::FactorySettings());
    }
    // A report cut before the record reads the missing bytes as zero: refused too.
    SendLong(WriteSettingsFrame(AmplifierModel::FactorySettings()), Time{}, 9);
    auto r = model.NextReport(Time{});
    ASSERT_TRUE(r.has_value());
    EXPECT_NE((*r)[2], 0);
}

TEST_F(AmplifierModelTest, StreamsAtTheRateOfTRate) {
    const int rates[] = {4, 10, 33, 50, 62, 123};
    for (std::uint16_t index = 0; index < 6; ++index) {
        SCOPED_TRACE(index);
        TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
        s.TRate = index;
        ASSERT_EQ(Write(s), 0);
        const Time start = 10s * (index + 1);
        Send(CmdStartMeasurements, start);
        int count = 0;
        for (Time t = start; t < start + 1s; t += 1ms) {
            while (auto r = model.NextReport(t)) {
                EXPECT_EQ((*r)[1], CmdReadMeasurement);
                ++count;
            }
        }
        EXPECT_EQ(count, rates[index]);
        Send(CmdReadSettings, start + 1s);  // ends the stream
        ASSERT_TRUE(model.NextReport(start + 1s).has_value());
        EXPECT_FALSE(model.NextReport(start + 5s).has_value());
        EXPECT_FALSE(model.NextReportTime(start + 5s).has_value());
    }
}

TEST_F(AmplifierModelTest, StreamSchedule) {
    Send(CmdStartMeasurements, 1s);  // 10 per second
    EXPECT_EQ(model.NextReportTime(1s), Time(1s));
    EXPECT_TRUE(model.NextReport(1s).has_value());
    EXPECT_EQ(model.NextReportTime(1s), Time(1100ms));
    EXPECT_FALSE(model.NextReport(1099ms).has_value());
    // Replies go before the stream.
    Send(CmdTare, 1100ms);
    EXPECT_EQ(model.NextReportTime(1050ms), Time(1050ms));
    EXPECT_EQ((*model.NextReport(1100ms))[1], CmdTare);
    EXPECT_EQ((*model.NextReport(1100ms))[1], CmdReadMeasurement);
    // A reader far behind gets one report, then the stream from then on.
    EXPECT_TRUE(model.NextReport(5s).has_value());
    EXPECT_FALSE(model.NextReport(5s).has_value());
    EXPECT_EQ(model.NextReportTime(5s), Time(5100ms));
}

TEST_F(AmplifierModelTest, ValueInTheSelectedUnit) {
    const double force = 1000.0;
    const double kg = force / 9.8105;
    struct Case {
        std::uint8_t units;
        double value;
    } cases[] = {{0, 1000.0}, {1, 1.0},         {2, kg * 1000.0},
                 {3, kg},     {4, kg / 1000.0}, {5, kg / 0.45359237}};
    model.SetAppliedForce(force);
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.units));
        UseExactSettings(c.units);
        const auto m = Measure();
        EXPECT_NEAR(m.Value, c.value, std::fabs(c.value) * 1e-5);
        EXPECT_NEAR(m.LoadN, force, 1e-2);
    }
}

TEST_F(AmplifierModelTest, SignOffsetTareAndMinMax) {
    UseExactSettings();
    model.SetAppliedForce(100.0);
    EXPECT_NEAR(Measure().Value, 100.0, 1e-3);

    TDeviceSettingsRecord s = model.Settings();
    s.TSign = -1;
    s.TOffset = 5.0f;
    ASSERT_EQ(Write(s), 0);
    auto m = Measure();
    EXPECT_NEAR(m.Value, -95.0, 1e-3);
    EXPECT_NEAR(m.LoadN, -100.0, 1e-3);

    Send(CmdTare);
    EXPECT_EQ((*model.NextReport(Time{}))[1], CmdTare);
    m = Measure();
    EXPECT_NEAR(m.Value, 5.0, 1e-3);     // tared: the offset alone
    EXPECT_NEAR(m.LoadN, -100.0, 1e-3);  // the sensor's load stays

    model.SetAppliedForce(150.0);
    m = Measure();
    EXPECT_NEAR(m.Value, -45.0, 1e-3);
    EXPECT_NEAR(m.MinValue, -95.0, 1e-3);  // since the write: -95, 5, -45
    EXPECT_NEAR(m.MaxValue, 5.0, 1e-3);

    Send(CmdResetMinMax);
    EXPECT_EQ((*model.NextReport(Time{}))[1], CmdResetMinMax);
    model.SetAppliedForce(120.0);
    m = Measure();
    EXPECT_NEAR(m.MinValue, m.Value, 1e-6);
    EXPECT_NEAR(m.MaxValue, m.Value, 1e-6);
}

TEST_F(AmplifierModelTest, AveragingFilterFollowsTFilter) {
    TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
    s.TSense = static_cast<float>(AmplifierModel::kSensorConstant);
    s.TFilter = 8;
    ASSERT_EQ(Write(s), 0);
    model.SetAppliedForce(0.0);
    for (int i = 0; i < 8; ++i) Measure();
    model.SetAppliedForce(80.0);
    EXPECT_NEAR(Measure().LoadN, 10.0, 1e-3);  // one of eight samples loaded
    for (int i = 0; i < 6; ++i) Measure();
    EXPECT_NEAR(Measure().LoadN, 80.0, 1e-3);
}

TEST_F(AmplifierModelTest, AnalogOutput) {
    struct Case {
        std::uint8_t mode, abs;
        float min, max;
        double force;
        float level;
    } cases[] = {
        {0, 0, 0, 1000, 250, 2.5f},   {0, 0, 0, 1000, -250, 0.0f}, {0, 1, 0, 1000, -250, 2.5f},
        {0, 0, 0, 1000, 2000, 10.0f}, {1, 0, 0, 1000, 250, 8.0f},  {1, 0, 0, 1000, -10, 4.0f},
        {1, 0, 1000, 0, 250, 16.0f},  {0, 0, -500, 500, 0, 5.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.mode) << " " << int(c.abs) << " " << c.force);
        TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
        s.TFilter = 0;
        s.TSense = static_cast<float>(AmplifierModel::kSensorConstant);
        s.AnalogMode = c.mode;
        s.AnalogAbs = c.abs;
        s.AnalogMin = c.min;
        s.AnalogMax = c.max;
        ASSERT_EQ(Write(s), 0);
        model.SetAppliedForce(c.force);
        EXPECT_NEAR(Measure().AnalogOutput, c.level, 1e-4);
    }
    // Forced output holds its level until stopped.
    model.SetAppliedForce(0.0);
    SendLong(AnalogForceFrame(false, false));
    EXPECT_FLOAT_EQ(Measure().AnalogOutput, 9.0f);
    Send(CmdAnalogForceStop);
    EXPECT_FLOAT_EQ(Measure().AnalogOutput, 5.0f);  // back to following the value
    SendLong(AnalogCalibrateFrame(true, 17.95f));
    EXPECT_FLOAT_EQ(model.CalibratedLevel(1), 17.95f);
    EXPECT_FALSE(model.NextReport(Time{}).has_value());  // none of these is answered
}

TEST_F(AmplifierModelTest, StatusFlagsAndSignals) {
    UseExactSettings();
    model.SetAppliedForce(500.0);
    auto m = Measure();
    EXPECT_EQ(m.StatusFlags, 0);
    const double bridge = AmplifierModel::kSensorConstant * 0.5;  // mV/V at half range
    EXPECT_NEAR(m.SignalmV, bridge * AmplifierModel::kExcitationV, 1e-5);
    EXPECT_EQ(m.AdcRaw, static_cast<std::int16_t>(std::lround(bridge / 4.0 * 32767)));

    model.SetTareInput(true);
    model.SetSensorError(true);
    model.SetConverterError(true);
    m = Measure();
    EXPECT_EQ(m.StatusFlags, 0x07);
    EXPECT_NEAR(m.Value, 0.0, 1e-3);  // the tare input tared
    model.SetTareInput(false);
    model.SetSensorError(false);
    model.SetConverterError(false);
    EXPECT_EQ(Measure().StatusFlags, 0);

    model.SetAppliedForce(3000.0);  // beyond the converter's range
    m = Measure();
    EXPECT_EQ(m.StatusFlags, TMeasurementRecord::kConverterError);
    EXPECT_EQ(m.AdcRaw, 32767);
}

// The calibration wizard: |CalibSignal loaded - CalibSignal unloaded| / force in N.
double WizardConstant(float zero, float loaded, double forceN) {
    return std::fabs(static_cast<double>(loaded) - zero) / static_cast<float>(forceN);
}

TEST_F(AmplifierModelTest, CalibrationWizardFindsTheSensorsConstant) {
    UseExactSettings();
    TDeviceSettingsRecord s = model.Settings();
    s.TSense = 2.5f;  // a wrong constant entered: the wizard does not depend on it
    ASSERT_EQ(Write(s), 0);

    model.SetAppliedForce(0.0);
    const float zero = Measure().CalibSignal;
    const double forceN = 10.0 * 9.8105;  // 10 kg
    model.SetAppliedForce(forceN);
    const float loaded = Measure().CalibSignal;
    EXPECT_NEAR(WizardConstant(zero, loaded, forceN), AmplifierModel::kSensorConstant, 1e-4);

    // With a wrong sensor range entered the result is off by the same factor.
    s.TRange = 500;
    ASSERT_EQ(Write(s), 0);
    model.SetAppliedForce(0.0);
    const float zero2 = Measure().CalibSignal;
    model.SetAppliedForce(forceN);
    EXPECT_NEAR(WizardConstant(zero2, Measure().CalibSignal, forceN),
                AmplifierModel::kSensorConstant / 2, 1e-4);
}

TEST_F(AmplifierModelTest, IgnoresWhatIsNotACommand) {
    const std::uint8_t otherId[65] = {2, CmdReadInfo};
    model.Receive(otherId, sizeof otherId, Time{});
    const std::uint8_t tooShort[1] = {1};
    model.Receive(tooShort, 1, Time{});
    model.Receive(nullptr, 65, Time{});
    Send(3);
    Send(146);
    EXPECT_FALSE(model.NextReport(Time{}).has_value());
}

TEST_F(AmplifierModelTest, PowerUpKeepsTheSettingsOnly) {
    TDeviceSettingsRecord s = AmplifierModel::FactorySettings();
    s.TRange = 2500;
    ASSERT_EQ(Write(s), 0);
    Send(CmdStartMeasurements);
    Send(CmdReadInfo);
    model.PowerUp();
    EXPECT_FALSE(model.Streaming());
    EXPECT_FALSE(model.NextReport(10s).has_value());
    EXPECT_EQ(model.Settings().TRange, 2500u);
}

}  // namespace
}  // namespace karvo
