// A HID backend seen through the command-line tool: it narrows the devices to the one picked
// with --device and tells the tool of every input report after the device link has handled it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hid/hid_backend.h"

namespace karvo::cli {

class ObservedBackend : public HidBackend {
  public:
    // Called on the UI thread after the device's own handler, with the whole report.
    using ReportObserver = std::function<void(const std::uint8_t* report, std::size_t length)>;

    // `path`: only the device of this path is listed; nothing: every device.
    ObservedBackend(HidBackend& inner, std::optional<std::string> path, ReportObserver observer);

    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override;
    bool UsesSystemDevices() const override { return inner_.UsesSystemDevices(); }

  private:
    HidBackend& inner_;
    std::optional<std::string> path_;
    std::shared_ptr<ReportObserver> observer_;
};

}  // namespace karvo::cli
