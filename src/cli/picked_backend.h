// A HID backend narrowed to the device picked with --device: only that path is listed and
// checked out. Without a path it is the backend itself.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hid/hid_backend.h"

namespace karvo::cli {

class PickedBackend : public HidBackend {
  public:
    // `path`: only the device of this path is listed; nothing: every device.
    PickedBackend(HidBackend& inner, std::optional<std::string> path);

    std::vector<HidDeviceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) override;
    bool UsesSystemDevices() const override { return inner_.UsesSystemDevices(); }

  private:
    HidBackend& inner_;
    std::optional<std::string> path_;
};

}  // namespace karvo::cli
