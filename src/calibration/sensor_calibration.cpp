#include "calibration/sensor_calibration.h"

#include <cmath>

namespace karvo {

const char* const SensorCalibrationWizard::kEntryRefusedText = "Błędna wartość";
const char* const SensorCalibrationWizard::kSenseRefusedText =
    "Otrzymana wartość stałej czujnika po kalibracji jest niepoprawna. Sprawdź czy w "
    "ustawieniach wprowadzona jest poprawna wartość zakresu czujnika (w N).";
const char* const SensorCalibrationWizard::kCopiedText =
    "Nowa wartość stałej czujnika została wprowadzona. Zapisz parametry w urządzeniu";
const char* const SensorCalibrationWizard::kInfoCaption = " Info";
const char* const SensorCalibrationWizard::kWarningCaption = " Uwaga";

void SensorCalibrationWizard::Btn_Calib_ResetClick() { visible_ = Visibility{}; }

void SensorCalibrationWizard::Btn_Calib_Step1Click() {
    visible_.step2 = true;
    calibZero_ = link_.State().Measurement.CalibSignal;
}

float SensorCalibrationWizard::ForceInNewtons(float value, bool kilograms) {
    return kilograms ? static_cast<float>(static_cast<double>(value) * kNewtonsPerKilogram) : value;
}

float SensorCalibrationWizard::SensorConstant(float signal, float zero, float forceN) {
    const double change = std::fabs(static_cast<double>(signal) - static_cast<double>(zero));
    return static_cast<float>(change / static_cast<double>(forceN));
}

SensorCalibrationWizard::Step2Outcome SensorCalibrationWizard::Btn_Calib_Step2Click(
    std::optional<float> weight, bool kilograms, const NumberLocale& locale) {
    Step2Outcome out;
    visible_.step3 = true;
    if (!weight) {
        // A refused entry must not leave an earlier constant on offer.
        visible_.ready = false;
        out.message = CalibrationMessage{kEntryRefusedText, kInfoCaption, mb::OkInformation};
        return out;
    }
    out.entryAccepted = true;
    calibForceN_ = ForceInNewtons(*weight, kilograms);
    calibSense_ = SensorConstant(link_.State().Measurement.CalibSignal, calibZero_, calibForceN_);
    out.senseText = FormatFixed(calibSense_, 5, 4, locale);
    out.senseAccepted = IsPlausible(calibSense_);
    visible_.ready = out.senseAccepted;
    if (!out.senseAccepted) {
        out.message = CalibrationMessage{kSenseRefusedText, kWarningCaption, mb::OkInformation};
    }
    return out;
}

CalibrationMessage SensorCalibrationWizard::CopiedMessage() {
    return {kCopiedText, kInfoCaption, mb::OkInformation};
}

std::optional<std::string> SensorCalibrationWizard::Timer1Timer(bool visible,
                                                                const NumberLocale& locale) {
    if (!visible) return std::nullopt;
    link_.SendCommand(CmdReadMeasurement);
    return FormatFixed(link_.State().Measurement.LoadN, 5, 2, locale);
}

}  // namespace karvo
