// The simulated amplifier as a HID backend: one device "KARVO" with 65-byte reports,
// read on a thread of its own and handed over to the UI thread like a real device.
#pragma once

#include <memory>

#include "hid/hid_backend.h"
#include "hid/ui_executor.h"
#include "sim/simulator_bench.h"

namespace karvo {

class SimulatedBackend : public HidBackend {
  public:
    static constexpr std::uint16_t kVendorId = 0x1209;
    static constexpr std::uint16_t kProductId = 0x4B41;

    SimulatedBackend(std::shared_ptr<SimulatorBench> bench, std::shared_ptr<UiExecutor> executor);
    ~SimulatedBackend() override;

    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override;
    void SetChangeListener(std::function<void()> listener) override;
    bool UsesSystemDevices() const override { return false; }

    const std::shared_ptr<SimulatorBench>& Bench() const { return bench_; }

  private:
    std::shared_ptr<SimulatorBench> bench_;
    std::shared_ptr<UiExecutor> executor_;
};

}  // namespace karvo
