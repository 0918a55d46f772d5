#include "app/language.h"

namespace karvo {

namespace {
struct Row {
    const char* control;
    const char* polish;
    const char* english;  // "" keeps the caption as it is
};

constexpr Row kCaptions[] = {
    {"Label_StatusTitle", "Status:", ""},
    {"Label_Status", "...", ""},
    {"Label_Acquisition", "Rejestracja do pliku:", "Acquisition to file:"},
    {"Label_ConnectionStatus", "Status połączenia", "Connection status"},
    {"BitBtn3", "Info", ""},
    {"tab:TabSheet_Reads", "Pomiary", "Measurements"},
    {"tab:TabSheet_Chart", "Wykres", "Chart"},
    {"tab:TabSheet_Acquisition", "Rejestracja", "Acquisition"},
    {"tab:TabSheet_Settings", "Ustawienia", "Settings"},
    {"StatusBarAcquisition", "NIEAKTYWNA", "INACTIVE"},
};
}  // namespace

std::vector<CaptionChange> Localizer::Apply(int n) {
    if (n != StringTable::kPolish && n != StringTable::kEnglish) n = StringTable::kPolish;
    std::vector<CaptionChange> changes;
    if (n == active_) return changes;
    for (const Row& r : kCaptions) {
        const char* text = n == StringTable::kEnglish ? r.english : r.polish;
        if (text[0] != '\0') changes.push_back({r.control, text});
    }
    active_ = n;
    strings_.SetLanguage(n);
    return changes;
}

}  // namespace karvo
