#include "settings/unit_labels.h"

namespace karvo {

namespace labels {
const char* const kVoutMinDesign = "Wyjście = 0 dla wartości:";
const char* const kVoutMaxDesign = "Wyjście = 10V dla wartości:";
const char* const kUnitDesign = "[N]";
const char* const kGroupVoltage = "Wyjście analogowe 0-10V";
const char* const kGroupCurrent = "Wyjście analogowe (0)4-20mA";
}  // namespace labels

const char* UnitSuffixFor(int unitIndex) {
    static const char* const kSuffixes[] = {" N", " kN", " g", " kg", " T", " F"};
    if (unitIndex < 0 || unitIndex > 5) return nullptr;
    return kSuffixes[unitIndex];
}

void UnitLabels::UpdateUnitLabels(int unitIndex) {
    if (const char* suffix = UnitSuffixFor(unitIndex)) shared_.UnitSuffix = suffix;
    label31_ = shared_.UnitSuffix;
    label32_ = shared_.UnitSuffix;
}

void UnitLabels::Rg_AnalogModeClick(bool voltageChecked, bool currentChecked) {
    if (voltageChecked)
        current_ = false;
    else if (currentChecked)
        current_ = true;

    if (current_) {
        voutMin_ = strings_.Lookup("IDS_94");
        voutMax_ = strings_.Lookup("IDS_92");
        shared_.OutputUnitSuffix = " mA";
        if (groupCaption_) groupCaption_(labels::kGroupCurrent);
    } else {
        voutMin_ = strings_.Lookup("IDS_88");
        voutMax_ = strings_.Lookup("IDS_89");
        shared_.OutputUnitSuffix = " V";
        if (groupCaption_) groupCaption_(labels::kGroupVoltage);
    }
}

}  // namespace karvo
