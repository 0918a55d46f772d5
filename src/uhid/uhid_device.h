// One HID device of the kernel's uhid driver (/dev/uhid): created with a name, IDs and a
// report descriptor, fed with input reports, asked for the kernel's events. Linux only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct uhid_event;

namespace karvo::uhid {

struct UhidIdentity {
    std::string Name;  // the product string hidapi lists
    std::uint16_t Bus = 0;
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    std::uint32_t Version = 0;
    std::vector<std::uint8_t> Descriptor;
};

class UhidDevice {
  public:
    UhidDevice() = default;
    ~UhidDevice() { Destroy(); }
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // Opens /dev/uhid and creates the device. False with `error` set when it cannot.
    bool Create(const UhidIdentity& identity, std::string& error);
    // Removes the device from the kernel (the unplug) and closes /dev/uhid. Idempotent.
    void Destroy();
    bool Created() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // One input report, report ID byte first. False when the kernel refused it.
    bool SendInput(const std::uint8_t* data, std::size_t size);
    // Reads one event; false when none could be read.
    bool ReadEvent(uhid_event& event);
    // Replies to GET_REPORT / SET_REPORT requests.
    bool ReplyGetReport(std::uint32_t id, std::uint16_t err, const std::uint8_t* data,
                        std::size_t size);
    bool ReplySetReport(std::uint32_t id, std::uint16_t err);

  private:
    bool Write(const uhid_event& event);
    int fd_ = -1;
};

}  // namespace karvo::uhid
