#include "calibration/analog_calibration.h"

#include "protocol/commands.h"

namespace karvo {

void AnalogOutputCalibration::Button1Click(bool currentOutput, bool testMode) {
    const LongCommand frame = AnalogForceFrame(currentOutput, testMode);
    link_.SendReport(frame.data(), frame.size());
}

void AnalogOutputCalibration::Button2Click() { link_.SendCommand(CmdAnalogForceStop); }

void AnalogOutputCalibration::SendMeasuredLevel(bool currentOutput, float measuredLevel) {
    const LongCommand frame = AnalogCalibrateFrame(currentOutput, measuredLevel);
    link_.SendReport(frame.data(), frame.size());
}

}  // namespace karvo
