// Texts and choices the pages share: written by the settings page, read by the readout.
#pragma once

#include <string>

namespace karvo {

struct SharedDisplayState {
    std::string UnitSuffix;        // " N", " kg", ...; written only by UpdateUnitLabels
    std::string OutputUnitSuffix;  // " V" or " mA"; written only by Rg_AnalogModeClick
    int Decimals = 0;              // selected index of Cb_TensDecp (0..4), -1 with no selection
};

}  // namespace karvo
