#include "app/string_table.h"

namespace karvo {

namespace {
struct Entry {
    const char* key;
    const char* polish;
    const char* english;
};

// Texts exactly as stored, trailing blanks included. In IDS_157 the backslash and the
// letter n are two characters of the text, not a line break.
constexpr Entry kEntries[] = {
    {"IDS_44", "Połączony",
     "Connected"},
    {"IDS_45", "Brak połączenia",
     "No connection"},
    {"IDS_46", "Rozłączony",
     "Disconnected"},
    {"IDS_49", "Wartość wytarowana",
     "Tare ok"},
    {"IDS_50", "Wartosc Min/Max zresetowana",
     "Min/max values reset"},
    {"IDS_67", "Błędne parametry",
     "Parameters error"},
    {"IDS_68", "Warning",
     "Warning"},
    {"IDS_88", "Wyjście = 0V dla wartości: ",
     "Output = 0V for value: "},
    {"IDS_89", "Wyjście = 10V dla wartości: ",
     "Output = 10V for value: "},
    {"IDS_94", "Wyjście = 4mA dla wartości: ",
     "Output = 4mA for value: "},
    {"IDS_92", "Wyjście = 20mA dla wartości: ",
     "Output = 20mA for value: "},
    {"IDS_97", "Wydrukowac wykres?",
     "Print the chart ?"},
    {"IDS_98", "Drukowanie",
     "Print"},
    {"IDS_101", "AKTYWNY",
     "ACTIVE"},
    {"IDS_102", "NIEKATYWNY",
     "INACTIVE"},
    {"IDS_157", "Lewy przycisk myszy: wciśnij i przeciągnij od lewgo górnego rogu do prawego dolnego by powiększyć zaznaczony fragment lub odwrotnie by pomniejszyć.\\nPrawy przycisk myszy: wciśnij i przesuwaj wykres w lewo lub prawo.",
     "Left mouse button: press and drag from the upper left to the lower right corner to enlarge selected text, or vice versa to zoom out. \\ N Right mouse button: press and move the chart to the left or right."},
    {"IDS_158", "Porady dla wykresu",
     "Chart tips"},
};
}  // namespace

std::string StringTable::Lookup(std::string_view key) const {
    for (const Entry& e : kEntries) {
        if (key == e.key) {
            if (language_ == kEnglish && e.english[0] != '\0') return e.english;
            return e.polish;
        }
    }
    return std::string(key);
}

}  // namespace karvo
