#include "uhid/uhid_device.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace karvo::uhid {

bool UhidDevice::Create(const UhidIdentity& identity, std::string& error) {
    Destroy();
    if (identity.Descriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        error = "report descriptor too long";
        return false;
    }
    fd_ = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        error = std::string("cannot open /dev/uhid: ") + std::strerror(errno);
        return false;
    }
    uhid_event ev{};
    ev.type = UHID_CREATE2;
    auto& c = ev.u.create2;
    std::strncpy(reinterpret_cast<char*>(c.name), identity.Name.c_str(), sizeof(c.name) - 1);
    std::strncpy(reinterpret_cast<char*>(c.phys), "karvo-virtual-amplifier", sizeof(c.phys) - 1);
    c.rd_size = static_cast<std::uint16_t>(identity.Descriptor.size());
    c.bus = identity.Bus;
    c.vendor = identity.VendorId;
    c.product = identity.ProductId;
    c.version = identity.Version;
    c.country = 0;
    std::copy(identity.Descriptor.begin(), identity.Descriptor.end(), c.rd_data);
    if (!Write(ev)) {
        error = std::string("cannot create the uhid device: ") + std::strerror(errno);
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

void UhidDevice::Destroy() {
    if (fd_ < 0) return;
    uhid_event ev{};
    ev.type = UHID_DESTROY;
    Write(ev);
    ::close(fd_);
    fd_ = -1;
}

bool UhidDevice::SendInput(const std::uint8_t* data, std::size_t size) {
    if (size > UHID_DATA_MAX) return false;
    uhid_event ev{};
    ev.type = UHID_INPUT2;
    ev.u.input2.size = static_cast<std::uint16_t>(size);
    std::memcpy(ev.u.input2.data, data, size);
    return Write(ev);
}

bool UhidDevice::ReadEvent(uhid_event& event) {
    if (fd_ < 0) return false;
    std::memset(&event, 0, sizeof(event));
    const ssize_t n = ::read(fd_, &event, sizeof(event));
    return n > 0;
}

bool UhidDevice::ReplyGetReport(std::uint32_t id, std::uint16_t err, const std::uint8_t* data,
                                std::size_t size) {
    uhid_event ev{};
    ev.type = UHID_GET_REPORT_REPLY;
    ev.u.get_report_reply.id = id;
    ev.u.get_report_reply.err = err;
    size = std::min<std::size_t>(size, UHID_DATA_MAX);
    ev.u.get_report_reply.size = static_cast<std::uint16_t>(size);
    if (size > 0) std::memcpy(ev.u.get_report_reply.data, data, size);
    return Write(ev);
}

bool UhidDevice::ReplySetReport(std::uint32_t id, std::uint16_t err) {
    uhid_event ev{};
    ev.type = UHID_SET_REPORT_REPLY;
    ev.u.set_report_reply.id = id;
    ev.u.set_report_reply.err = err;
    return Write(ev);
}

bool UhidDevice::Write(const uhid_event& event) {
    if (fd_ < 0) return false;
    for (;;) {
        const ssize_t n = ::write(fd_, &event, sizeof(event));
        if (n < 0 && errno == EINTR) continue;
        return n == static_cast<ssize_t>(sizeof(event));
    }
}

}  // namespace karvo::uhid
