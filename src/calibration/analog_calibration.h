// The analog output calibration: which command each button of the service window sends,
// and the checks of the two measured-value fields.
#pragma once

#include "protocol/device_link.h"

namespace karvo {

class AnalogOutputCalibration {
  public:
    // The measured-value fields: 3 decimals, both ends allowed. The current field takes
    // 1 to 25 mA so that a reading near the forced 18 mA passes.
    struct EntryBounds {
        int decimals;
        float max;
        float min;
    };
    static constexpr EntryBounds kVoltageEntry{3, 15.0f, 1.0f};
    static constexpr EntryBounds kCurrentEntry{3, 25.0f, 1.0f};
    static constexpr EntryBounds EntryFor(bool currentOutput) {
        return currentOutput ? kCurrentEntry : kVoltageEntry;
    }

    explicit AnalogOutputCalibration(DeviceLink& link) : link_(link) {}

    // "Start": force 9 V (voltage) or 18 mA (current), with the "Test" flag.
    void Button1Click(bool currentOutput, bool testMode);
    // "Stop": end the forcing.
    void Button2Click();
    // "Zapisz" of either output, with the value its field check handed back.
    void SendMeasuredLevel(bool currentOutput, float measuredLevel);
    // "Odczytaj Factor": no action.
    void Btn_readFactorsClick() {}

  private:
    DeviceLink& link_;
};

}  // namespace karvo
