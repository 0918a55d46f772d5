#include "protocol/commands.h"

namespace karvo {

LongCommand WriteSettingsFrame(const TDeviceSettingsRecord& settings) {
    LongCommand f{};
    f[0] = CmdWriteSettings;
    settings.Encode(f.data() + 1);
    return f;
}

LongCommand AnalogForceFrame(bool currentOutput, bool testMode) {
    LongCommand f{};
    f[0] = CmdAnalogForce;
    f[1] = currentOutput ? 1 : 0;
    f[2] = testMode ? 1 : 0;
    StoreFloat(f.data() + 3, currentOutput ? 18.0f : 9.0f);
    return f;
}

LongCommand AnalogCalibrateFrame(bool currentOutput, float measuredLevel) {
    LongCommand f{};
    f[0] = CmdAnalogCalibrate;
    f[1] = currentOutput ? 1 : 0;
    StoreFloat(f.data() + 2, measuredLevel);
    return f;
}

}  // namespace karvo
