// The report descriptor of a Linux hidraw device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace karvo {

// The descriptor of the hidraw node `devnode` (/dev/hidrawN): from the HIDIOCGRDESCSIZE /
// HIDIOCGRDESC ioctls, else from <sysfsRoot>/class/hidraw/hidrawN/device/report_descriptor.
// Nothing when neither can be read, and always nothing on other systems.
std::optional<std::vector<std::uint8_t>> ReadHidrawReportDescriptor(
    const std::string& devnode, const std::string& sysfsRoot = "/sys");

}  // namespace karvo
