#include "cli/monitor_format.h"

#include <cstdio>
#include <ctime>

#include "cli/settings_lines.h"
#include "readout/number_format.h"

namespace karvo::cli {
namespace {

const NumberLocale kPoint{".", ""};

std::string Fixed(double value, int decimals) { return FormatFixed(value, 15, decimals, kPoint); }

const char* Bit(const TMeasurementRecord& m, std::uint8_t mask) {
    return (m.StatusFlags & mask) ? "1" : "0";
}

}  // namespace

std::string Timestamp(std::chrono::system_clock::time_point t) {
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    long millis = static_cast<long>(ms % 1000);
    if (millis < 0) {
        millis += 1000;
        --seconds;
    }
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[48];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    std::snprintf(text + n, sizeof text - n, ".%03ld", millis);
    return text;
}

std::string CsvHeader() {
    return "time,value,unit,min,max,load_percent,analog_output,analog_unit,tare_input,"
           "sensor_error,converter_error";
}

std::string MonitorLine(const TMeasurementRecord& m, const MonitorContext& c,
                        std::chrono::system_clock::time_point t, bool csv) {
    const std::string unit = UnitName(c.unit);
    const std::string outputUnit = c.currentOutput ? "mA" : "V";
    const std::string load =
        c.range == 0 ? std::string() : Fixed(m.LoadN * 100.0 / static_cast<double>(c.range), 2);
    const std::string value = Fixed(m.Value, c.decimals);
    const std::string min = Fixed(m.MinValue, c.decimals);
    const std::string max = Fixed(m.MaxValue, c.decimals);
    const std::string output = Fixed(m.AnalogOutput, 3);
    const char* tare = Bit(m, TMeasurementRecord::kTareInput);
    const char* sensor = Bit(m, TMeasurementRecord::kSensorError);
    const char* converter = Bit(m, TMeasurementRecord::kConverterError);
    if (csv) {
        return Timestamp(t) + "," + value + "," + unit + "," + min + "," + max + "," + load + "," +
               output + "," + outputUnit + "," + tare + "," + sensor + "," + converter;
    }
    return Timestamp(t) + "  " + value + " " + unit + "  min " + min + " " + unit + "  max " + max +
           " " + unit + "  load " + (load.empty() ? "-" : load) + " %  output " + output + " " +
           outputUnit + "  tare " + tare + "  sensor-error " + sensor + "  converter-error " +
           converter;
}

}  // namespace karvo::cli
