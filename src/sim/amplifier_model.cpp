#include "sim/amplifier_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "protocol/commands.h"

namespace karvo {
namespace {

constexpr std::uint8_t kReportId = 1;
constexpr int kRates[] = {4, 10, 33, 50, 62, 123};

bool Within(float v, float lo, float hi) { return v >= lo && v <= hi; }  // false for NaN

}  // namespace

TDeviceInfoRecord AmplifierModel::Identification() {
    TDeviceInfoRecord info;
    info.FirmwareVersion = kFirmwareVersion;
    std::memcpy(info.DeviceName.data(), "KARVO", 5);
    std::memcpy(info.DeviceDetail.data(), "SYMULATOR", 9);
    return info;
}

TDeviceSettingsRecord AmplifierModel::FactorySettings() {
    TDeviceSettingsRecord s;
    s.TSense = 2.0f;
    s.TRange = 1000;
    s.TOffset = 0.0f;
    s.TRate = 1;  // 10 per second
    s.TFilter = 8;
    s.TUnits = 0;  // N
    s.TSign = 1;
    s.AnalogMin = 0.0f;
    s.AnalogMax = 1000.0f;
    s.AnalogFactor1 = 1.0f;
    s.AnalogFactor2 = 1.0f;
    s.AnalogMode = 0;  // 0-10 V
    s.AnalogAbs = 0;
    s.ModbusBaud = 19200;
    s.ModbusParity = 2;  // even
    s.ModbusAddress = 1;
    return s;
}

std::uint8_t AmplifierModel::WriteStatusFor(const TDeviceSettingsRecord& s) {
    static constexpr std::uint16_t kFilters[] = {0, 8, 32, 64, 128, 256};
    static constexpr std::uint32_t kBauds[] = {9600, 19200, 38400, 57600, 115200};
    const bool ok =
        Within(s.TSense, 0.1f, 100000000.0f) && s.TRange >= 1 && s.TRange <= 100000000 &&
        Within(s.TOffset, -99999.0f, 99999.0f) && s.TRate <= 5 &&
        std::find(std::begin(kFilters), std::end(kFilters), s.TFilter) != std::end(kFilters) &&
        s.TUnits <= 5 && (s.TSign == 1 || s.TSign == -1) &&
        Within(s.AnalogMin, -999999.0f, 999999.0f) && Within(s.AnalogMax, -999999.0f, 999999.0f) &&
        s.AnalogMode <= 1 && s.AnalogAbs <= 1 &&
        std::find(std::begin(kBauds), std::end(kBauds), s.ModbusBaud) != std::end(kBauds) &&
        s.ModbusParity <= 2 && s.ModbusAddress >= 1 && s.ModbusAddress <= 247;
    return ok ? 0 : kWriteRefused;
}

int AmplifierModel::MeasurementsPerSecond(std::uint16_t rate) {
    return kRates[std::min<std::uint16_t>(rate, 5)];
}

double AmplifierModel::FromNewtons(double newtons, std::uint8_t units) {
    const double kg = newtons / kNewtonsPerKg;
    switch (units) {
        case 1:
            return newtons / 1000.0;  // kN
        case 2:
            return kg * 1000.0;  // g
        case 3:
            return kg;  // kg
        case 4:
            return kg / 1000.0;  // T
        case 5:
            return kg / 0.45359237;  // F
        default:
            return newtons;  // N
    }
}

void AmplifierModel::PowerUp() {
    outgoing_.clear();
    streaming_ = false;
    nextDue_ = Time{};
    tareN_ = 0.0;
    minMaxValid_ = false;
    min_ = max_ = 0.0f;
    window_.clear();
    forced_ = false;
    forcedLevel_ = 0.0f;
}

void AmplifierModel::SetTareInput(bool active) {
    if (active && !tareInput_) Tare();  // the input tares on its rising edge
    tareInput_ = active;
}

double AmplifierModel::FilteredBridge() const {
    if (window_.empty()) return Bridge();
    double sum = 0.0;
    for (double b : window_) sum += b;
    return sum / static_cast<double>(window_.size());
}

double AmplifierModel::MeasuredNewtons(double bridge) const {
    if (!(settings_.TSense > 0.0f)) return 0.0;
    const double sign = settings_.TSign < 0 ? -1.0 : 1.0;
    return sign * bridge / settings_.TSense * static_cast<double>(settings_.TRange);
}

void AmplifierModel::Tare() { tareN_ = MeasuredNewtons(FilteredBridge()); }

TMeasurementRecord AmplifierModel::Sample() {
    const std::size_t length = settings_.TFilter > 0 ? settings_.TFilter : 1;
    window_.push_back(Bridge());
    while (window_.size() > length) window_.pop_front();
    const double bridge = FilteredBridge();
    const double loadN = MeasuredNewtons(bridge);

    TMeasurementRecord m;
    const float value =
        static_cast<float>(FromNewtons(loadN - tareN_, settings_.TUnits) + settings_.TOffset);
    if (!minMaxValid_) {
        min_ = max_ = value;
        minMaxValid_ = true;
    }
    min_ = std::min(min_, value);
    max_ = std::max(max_, value);

    const double counts = std::round(bridge / kAdcFullScaleMvV * 32767.0);
    const bool overRange = std::fabs(bridge) > kAdcFullScaleMvV;
    m.AdcRaw = static_cast<std::int16_t>(std::clamp(counts, -32768.0, 32767.0));
    m.LoadN = static_cast<float>(loadN);
    m.Value = value;
    m.MinValue = min_;
    m.MaxValue = max_;

    if (forced_) {
        m.AnalogOutput = forcedLevel_;
    } else {
        const double x = settings_.AnalogAbs ? std::fabs(value) : value;
        const double span = static_cast<double>(settings_.AnalogMax) - settings_.AnalogMin;
        double f = span != 0.0 ? (x - settings_.AnalogMin) / span : (x >= settings_.AnalogMin);
        f = std::clamp(std::isnan(f) ? 0.0 : f, 0.0, 1.0);
        m.AnalogOutput = static_cast<float>(settings_.AnalogMode == 1 ? 4.0 + 16.0 * f : 10.0 * f);
    }
    m.StatusFlags = static_cast<std::uint8_t>(
        (tareInput_ ? TMeasurementRecord::kTareInput : 0) |
        (sensorError_ ? TMeasurementRecord::kSensorError : 0) |
        (converterError_ || overRange ? TMeasurementRecord::kConverterError : 0));
    m.SignalmV = static_cast<float>(bridge * kExcitationV);
    m.CalibSignal = static_cast<float>(bridge * static_cast<double>(settings_.TRange));
    return m;
}

void AmplifierModel::Queue(std::uint8_t code, const std::uint8_t* payload, std::size_t size) {
    Report r{};
    r[0] = kReportId;
    r[1] = code;
    if (size > 0) std::memcpy(r.data() + 2, payload, std::min(size, kReportLength - 2));
    outgoing_.push_back(r);
}

void AmplifierModel::QueueMeasurement() {
    std::uint8_t payload[TMeasurementRecord::kSize];
    Sample().Encode(payload);
    Queue(CmdReadMeasurement, payload, sizeof payload);
}

void AmplifierModel::Receive(const std::uint8_t* report, std::size_t length, Time now) {
    if (report == nullptr || length < 2 || report[0] != kReportId) return;
    // What the report did not carry reads as zero.
    Report frame{};
    std::memcpy(frame.data(), report, std::min(length, kReportLength));
    const std::uint8_t* command = frame.data() + 1;
    switch (command[0]) {
        case CmdReadInfo: {
            std::uint8_t payload[TDeviceInfoRecord::kSize];
            Identification().Encode(payload);
            Queue(CmdReadInfo, payload, sizeof payload);
            return;
        }
        case CmdReadSettings: {
            streaming_ = false;
            std::uint8_t payload[TDeviceSettingsRecord::kSize];
            settings_.Encode(payload);
            Queue(CmdReadSettings, payload, sizeof payload);
            return;
        }
        case CmdReadMeasurement:
            QueueMeasurement();
            return;
        case CmdStartMeasurements:
            streaming_ = true;
            nextDue_ = now;
            return;
        case CmdWriteSettings: {
            const TDeviceSettingsRecord s = TDeviceSettingsRecord::Decode(command + 1);
            const std::uint8_t status = WriteStatusFor(s);
            if (status == 0) {
                if (s.TFilter != settings_.TFilter) window_.clear();
                settings_ = s;
                ResetMinMax();
            }
            Queue(CmdWriteSettings, &status, 1);
            return;
        }
        case CmdRestoreFactory:
            settings_ = FactorySettings();
            tareN_ = 0.0;
            window_.clear();
            ResetMinMax();
            Queue(CmdRestoreFactory, nullptr, 0);
            return;
        case CmdTare:
            Tare();
            Queue(CmdTare, nullptr, 0);
            return;
        case CmdResetMinMax:
            ResetMinMax();
            Queue(CmdResetMinMax, nullptr, 0);
            return;
        case CmdAnalogForce:
            forced_ = true;
            forcedLevel_ = LoadFloat(command + 3);
            return;
        case CmdAnalogForceStop:
            forced_ = false;
            return;
        case CmdAnalogCalibrate:
            calibrated_[command[1] == 1 ? 1 : 0] = LoadFloat(command + 2);
            return;
        default:
            return;  // unknown commands are ignored
    }
}

std::optional<AmplifierModel::Report> AmplifierModel::NextReport(Time now) {
    if (!outgoing_.empty()) {
        Report r = outgoing_.front();
        outgoing_.pop_front();
        return r;
    }
    if (!streaming_ || now < nextDue_) return std::nullopt;
    const auto period = std::chrono::duration_cast<Time>(
        std::chrono::duration<double>(1.0 / MeasurementsPerSecond(settings_.TRate)));
    nextDue_ += period;
    // A reader that fell far behind gets the stream from now on, not a burst.
    if (nextDue_ <= now) nextDue_ = now + period;
    QueueMeasurement();
    Report r = outgoing_.front();
    outgoing_.pop_front();
    return r;
}

std::optional<AmplifierModel::Time> AmplifierModel::NextReportTime(Time now) const {
    if (!outgoing_.empty()) return now;
    if (streaming_) return std::max(now, nextDue_);
    return std::nullopt;
}

}  // namespace karvo
