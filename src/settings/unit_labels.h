// The captions that follow the amplifier's unit and analog-output mode: the unit after the
// two analog limits, the limit captions, the output unit of the readout and the caption of the
// readout page's analog-output group.
#pragma once

#include <functional>
#include <string>

#include "app/shared_state.h"
#include "app/string_table.h"

namespace karvo {

namespace labels {
extern const char* const kVoutMinDesign;  // "Wyjście = 0 dla wartości:"
extern const char* const kVoutMaxDesign;  // "Wyjście = 10V dla wartości:"
extern const char* const kUnitDesign;     // "[N]"
extern const char* const kGroupVoltage;   // "Wyjście analogowe 0-10V"
extern const char* const kGroupCurrent;   // "Wyjście analogowe (0)4-20mA"
}  // namespace labels

// " N", " kN", " g", " kg", " T", " F" for unit index 0..5; nullptr for any other index.
const char* UnitSuffixFor(int unitIndex);

class UnitLabels {
  public:
    UnitLabels(SharedDisplayState& shared, const StringTable& strings)
        : shared_(shared), strings_(strings) {}

    // Receives the caption of the readout page's analog-output group when it changes.
    void SetAnalogGroupCaptionSink(std::function<void(const std::string&)> sink) {
        groupCaption_ = std::move(sink);
    }

    // The unit text from the selected unit index (-1: none, which keeps the last text).
    void UpdateUnitLabels(int unitIndex);
    // The click handler of both mode buttons, given which of them is checked now.
    void Rg_AnalogModeClick(bool voltageChecked, bool currentChecked);

    const std::string& Label31() const { return label31_; }
    const std::string& Label32() const { return label32_; }
    const std::string& VoutMin() const { return voutMin_; }
    const std::string& VoutMax() const { return voutMax_; }
    bool CurrentMode() const { return current_; }

  private:
    SharedDisplayState& shared_;
    const StringTable& strings_;
    std::function<void(const std::string&)> groupCaption_;
    std::string label31_ = labels::kUnitDesign;
    std::string label32_ = labels::kUnitDesign;
    std::string voutMin_ = labels::kVoutMinDesign;
    std::string voutMax_ = labels::kVoutMaxDesign;
    bool current_ = false;  // the remembered mode: voltage at start
};

}  // namespace karvo
