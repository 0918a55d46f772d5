#include "readout/status_indicator.h"

#include "protocol/device_link.h"

namespace karvo {

IndicatorFace StatusIndicator(const std::string& goodText, bool good, const std::string& badText) {
    return good ? IndicatorFace{goodText, colour::LightGreen}
                : IndicatorFace{badText, colour::LightRed};
}

}  // namespace karvo
