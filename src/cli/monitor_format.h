// One measurement as a line of karvo-cli monitor: readable text or comma-separated fields.
#pragma once

#include <chrono>
#include <string>

#include "protocol/records.h"

namespace karvo::cli {

// What a line needs besides the measurement: from the settings read before streaming.
struct MonitorContext {
    int unit = 0;                // TUnits
    std::uint32_t range = 0;     // TRange, for the load percentage
    bool currentOutput = false;  // AnalogMode 1: the output is in mA, else V
    int decimals = 3;
};

// "2024-05-01T12:00:00.123", local time.
std::string Timestamp(std::chrono::system_clock::time_point t);

std::string CsvHeader();
// Without the line end. Decimal point "." in both forms.
std::string MonitorLine(const TMeasurementRecord& m, const MonitorContext& context,
                        std::chrono::system_clock::time_point t, bool csv);

}  // namespace karvo::cli
