#include "readout/readout_refresh.h"

#include <cmath>
#include <limits>

namespace karvo {

namespace readout {
const char* const kStatusReading = "Odczyt pomiarów z urządzenia";
const char* const kValueDashes = "----------";
const char* const kShortDashes = "--------";
}  // namespace readout

namespace {

int Limit(std::int64_t v, int lo, int hi) {
    return static_cast<int>(v < lo ? lo : (v > hi ? hi : v));
}

// A blinking error box: "ERROR" on green from each tick that is a multiple of 10, on red
// from each multiple of 20; in between the box keeps what it shows. No error: "OK" on green.
std::optional<IndicatorFace> ErrorIndicator(bool error, std::int32_t tick) {
    if (!error) return StatusIndicator("OK", true, "ERROR");
    if (tick % 20 == 0) return StatusIndicator("ERROR", false, "ERROR");
    if (tick % 10 == 0) return StatusIndicator("ERROR", true, "ERROR");
    return std::nullopt;
}

// Steps 5 to 11 of the tick, which end early on a load that cannot be computed.
void LiveFace(std::int32_t tick, const LinkState& state, const SharedDisplayState& shared,
              const NumberLocale& locale, ReadoutFrame& f) {
    const TMeasurementRecord& m = state.Measurement;
    const bool tare = (m.StatusFlags & TMeasurementRecord::kTareInput) != 0;
    const bool sensorError = (m.StatusFlags & TMeasurementRecord::kSensorError) != 0;
    const bool converterError = (m.StatusFlags & TMeasurementRecord::kConverterError) != 0;

    f.tareInput = StatusIndicator("ON", tare, "OFF");
    if (auto s = ErrorIndicator(sensorError, tick)) f.sensor = s;
    if (auto c = ErrorIndicator(converterError, tick)) f.converter = c;

    f.raw =
        "RAW: " + std::to_string(m.AdcRaw) + " (" + FormatFixed(m.SignalmV, 6, 3, locale) + " mV)";

    if (converterError) {
        f.valueColour = colour::Red;
        f.value = "ERROR";
        f.analogText = "0";
        f.bigValue = *f.value;
        f.gauge100 = f.gauge150 = f.gauge200 = 0;
        f.analogGauge = 0;
        f.load = "--";
    } else {
        std::int32_t loadPercent = 0;
        if (state.Settings.TRange != 0) {
            const std::optional<std::int32_t> p = LoadPercent(m.LoadN, state.Settings.TRange);
            if (!p) return;  // a load that is not a number ends the tick here
            loadPercent = *p;
            f.gauge100 = Limit(loadPercent, 0, readout::kGauge100Max);
            f.gauge150 = Limit(std::int64_t{loadPercent} - 100, 0, readout::kGauge150Max);
            f.gauge200 = Limit(std::int64_t{loadPercent} - 150, 0, readout::kGauge200Max);
            f.load = std::to_string(loadPercent) + "%";
        }
        const int decimals = shared.Decimals;
        f.value = FormatNumber(m.Value, 8, decimals, locale) + shared.UnitSuffix;
        f.minimum = FormatNumber(m.MinValue, 8, decimals, locale);
        f.maximum = FormatNumber(m.MaxValue, 8, decimals, locale);
        f.bigValue = *f.value;
        f.bigMinimum = *f.minimum;
        f.bigMaximum = *f.maximum;
        if (loadPercent <= 100) {
            f.valueColour = colour::Green;
        } else if (loadPercent <= 150) {
            f.valueColour = readout::kValueBlack;
        } else {
            f.valueColour = colour::Red;
        }
    }

    const double out = m.AnalogOutput;
    if (std::isnan(out) || out < 0 || out >= 100) {
        f.analogText = "0";
    } else {
        const double k = state.Settings.AnalogMode == 0 ? 0.1 : 0.05;
        const double position = std::trunc(std::fabs(out) * readout::kAnalogGaugeMax * k);
        f.analogGauge = position > readout::kAnalogGaugeMax ? readout::kAnalogGaugeMax
                                                            : static_cast<int>(position);
        f.analogText = FormatNumber(out, 3, 2, locale) + shared.OutputUnitSuffix;
    }
}

}  // namespace

std::optional<std::int32_t> LoadPercent(double loadN, std::uint32_t range) {
    if (range == 0 || !std::isfinite(loadN)) return std::nullopt;
    const double percent = std::fabs(std::trunc(loadN * 100.0 / static_cast<double>(range)));
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(percent > kMax ? kMax : percent);
}

ReadoutFrame ComputeReadoutFrame(std::int32_t tick, LinkState& state,
                                 const SharedDisplayState& shared, const NumberLocale& locale) {
    ReadoutFrame f;
    if (!state.Connected) {
        f.gauge100 = f.gauge150 = f.gauge200 = 0;
        f.value = readout::kValueDashes;
        f.maximum = readout::kShortDashes;
        f.minimum = readout::kShortDashes;
        f.analogText = readout::kShortDashes;
        return f;
    }
    if (state.MeasurementStatusPending) {
        f.statusLine = readout::kStatusReading;
        state.MeasurementStatusPending = false;
    }
    try {
        LiveFace(tick, state, shared, locale, f);
    } catch (...) {
        // A failure ends the tick silently; what was decided so far is still shown.
    }
    return f;
}

ReadoutFrame ReadoutRefresh::Tick(LinkState& state, const SharedDisplayState& shared,
                                  const NumberLocale& locale) {
    // The counter wraps around instead of overflowing after years of running.
    refreshTick_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(refreshTick_) + 1u);
    return ComputeReadoutFrame(refreshTick_, state, shared, locale);
}

}  // namespace karvo
