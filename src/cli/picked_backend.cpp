#include "cli/picked_backend.h"

namespace karvo::cli {

PickedBackend::PickedBackend(HidBackend& inner, std::optional<std::string> path)
    : inner_(inner), path_(std::move(path)) {}

std::vector<HidDeviceInfo> PickedBackend::Enumerate() {
    std::vector<HidDeviceInfo> devices = inner_.Enumerate();
    if (!path_) return devices;
    std::vector<HidDeviceInfo> picked;
    for (auto& d : devices) {
        if (d.Path == *path_) picked.push_back(std::move(d));
    }
    return picked;
}

std::unique_ptr<HidDevice> PickedBackend::CheckOut(const HidDeviceInfo& info) {
    if (path_ && info.Path != *path_) return nullptr;
    return inner_.CheckOut(info);
}

}  // namespace karvo::cli
