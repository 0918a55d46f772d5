// The simulated amplifier on its bench: the firmware model, its USB plug and its clock.
// Shared by the simulated backend, its device objects and the Symulator window; every
// call is thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>

#include "protocol/records.h"
#include "sim/amplifier_model.h"

namespace karvo {

class SimulatorBench {
  public:
    SimulatorBench();

    void SetAppliedForce(double newtons);
    void SetTareInput(bool active);
    void SetSensorError(bool error);
    void SetConverterError(bool error);
    // Unplugging ends every open handle; plugging in again switches the amplifier on
    // afresh under a new device path.
    void SetPlugged(bool plugged);

    bool Plugged() const;
    double AppliedForce() const;
    TDeviceSettingsRecord Settings() const;
    bool Streaming() const;
    // Changes with every plug-in; a handle opened under an older one is dead.
    std::uint64_t Generation() const;

    // Called after every plug change, on the thread that made it.
    void SetChangeListener(std::function<void()> listener);

    // The device side: one output report written, one input report read (bytes read, 0
    // when none came within `timeoutMs`, -1 when the handle is dead).
    bool Write(std::uint64_t generation, const std::uint8_t* report, std::size_t length);
    int Read(std::uint64_t generation, std::uint8_t* buffer, std::size_t capacity, int timeoutMs);

  private:
    AmplifierModel::Time Now() const { return std::chrono::steady_clock::now() - start_; }
    bool Alive(std::uint64_t generation) const { return plugged_ && generation == generation_; }

    const std::chrono::steady_clock::time_point start_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    AmplifierModel model_;
    bool plugged_ = true;
    std::uint64_t generation_ = 1;
    std::function<void()> listener_;
};

}  // namespace karvo
