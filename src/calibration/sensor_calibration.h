// The sensor calibration wizard: its three steps, the wizard values and the arithmetic
// that turns a reference load into a sensor constant. The window only applies what
// this class decides.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "protocol/device_link.h"
#include "readout/number_format.h"

namespace karvo {

// A message box the window shows on the wizard's behalf.
struct CalibrationMessage {
    std::string text;
    std::string caption;
    int flags = 0;
};

class SensorCalibrationWizard {
  public:
    // 1 kg counts as 9.8105 N.
    static constexpr double kNewtonsPerKilogram = 9.8105;
    // The reference entry: 2 decimals, 0.01 to 1000000, both ends allowed.
    static constexpr int kWeightDecimals = 2;
    static constexpr float kWeightMin = 0.01f;
    static constexpr float kWeightMax = 1000000.0f;
    // A constant is plausible strictly between these two.
    static constexpr double kSenseLow = 0.5;
    static constexpr double kSenseHigh = 10.0;

    static const char* const kEntryRefusedText;  // "Błędna wartość"
    static const char* const kSenseRefusedText;  // the long " Uwaga" text
    static const char* const kCopiedText;        // after "GOTOWE"
    static const char* const kInfoCaption;       // " Info"
    static const char* const kWarningCaption;    // " Uwaga"

    // Which of the step controls show beyond the always-visible ones.
    struct Visibility {
        bool step2 = false;  // Label_Calib_Step2 ... Btn_Calib_Step2
        bool step3 = false;  // Label_Calib_Step3, Label_A_Step3, Edit_Sense_Step3
        bool ready = false;  // Btn_Calib_OK ("GOTOWE")
    };

    struct Step2Outcome {
        bool entryAccepted = false;
        bool senseAccepted = false;
        // New text of Edit_Sense_Step3; nothing when the entry was refused (the field keeps
        // its earlier text).
        std::optional<std::string> senseText;
        std::optional<CalibrationMessage> message;
    };

    // Measurements are read from and requests sent through `link`.
    explicit SensorCalibrationWizard(DeviceLink& link) : link_(link) {}

    const Visibility& Visible() const { return visible_; }
    float CalibZero() const { return calibZero_; }
    float CalibForceN() const { return calibForceN_; }
    float CalibSense() const { return calibSense_; }

    // Every showing of the window and "POWTÓRZ": hide steps 2, 3 and "GOTOWE". Texts, the
    // kg/N choice and the wizard values stay.
    void Btn_Calib_ResetClick();
    void FormShow() { Btn_Calib_ResetClick(); }

    // Step 1 "OK": show step 2 and take the present calibration signal as the zero.
    void Btn_Calib_Step1Click();

    // Step 2 "OK". `weight` is the checked reference entry (nothing when the check refused
    // it); `kilograms` is the kg choice. Step 3 shows in every case; "GOTOWE" shows only
    // for an accepted constant and is hidden again by a refused entry or constant.
    Step2Outcome Btn_Calib_Step2Click(std::optional<float> weight, bool kilograms,
                                      const NumberLocale& locale);

    // "GOTOWE": the box shown after the text has been copied.
    static CalibrationMessage CopiedMessage();

    // Timer1, every 100 ms: while visible, requests a measurement and gives the text of
    // the present load for Edit_Calib_ActualVal; nothing while hidden.
    std::optional<std::string> Timer1Timer(bool visible, const NumberLocale& locale);

    // The arithmetic as the amplifier's firmware expects it: the force in N rounded to a
    // 32-bit float, the signal change formed in double precision.
    static float ForceInNewtons(float value, bool kilograms);
    static float SensorConstant(float signal, float zero, float forceN);
    static bool IsPlausible(float sense) { return sense > kSenseLow && sense < kSenseHigh; }

  private:
    DeviceLink& link_;
    Visibility visible_;
    float calibZero_ = 0.0f;
    float calibForceN_ = 0.0f;
    float calibSense_ = 0.0f;
};

}  // namespace karvo
