// Command codes and the 63-byte command frames.
#pragma once

#include <array>
#include <cstdint>

#include "protocol/records.h"

namespace karvo {

enum : std::uint8_t {
    CmdReadInfo = 0,
    CmdReadSettings = 1,
    CmdReadMeasurement = 2,
    CmdStartMeasurements = 131,
    CmdWriteSettings = 138,
    CmdRestoreFactory = 139,
    CmdTare = 145,
    CmdResetMinMax = 147,
    CmdAnalogForce = 168,
    CmdAnalogForceStop = 169,
    CmdAnalogCalibrate = 170,
};

constexpr std::size_t kLongCommandSize = 63;
using LongCommand = std::array<std::uint8_t, kLongCommandSize>;

// 138: code, the settings record in bytes 1-42, zero to the end.
LongCommand WriteSettingsFrame(const TDeviceSettingsRecord& settings);
// 168: code, OutputKind (0 voltage / 1 current), TestMode, ForcedLevel (9.0 V or 18.0 mA).
LongCommand AnalogForceFrame(bool currentOutput, bool testMode);
// 170: code, OutputKind, MeasuredLevel.
LongCommand AnalogCalibrateFrame(bool currentOutput, float measuredLevel);

}  // namespace karvo
