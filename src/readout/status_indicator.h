// The two-state coloured text box: a good text on light green or a bad text on light red.
#pragma once

#include <cstdint>
#include <string>

namespace karvo {

// What a status box shows; text and colour are always set together.
struct IndicatorFace {
    std::string text;
    std::uint32_t colour = 0;  // Windows colour value 0x00BBGGRR

    bool operator==(const IndicatorFace& o) const { return text == o.text && colour == o.colour; }
    bool operator!=(const IndicatorFace& o) const { return !(*this == o); }
};

IndicatorFace StatusIndicator(const std::string& goodText, bool good, const std::string& badText);

}  // namespace karvo
