#include "hid/hid_controller.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace karvo {
namespace {

bool InfoLess(const HidDeviceInfo& a, const HidDeviceInfo& b) {
    return std::tie(a.Path, a.Product, a.VendorId, a.ProductId) <
           std::tie(b.Path, b.Product, b.VendorId, b.ProductId);
}

std::vector<HidDeviceInfo> Sorted(std::vector<HidDeviceInfo> v) {
    std::sort(v.begin(), v.end(), InfoLess);
    return v;
}

}  // namespace

bool operator==(const HidDeviceInfo& a, const HidDeviceInfo& b) {
    return a.Path == b.Path && a.Product == b.Product && a.VendorId == b.VendorId &&
           a.ProductId == b.ProductId;
}

HidController::HidController(HidBackend& backend, DeviceLink& link)
    : backend_(backend), link_(link) {}

HidController::~HidController() { ReleaseDevices(); }

std::string HidController::DisplayName(const HidDeviceInfo& device) {
    if (!device.Product.empty()) return device.Product;
    char text[40];
    std::snprintf(text, sizeof text, "Device VID=%04X PID=%04X", device.VendorId, device.ProductId);
    return text;
}

std::vector<HidDeviceInfo> HidController::EnumerateSafely() {
    try {
        return backend_.Enumerate();
    } catch (...) {
        return {};  // a failing enumeration lists nothing
    }
}

void HidController::ReleaseDevices() {
    for (auto& entry : list_) entry.Device.reset();
    list_.clear();
}

void HidController::ReleaseAll() {
    link_.State().Connected = false;
    link_.Bind(nullptr);
    ReleaseDevices();
}

bool HidController::CheckForChanges() {
    if (discovered_ && Sorted(EnumerateSafely()) == lastSet_) return false;
    JvHidDeviceController1DeviceChange();
    return true;
}

void HidController::JvHidDeviceController1DeviceChange() {
    // Unbind, then release every object from the first entry to the last.
    link_.State().Connected = false;
    link_.Bind(nullptr);
    ReleaseDevices();

    present_ = EnumerateSafely();
    lastSet_ = Sorted(present_);
    discovered_ = true;
    for (std::size_t i = 0; i < present_.size(); ++i) {
        if (!JvHidDeviceController1Enumerate(present_[i], static_cast<int>(i))) break;
    }
    present_.clear();

    if (list_.empty()) {
        link_.ShowNoConnection();
        return;
    }
    // Every entry named "KARVO" is bound in turn; the last one stays BoundDevice.
    for (auto& entry : list_) {
        if (entry.DisplayName != kAmplifierName) continue;
        HidDevice* device = entry.Device.get();
        link_.Bind(device);
        if (device != nullptr && device->OpenedReadWrite()) {
            // Only the reports of the device commands go to reach the dispatcher, so two
            // amplifiers never mix in one readout.
            device->SetInputReportHandler(
                [this, device](const std::uint8_t* report, std::size_t length) {
                    if (length == 0 || link_.BoundDevice() != device) return;
                    link_.ReportDispatcher(report + 1, length - 1);
                });
            link_.State().Connected = true;
            link_.ShowConnected();
        } else {
            if (device != nullptr) device->SetInputReportHandler({});
            link_.State().Connected = false;
            link_.ShowNoConnection(device != nullptr ? device->OpenFailure() : std::string());
        }
    }
}

bool HidController::JvHidDeviceController1Enumerate(const HidDeviceInfo& HidDev, int Idx) {
    DeviceListEntry entry;
    entry.DisplayName = DisplayName(HidDev);
    entry.Device = CheckOut(Idx);
    list_.push_back(std::move(entry));
    link_.ShowDisconnected();
    link_.State().Connected = false;
    return true;
}

std::unique_ptr<HidDevice> HidController::CheckOut(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= present_.size()) return nullptr;
    const HidDeviceInfo& info = present_[static_cast<std::size_t>(index)];
    // Nothing needs the other devices; they are listed but never opened.
    if (info.Product != kAmplifierName) return nullptr;
    try {
        return backend_.CheckOut(info);
    } catch (...) {
        return nullptr;
    }
}

}  // namespace karvo
