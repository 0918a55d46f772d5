// The simulated KARVO amplifier: a firmware model that answers every command the
// configurator sends, as a real amplifier would, and streams measurements after
// CmdStartMeasurements. Time is a parameter, so the model is deterministic.
//
// The simulated sensor is a strain-gauge bridge of kSensorConstant mV/V at its capacity
// kSensorRangeN; the force applied to it is set from the simulator bench. One sample:
//   bridge      = kSensorConstant * force / kSensorRangeN                 [mV/V]
//   (averaged over the last TFilter samples; 0: no averaging)
//   LoadN       = TSign * bridge / TSense * TRange                        [N]
//   Value       = unit(LoadN - tare) + TOffset                           [selected unit]
//   SignalmV    = bridge * kExcitationV                                   [mV]
//   CalibSignal = bridge * TRange     (so |change| / reference force in N = the sensor's
//                                      constant when TRange is the sensor's real range)
//   AdcRaw      = bridge / kAdcFullScaleMvV * 32767, saturated (converter error beyond)
// Units: N; kN = N / 1000; kg = N / 9.8105; g = kg * 1000; T (tonne) = kg / 1000;
// F (funt, pound-force) = kg / 0.45359237. 9.8105 N per kg is the figure the
// configurator's calibration wizard uses for a reference mass.
// Analog output: x = Value (|Value| with AnalogAbs), f = (x - AnalogMin) / (AnalogMax -
// AnalogMin) held to 0..1; 0-10 V gives 10 f, 4-20 mA gives 4 + 16 f.
// A settings read (CmdReadSettings) ends the measurement stream until the next
// CmdStartMeasurements; a settings write is checked against the ranges the settings page
// allows and refused whole (WriteStatus 1) when a value lies outside.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "protocol/records.h"

namespace karvo {

class AmplifierModel {
  public:
    using Time = std::chrono::steady_clock::duration;  // since any fixed point in time
    static constexpr std::size_t kReportLength = 65;   // report ID byte included
    using Report = std::array<std::uint8_t, kReportLength>;

    static constexpr double kSensorConstant = 1.9876;  // mV/V
    static constexpr double kSensorRangeN = 1000.0;
    static constexpr double kExcitationV = 5.0;
    static constexpr double kAdcFullScaleMvV = 4.0;
    static constexpr double kNewtonsPerKg = 9.8105;
    static constexpr float kFirmwareVersion = 1.04f;
    static constexpr std::uint8_t kWriteRefused = 1;

    AmplifierModel() { PowerUp(); }

    static TDeviceInfoRecord Identification();
    static TDeviceSettingsRecord FactorySettings();
    // 0 when every value lies in its range, else kWriteRefused.
    static std::uint8_t WriteStatusFor(const TDeviceSettingsRecord& settings);
    // Measurements per second of a TRate index (4, 10, 33, 50, 62, 123).
    static int MeasurementsPerSecond(std::uint16_t rate);
    // `newtons` in the unit of index `units`.
    static double FromNewtons(double newtons, std::uint8_t units);

    // An output report as written by the PC: report ID 1, command code, payload.
    void Receive(const std::uint8_t* report, std::size_t length, Time now);
    // The next input report the amplifier sends at `now`, if any.
    std::optional<Report> NextReport(Time now);
    // When the next report is due (`now` when one is waiting); nothing when nothing will
    // come unasked.
    std::optional<Time> NextReportTime(Time now) const;

    // Switched on (again): the stream, tare, min/max, filter and forced output start
    // afresh; the settings are kept as the amplifier keeps them.
    void PowerUp();

    // The bench.
    void SetAppliedForce(double newtons) { force_ = newtons; }
    double AppliedForce() const { return force_; }
    void SetTareInput(bool active);
    void SetSensorError(bool error) { sensorError_ = error; }
    void SetConverterError(bool error) { converterError_ = error; }

    const TDeviceSettingsRecord& Settings() const { return settings_; }
    bool Streaming() const { return streaming_; }
    // The level the analog output was last calibrated with (CmdAnalogCalibrate), per kind
    // (0 voltage, 1 current); 0 before any calibration.
    float CalibratedLevel(int kind) const { return calibrated_[kind == 1 ? 1 : 0]; }

    // Takes one sample, as every measurement reply does.
    TMeasurementRecord Sample();

  private:
    double Bridge() const { return kSensorConstant * force_ / kSensorRangeN; }
    double FilteredBridge() const;
    double MeasuredNewtons(double bridge) const;
    void Queue(std::uint8_t code, const std::uint8_t* payload, std::size_t size);
    void QueueMeasurement();
    void Tare();
    void ResetMinMax() { minMaxValid_ = false; }

    TDeviceSettingsRecord settings_ = FactorySettings();
    std::deque<Report> outgoing_;
    bool streaming_ = false;
    Time nextDue_{};
    double force_ = 0.0;
    bool tareInput_ = false;
    bool sensorError_ = false;
    bool converterError_ = false;
    double tareN_ = 0.0;
    bool minMaxValid_ = false;
    float min_ = 0.0f;
    float max_ = 0.0f;
    std::deque<double> window_;  // the last bridge samples, for the averaging filter
    bool forced_ = false;
    float forcedLevel_ = 0.0f;
    std::array<float, 2> calibrated_{};
};

}  // namespace karvo
