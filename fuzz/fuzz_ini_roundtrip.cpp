// The INI reader, a write and a re-read. Whatever the first read gives, writing it back
// (into the same file and into a new one) and reading the written text again must give
// the same; a refused write changes nothing; writing one key leaves every other as it was.
//
// Input: the INI text up to the first zero byte; after it, writes separated by zero bytes,
// each "section\x01key\x01value".
//
// KARVO_FUZZ_INI_LAX=1 in the environment leaves out values the writer does not quote
// (blanks around, an enclosing quote pair), to look past that while it stands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_common.h"
#include "settings/ini_file.h"

namespace {

using karvo::IniFile;
using karvo::fuzz::Fail;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// The name as the file matches it: blanks around dropped, ASCII letters in lower case.
std::string Folded(std::string_view s) {
    std::string out(Trim(s));
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

struct Entry {
    std::string section, key, value;
    bool checked = true;  // false for a written value the file cannot hold as it is
};
using Entries = std::map<std::pair<std::string, std::string>, Entry>;

// Every key of every section as the first matching section and key give it.
Entries ReadAll(const IniFile& ini) {
    Entries all;
    for (const std::string& section : ini.SectionNames()) {
        if (Trim(section).empty()) continue;
        for (const std::string& key : ini.KeyNames(section)) {
            auto id = std::make_pair(Folded(section), Folded(key));
            if (all.count(id)) continue;
            if (!ini.ValueExists(section, key)) Fail("listed key not readable", section, key);
            const std::string value = ini.ReadString(section, key, {});
            all.emplace(std::move(id), Entry{section, key, value});
        }
    }
    return all;
}

void ExpectRead(const IniFile& ini, const Entries& expected, const char* what) {
    for (const auto& [id, e] : expected) {
        if (!e.checked) continue;
        if (!ini.ValueExists(e.section, e.key)) Fail(what, e.section + "|" + e.key, "(missing)");
        const std::string got = ini.ReadString(e.section, e.key, {});
        if (got != e.value) Fail(what, e.section + "|" + e.key + "|" + e.value, got);
    }
}

// A value that reads back as written: no blanks around, no enclosing quote pair, not
// longer than a value may be.
bool Holdable(std::string_view v) {
    if (Trim(v).size() != v.size()) return false;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return false;
    return v.size() <= IniFile::kMaxValueChars;
}

bool Lax() {
    static const bool lax = [] {
        const char* v = std::getenv("KARVO_FUZZ_INI_LAX");
        return v && *v == '1';
    }();
    return lax;
}

std::vector<std::string_view> Split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = s.find(sep);
        parts.push_back(s.substr(0, at));
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string_view text = input.substr(0, zero);
    const std::string_view writes =
        zero == std::string_view::npos ? std::string_view{} : input.substr(zero + 1);

    // Reading and writing nothing keeps every byte.
    IniFile first(text);
    if (first.Text() != text) Fail("text not kept", text, first.Text());
    const Entries read = ReadAll(first);

    // Written back where they stand, and into a new file. Only a name or value holding a
    // lone carriage return (which would end the line) may be refused.
    IniFile same = first;
    IniFile fresh;
    Entries readable = read;
    std::size_t accepted = 0;
    for (auto& [id, e] : readable) {
        const bool inPlace = same.WriteString(e.section, e.key, e.value);
        const bool inNew = fresh.WriteString(e.section, e.key, e.value);
        if (inPlace != inNew) Fail("write accepted in one file only", e.key, e.value);
        const bool lineBreak = (e.section + e.key + e.value).find('\r') != std::string::npos;
        if (!inPlace && !lineBreak) Fail("value read cannot be written back", e.key, e.value);
        // A refused write keeps the old line, which still reads as before (in place only).
        e.checked = inPlace && (!Lax() || Holdable(e.value));
        accepted += inPlace ? 1 : 0;
    }
    ExpectRead(IniFile(same.Text()), readable, "rewritten in place, read differs");
    ExpectRead(IniFile(fresh.Text()), readable, "written into a new file, read differs");
    if (ReadAll(IniFile(fresh.Text())).size() != accepted) Fail("new file has other keys");

    // The input's own writes, in order, over the first file.
    Entries expected = readable;
    for (auto& [id, e] : expected) e.checked = true;  // the first file still holds them all
    IniFile edited = first;
    if (!writes.empty()) {
        for (std::string_view op : Split(writes, '\0')) {
            const auto f = Split(op, '\x01');
            if (f.size() != 3) continue;
            const std::string before = edited.Text();
            if (!edited.WriteString(f[0], f[1], f[2])) {
                if (edited.Text() != before) Fail("refused write changed the file", op);
                continue;
            }
            // Values the file cannot hold as they are (checked only in place above).
            Entry e{std::string(f[0]), std::string(f[1]), std::string(f[2]), Holdable(f[2])};
            expected[{Folded(f[0]), Folded(f[1])}] = std::move(e);
        }
    }
    const IniFile reread(edited.Text());
    ExpectRead(reread, expected, "after writes, read differs");
    for (const auto& [id, e] : expected) {
        if (!reread.ValueExists(e.section, e.key)) Fail("written key missing", e.section, e.key);
    }
    return 0;
}
