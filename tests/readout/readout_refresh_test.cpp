#include "readout/readout_refresh.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace karvo {
namespace {

using Face = IndicatorFace;
const Face kOkGreen{"OK", colour::LightGreen};
const Face kErrorGreen{"ERROR", colour::LightGreen};
const Face kErrorRed{"ERROR", colour::LightRed};

class ReadoutRefreshTest : public ::testing::Test {
  protected:
    ReadoutRefreshTest() {
        state.Connected = true;
        state.Settings.TRange = 1000;
        state.Settings.AnalogMode = 0;
        shared.UnitSuffix = " kg";
        shared.OutputUnitSuffix = " V";
        shared.Decimals = 2;
    }
    ReadoutFrame Frame(std::int32_t tick = 1) {
        return ComputeReadoutFrame(tick, state, shared, locale);
    }

    LinkState state;
    SharedDisplayState shared;
    NumberLocale locale{".", ","};
};

TEST_F(ReadoutRefreshTest, NotConnectedShowsDashesAndTouchesNothingElse) {
    state.Connected = false;
    state.MeasurementStatusPending = true;
    state.Measurement.StatusFlags = 0x07;
    const ReadoutFrame f = Frame();
    EXPECT_EQ(f.value, "----------");
    EXPECT_EQ(f.minimum, "--------");
    EXPECT_EQ(f.maximum, "--------");
    EXPECT_EQ(f.analogText, "--------");
    EXPECT_EQ(f.gauge100, 0);
    EXPECT_EQ(f.gauge150, 0);
    EXPECT_EQ(f.gauge200, 0);
    EXPECT_FALSE(f.statusLine || f.tareInput || f.sensor || f.converter || f.raw || f.valueColour ||
                 f.load || f.analogGauge || f.bigValue || f.bigMinimum || f.bigMaximum);
    EXPECT_TRUE(state.MeasurementStatusPending);
}

TEST_F(ReadoutRefreshTest, PendingMeasurementStatusIsShownOnce) {
    state.MeasurementStatusPending = true;
    EXPECT_EQ(Frame().statusLine, "Odczyt pomiarów z urządzenia");
    EXPECT_FALSE(state.MeasurementStatusPending);
    EXPECT_FALSE(Frame().statusLine);
}

struct LoadCase {
    float loadN;
    std::uint32_t range;
    const char* text;
    int g100, g150, g200;
    std::uint32_t colour;
};

class LoadGauges : public ReadoutRefreshTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadGauges, TextGaugesAndValueColour) {
    const LoadCase& c = GetParam();
    state.Settings.TRange = c.range;
    state.Measurement.LoadN = c.loadN;
    const ReadoutFrame f = Frame();
    EXPECT_EQ(f.load, c.text);
    EXPECT_EQ(f.gauge100, c.g100);
    EXPECT_EQ(f.gauge150, c.g150);
    EXPECT_EQ(f.gauge200, c.g200);
    EXPECT_EQ(f.valueColour, c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Percentages, LoadGauges,
    ::testing::Values(LoadCase{500, 1000, "50%", 50, 0, 0, colour::Green},
                      LoadCase{1000, 1000, "100%", 100, 0, 0, colour::Green},
                      LoadCase{1010, 1000, "101%", 100, 1, 0, readout::kValueBlack},
                      LoadCase{1500, 1000, "150%", 100, 50, 0, readout::kValueBlack},
                      LoadCase{1510, 1000, "151%", 100, 50, 1, colour::Red},
                      LoadCase{2500, 1000, "250%", 100, 50, 50, colour::Red},
                      LoadCase{-1234.5f, 1000, "123%", 100, 23, 0, readout::kValueBlack},
                      LoadCase{-1007, 1000, "100%", 100, 0, 0, colour::Green},  // -100.7
                      LoadCase{999, 1000, "99%", 99, 0, 0, colour::Green},      // 99.9
                      // Far beyond a 32-bit percentage: clamped, either sign.
                      LoadCase{3e38f, 1, "2147483647%", 100, 50, 50, colour::Red},
                      LoadCase{-3e38f, 1, "2147483647%", 100, 50, 50, colour::Red},
                      LoadCase{1, 4294967295u, "0%", 0, 0, 0, colour::Green}));

TEST_F(ReadoutRefreshTest, ZeroRangeLeavesTheLoadDisplayAndColoursGreen) {
    state.Settings.TRange = 0;
    state.Measurement.LoadN = 5000;
    const ReadoutFrame f = Frame();
    EXPECT_FALSE(f.load || f.gauge100 || f.gauge150 || f.gauge200);
    EXPECT_EQ(f.valueColour, colour::Green);
    EXPECT_TRUE(f.value);
}

TEST_F(ReadoutRefreshTest, ValueMinMaxWithDecimalsAndUnit) {
    state.Measurement.Value = 12.3456f;
    state.Measurement.MinValue = -1234.5f;
    state.Measurement.MaxValue = 98765.4321f;
    const ReadoutFrame f = Frame();
    EXPECT_EQ(f.value, "12.35 kg");
    EXPECT_EQ(f.minimum, "-1,234.50");
    EXPECT_EQ(f.maximum, "98,765.43");
    EXPECT_EQ(f.bigValue, f.value);
    EXPECT_EQ(f.bigMinimum, f.minimum);
    EXPECT_EQ(f.bigMaximum, f.maximum);

    shared.Decimals = 0;
    shared.UnitSuffix = "";
    EXPECT_EQ(Frame().value, "12");
}

TEST_F(ReadoutRefreshTest, RawLabel) {
    state.Measurement.AdcRaw = -32768;
    state.Measurement.SignalmV = -12.3456f;
    EXPECT_EQ(Frame().raw, "RAW: -32768 (-12.346 mV)");
    state.Measurement.AdcRaw = -1234;
    state.Measurement.SignalmV = 0.5f;
    EXPECT_EQ(Frame().raw, "RAW: -1234 (0.500 mV)");
    locale = {",", "\u00A0"};
    EXPECT_EQ(Frame().raw, "RAW: -1234 (0,500 mV)");
}

TEST_F(ReadoutRefreshTest, TareInputIndicator) {
    EXPECT_EQ(Frame().tareInput, (Face{"OFF", colour::LightRed}));
    state.Measurement.StatusFlags = TMeasurementRecord::kTareInput;
    EXPECT_EQ(Frame().tareInput, (Face{"ON", colour::LightGreen}));
}

// Runs ticks `from`..`to` through a ReadoutRefresh and keeps what the box would show.
struct BlinkingBox {
    ReadoutRefresh refresh;
    std::optional<Face> sensor, converter;
    void RunTo(std::int32_t to, LinkState& state, const SharedDisplayState& shared) {
        while (refresh.RefreshTick() < to) {
            const ReadoutFrame f = refresh.Tick(state, shared, NumberLocale{});
            if (f.sensor) sensor = f.sensor;
            if (f.converter) converter = f.converter;
        }
    }
};

TEST_F(ReadoutRefreshTest, ErrorsBlinkFromTheNextMultipleOfTen) {
    BlinkingBox box;
    box.RunTo(22, state, shared);
    EXPECT_EQ(box.sensor, kOkGreen);
    EXPECT_EQ(box.converter, kOkGreen);

    state.Measurement.StatusFlags =
        TMeasurementRecord::kSensorError | TMeasurementRecord::kConverterError;
    box.RunTo(29, state, shared);
    EXPECT_EQ(box.sensor, kOkGreen);  // unchanged until tick 30
    EXPECT_EQ(box.converter, kOkGreen);
    const std::pair<int, Face> expected[] = {{30, kErrorGreen}, {39, kErrorGreen}, {40, kErrorRed},
                                             {49, kErrorRed},   {50, kErrorGreen}, {60, kErrorRed}};
    for (const auto& [tick, face] : expected) {
        box.RunTo(tick, state, shared);
        EXPECT_EQ(box.sensor, face) << "tick " << tick;
        EXPECT_EQ(box.converter, face) << "tick " << tick;
    }
}

TEST_F(ReadoutRefreshTest, ClearedErrorShowsOkAtOnce) {
    state.Measurement.StatusFlags = TMeasurementRecord::kSensorError;
    EXPECT_EQ(Frame(40).sensor, kErrorRed);
    EXPECT_FALSE(Frame(43).sensor);
    state.Measurement.StatusFlags = 0;
    EXPECT_EQ(Frame(44).sensor, kOkGreen);
}

TEST_F(ReadoutRefreshTest, ConverterErrorFaceKeepsTheAnalogOutput) {
    state.Measurement.StatusFlags = TMeasurementRecord::kConverterError;
    state.Measurement.AnalogOutput = 5.0f;
    state.Measurement.LoadN = 700;
    state.Measurement.AdcRaw = 12;
    const ReadoutFrame f = Frame(3);
    EXPECT_EQ(f.value, "ERROR");
    EXPECT_EQ(f.valueColour, colour::Red);
    EXPECT_EQ(f.load, "--");
    EXPECT_EQ(f.gauge100, 0);
    EXPECT_EQ(f.gauge150, 0);
    EXPECT_EQ(f.gauge200, 0);
    EXPECT_EQ(f.analogGauge, 500);
    EXPECT_EQ(f.analogText, "5.00 V");
    EXPECT_EQ(f.bigValue, "ERROR");
    EXPECT_FALSE(f.bigMinimum || f.bigMaximum || f.minimum || f.maximum);
    EXPECT_EQ(f.raw, "RAW: 12 (0.000 mV)");

    state.Measurement.AnalogOutput = 100.0f;  // out of range: the error face's zeros stay
    const ReadoutFrame g = Frame(3);
    EXPECT_EQ(g.analogText, "0");
    EXPECT_EQ(g.analogGauge, 0);
}

struct AnalogCase {
    float output;
    std::uint8_t mode;
    const char* suffix;
    std::optional<int> gauge;
    const char* text;
};

class AnalogOutput : public ReadoutRefreshTest, public ::testing::WithParamInterface<AnalogCase> {};

TEST_P(AnalogOutput, GaugeAndText) {
    const AnalogCase& c = GetParam();
    state.Measurement.AnalogOutput = c.output;
    state.Settings.AnalogMode = c.mode;
    shared.OutputUnitSuffix = c.suffix;
    const ReadoutFrame f = Frame();
    EXPECT_EQ(f.analogGauge, c.gauge);
    EXPECT_EQ(f.analogText, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, AnalogOutput,
    ::testing::Values(
        AnalogCase{10.0f, 0, " V", 1000, "10.00 V"}, AnalogCase{20.0f, 1, " mA", 1000, "20.00 mA"},
        AnalogCase{4.0f, 1, " mA", 200, "4.00 mA"},
        AnalogCase{5.0f, 7, " mA", 250, "5.00 mA"},  // any mode but 0 is current
        AnalogCase{12.345f, 0, " V", 1000, "12.30 V"}, AnalogCase{0.0f, 0, "", 0, "0.00"},
        AnalogCase{100.0f, 0, " V", std::nullopt, "0"},
        AnalogCase{-0.01f, 0, " V", std::nullopt, "0"},
        AnalogCase{std::numeric_limits<float>::quiet_NaN(), 0, " V", std::nullopt, "0"},
        AnalogCase{std::numeric_limits<float>::infinity(), 1, " mA", std::nullopt, "0"}));

TEST_F(ReadoutRefreshTest, NonFiniteLoadEndsTheTickAfterTheRawLabel) {
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::infinity()}) {
        state.Measurement.LoadN = bad;
        state.Measurement.AnalogOutput = 5.0f;
        const ReadoutFrame f = Frame();
        EXPECT_TRUE(f.tareInput && f.sensor && f.converter && f.raw);
        EXPECT_FALSE(f.load || f.gauge100 || f.value || f.minimum || f.valueColour || f.bigValue ||
                     f.analogText || f.analogGauge);
    }
}

TEST_F(ReadoutRefreshTest, NonFiniteValuesAreShownAsText) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    state.Measurement.Value = nan;
    state.Measurement.MinValue = -inf;
    state.Measurement.MaxValue = inf;
    state.Measurement.SignalmV = nan;
    const ReadoutFrame f = Frame();
    EXPECT_EQ(f.value, "NAN kg");
    EXPECT_EQ(f.minimum, "-INF");
    EXPECT_EQ(f.maximum, "INF");
    EXPECT_EQ(f.raw, "RAW: 0 (NAN mV)");
    EXPECT_EQ(f.analogText, "0.00 V");
}

TEST(ReadoutRefreshCounter, CountsEveryTickAlsoWhileNotConnected) {
    ReadoutRefresh refresh;
    LinkState state;  // not connected: the tick still counts
    SharedDisplayState shared;
    refresh.Tick(state, shared, {});
    refresh.Tick(state, shared, {});
    EXPECT_EQ(refresh.RefreshTick(), 2);
}

}  // namespace
}  // namespace karvo
