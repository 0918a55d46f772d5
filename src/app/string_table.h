// The program's string table: texts looked up by key in the active language.
#pragma once

#include <string>
#include <string_view>

namespace karvo {

class StringTable {
public:
    // Language numbers as the language list counts them: 1 Polish, 2 English.
    static constexpr int kPolish = 1;
    static constexpr int kEnglish = 2;

    int Language() const { return language_; }
    void SetLanguage(int language) { language_ = (language == kEnglish) ? kEnglish : kPolish; }

    // The text of `key` in the active language; an empty English cell keeps the Polish
    // text. An unknown key gives the key itself.
    std::string Lookup(std::string_view key) const;
    std::string operator()(std::string_view key) const { return Lookup(key); }

private:
    int language_ = kPolish;
};

}  // namespace karvo
