#include "hid/hidraw_descriptor.h"

#include <fstream>
#include <iterator>

#ifdef __linux__
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace karvo {

#ifdef __linux__
namespace {

std::optional<std::vector<std::uint8_t>> FromIoctl(const std::string& devnode) {
    const int fd = ::open(devnode.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<std::vector<std::uint8_t>> result;
    int size = 0;
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) == 0 && size > 0 && size <= HID_MAX_DESCRIPTOR_SIZE) {
        hidraw_report_descriptor descriptor{};
        descriptor.size = static_cast<__u32>(size);
        if (::ioctl(fd, HIDIOCGRDESC, &descriptor) == 0) {
            result.emplace(descriptor.value, descriptor.value + size);
        }
    }
    ::close(fd);
    return result;
}

std::optional<std::vector<std::uint8_t>> FromSysfs(const std::string& devnode,
                                                   const std::string& sysfsRoot) {
    const auto slash = devnode.find_last_of('/');
    const std::string node = slash == std::string::npos ? devnode : devnode.substr(slash + 1);
    if (node.empty()) return std::nullopt;
    std::ifstream file(sysfsRoot + "/class/hidraw/" + node + "/device/report_descriptor",
                       std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char c;
    while (bytes.size() <= HID_MAX_DESCRIPTOR_SIZE && file.get(c)) {
        bytes.push_back(static_cast<std::uint8_t>(c));
    }
    if (bytes.empty() || bytes.size() > HID_MAX_DESCRIPTOR_SIZE) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadHidrawReportDescriptor(const std::string& devnode,
                                                                    const std::string& sysfsRoot) {
    if (auto d = FromIoctl(devnode)) return d;
    return FromSysfs(devnode, sysfsRoot);
}

#else

std::optional<std::vector<std::uint8_t>> ReadHidrawReportDescriptor(const std::string&,
                                                                    const std::string&) {
    return std::nullopt;
}

#endif

}  // namespace karvo
