// The HID layer as discovery and the transport see it: a backend that lists the HID
// devices present and checks devices out, and the checked-out device objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/transport.h"

namespace karvo {

// One HID device as the backend lists it.
struct HidDeviceInfo {
    std::string Product;  // product string, UTF-8; empty when the device has none
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    std::string Path;  // the backend's name for the device, unique among those present
};

bool operator==(const HidDeviceInfo& a, const HidDeviceInfo& b);
inline bool operator!=(const HidDeviceInfo& a, const HidDeviceInfo& b) { return !(a == b); }

// A device checked out to the program. Releasing it is destroying it: the destructor
// stops its reader and closes its handles.
class HidDevice : public OutputDevice {
  public:
    // `report` is the whole input report as read (byte 0 the report ID), `length` the
    // number of bytes read. Always called on the UI thread, one report at a time.
    using ReportHandler = std::function<void(const std::uint8_t* report, std::size_t length)>;

    virtual const HidDeviceInfo& Info() const = 0;
    // Whether the device could be opened for reading and writing.
    virtual bool OpenedReadWrite() const = 0;
    // The operating system's reason when it could not; empty otherwise.
    virtual std::string OpenFailure() const { return {}; }
    // Input report length in bytes, counting the report ID byte.
    virtual int InputReportLength() const = 0;
    // Setting a handler starts reading when the device is open for reading and writing;
    // an empty handler stops reading. On return from clearing, the old handler is never
    // called again.
    virtual void SetInputReportHandler(ReportHandler handler) = 0;
};

class HidBackend {
  public:
    virtual ~HidBackend() = default;
    // Every HID device present, in a stable order.
    virtual std::vector<HidDeviceInfo> Enumerate() = 0;
    // Opens the device for reading and writing. A device that does not open is still
    // handed out, with OpenedReadWrite() false and the reason; nullptr only when there is
    // nothing to hand out at all.
    virtual std::unique_ptr<HidDevice> CheckOut(const HidDeviceInfo& info) = 0;
    // Backends that learn of a change on their own call the listener, on any thread: the
    // simulated amplifier being unplugged, or a device whose read failed (it may be
    // leaving). The listener then looks at what is present.
    virtual void SetChangeListener(std::function<void()> /*listener*/) {}
    // True when the devices are the system's, so the system's hot-plug notices apply.
    virtual bool UsesSystemDevices() const { return true; }
};

}  // namespace karvo
