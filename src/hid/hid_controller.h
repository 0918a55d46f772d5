// Discovery and binding: the device list of every HID device present, and the binding of
// the amplifier named "KARVO" to the device link. Runs on the UI thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "hid/hid_backend.h"
#include "protocol/device_link.h"

namespace karvo {

// One entry of the device list: its display name and the device object checked out for
// it, or none.
struct DeviceListEntry {
    std::string DisplayName;
    std::unique_ptr<HidDevice> Device;
};

class HidController {
  public:
    // The product string of the amplifier; only devices named exactly so are opened.
    static constexpr const char* kAmplifierName = "KARVO";

    HidController(HidBackend& backend, DeviceLink& link);
    // Releases every device. Leaves the link alone, which may already be gone.
    ~HidController();
    HidController(const HidController&) = delete;
    HidController& operator=(const HidController&) = delete;

    // Discovery: unbinds, releases and clears the list, enumerates anew and binds every
    // entry named "KARVO", in list order.
    void JvHidDeviceController1DeviceChange();
    // Adds one device of the enumeration to the list; true to go on enumerating.
    bool JvHidDeviceController1Enumerate(const HidDeviceInfo& HidDev, int Idx);

    // Enumerates and runs discovery when the set of devices differs from the one of the
    // last discovery (or when there was none yet). Returns whether discovery ran.
    bool CheckForChanges();

    // Unbinds the link and releases every device (the end of the program).
    void ReleaseAll();

    const std::vector<DeviceListEntry>& ListBox1() const { return list_; }

    // "Device VID=%04X PID=%04X" for a device without product string, else the string.
    static std::string DisplayName(const HidDeviceInfo& device);

  private:
    std::vector<HidDeviceInfo> EnumerateSafely();
    std::unique_ptr<HidDevice> CheckOut(int index);
    void ReleaseDevices();

    HidBackend& backend_;
    DeviceLink& link_;
    std::vector<DeviceListEntry> list_;   // ListBox1
    std::vector<HidDeviceInfo> present_;  // the enumeration the handler indexes into
    std::vector<HidDeviceInfo> lastSet_;  // sorted, as of the last discovery
    bool discovered_ = false;
};

}  // namespace karvo
