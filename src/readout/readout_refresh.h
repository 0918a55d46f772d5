// What the measurement page and the large readout window show on one DisplayData tick.
// The refresh decides; the page only copies a frame into its controls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/shared_state.h"
#include "protocol/device_link.h"
#include "readout/number_format.h"
#include "readout/status_indicator.h"

namespace karvo {

namespace readout {
// Gauge ranges and colours of the measurement page.
constexpr int kGauge100Max = 100;
constexpr int kGauge150Max = 50;
constexpr int kGauge200Max = 50;
constexpr int kAnalogGaugeMax = 1000;
constexpr std::uint32_t kGauge100Colour = 2545958;  // green
constexpr std::uint32_t kGauge150Colour = 49151;    // amber
constexpr std::uint32_t kGauge200Colour = 255;      // red
constexpr std::uint32_t kValueBlack = 0;

extern const char* const kStatusReading;  // "Odczyt pomiarów z urządzenia"
extern const char* const kValueDashes;    // ten dashes
extern const char* const kShortDashes;    // eight dashes
}  // namespace readout

// The controls one tick writes; an empty field leaves its control as it is.
struct ReadoutFrame {
    std::optional<std::string> statusLine;  // Label_Status

    std::optional<IndicatorFace> tareInput;  // Status_InTARA
    std::optional<IndicatorFace> sensor;     // Status_Tens
    std::optional<IndicatorFace> converter;  // ADStatus (on the settings page)

    std::optional<std::string> raw;  // Label_TensRaw

    std::optional<std::string> value;                 // DisplayTensVal
    std::optional<std::uint32_t> valueColour;         // text colour of DisplayTensVal
    std::optional<std::string> minimum;               // DisplayTensMin
    std::optional<std::string> maximum;               // DisplayTensMax
    std::optional<std::string> load;                  // Label_TensLoad
    std::optional<int> gauge100, gauge150, gauge200;  // Progress_TensVal_100/_150/_200

    std::optional<std::string> analogText;  // Display_VoutVal
    std::optional<int> analogGauge;         // Progress_AoutVal

    // The large readout window: LED_display, DispMin, DispMax.
    std::optional<std::string> bigValue, bigMinimum, bigMaximum;
};

// The whole percentage of the sensor range that `loadN` is, by magnitude: truncated toward
// zero, clamped to the 32-bit range. Empty when it cannot be computed (`range` 0, or a load
// that is not a finite number).
std::optional<std::int32_t> LoadPercent(double loadN, std::uint32_t range);

// The tick `tick` (already counted) for the given link state. Clears
// `state.MeasurementStatusPending` when it asks for the status line.
ReadoutFrame ComputeReadoutFrame(std::int32_t tick, LinkState& state,
                                 const SharedDisplayState& shared, const NumberLocale& locale);

// DisplayDataTimer's own state: the tick counter that drives the blinking.
class ReadoutRefresh {
  public:
    ReadoutFrame Tick(LinkState& state, const SharedDisplayState& shared,
                      const NumberLocale& locale);
    std::int32_t RefreshTick() const { return refreshTick_; }

  private:
    std::int32_t refreshTick_ = 0;
};

}  // namespace karvo
