// The main window's translatable captions and the language switch.
#pragma once

#include <string>
#include <vector>

#include "app/string_table.h"

namespace karvo {

// One caption of the main window as the chosen language sets it.
struct CaptionChange {
    std::string control;  // objectName; "tab:<page objectName>" for a page's tab caption
    std::string text;
};

class Localizer {
public:
    explicit Localizer(StringTable& strings) : strings_(strings) {}

    int Active() const { return active_; }

    // Makes language n (1 Polish, 2 English) active and returns the captions to set;
    // nothing when n is already active. Empty cells of a language leave a caption as it is.
    std::vector<CaptionChange> Apply(int n);

    // The language list's index for a stored `Language` option: 0 Polish, 1 English; any
    // other stored value falls back to Polish.
    static int ListIndexForOption(long long stored) { return stored == 1 ? 1 : 0; }

private:
    StringTable& strings_;
    int active_ = StringTable::kPolish;
};

}  // namespace karvo
