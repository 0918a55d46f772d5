#include "settings/ini_file.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

#include "settings/entry_check.h"

namespace karvo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool HasLineBreak(std::string_view s) {
    return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

// A line that opens a section. `name` is empty for a "[" line without its "]", which opens
// a section that no name matches (its keys never count for the section before it).
struct SectionLine {
    bool opens = false;
    bool named = false;
    std::string_view name;
};

SectionLine ParseSection(std::string_view line) {
    SectionLine s;
    line = Trim(line);
    if (line.empty() || line.front() != '[') return s;
    s.opens = true;
    const std::size_t close = line.find(']');
    if (close != std::string_view::npos) {
        s.named = true;
        s.name = line.substr(1, close - 1);
    }
    return s;
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> ParseKey(std::string_view line) {
    const std::string_view t = Trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    KeyLine k{Trim(t.substr(0, eq)), Trim(t.substr(eq + 1))};
    if (k.key.empty()) return std::nullopt;
    return k;
}

// Bytes of the UTF-8 character at `s[i]`; 1 for a byte that does not begin a valid one, so
// any text, valid or not, advances.
std::size_t CharLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 1;
    if (b >= 0xC2 && b <= 0xDF)
        n = 2;
    else if (b >= 0xE0 && b <= 0xEF)
        n = 3;
    else if (b >= 0xF0 && b <= 0xF4)
        n = 4;
    if (i + n > s.size()) return 1;
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    }
    return n;
}

std::string ValueText(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    std::size_t bytes = 0;
    for (std::size_t chars = 0; bytes < value.size() && chars < IniFile::kMaxValueChars; ++chars) {
        bytes += CharLength(value, bytes);
    }
    return std::string(value.substr(0, bytes));
}

std::string WriteError(const std::string& path) { return "Unable to write to " + path; }

// A save's temporary file: "." + the file's name + "." + hex digits + ".tmp".
bool IsTemporaryOf(const std::string& name, const std::string& file) {
    const std::string head = "." + file + ".";
    const std::string tail = ".tmp";
    if (name.size() <= head.size() + tail.size()) return false;
    if (name.compare(0, head.size(), head) != 0) return false;
    if (name.compare(name.size() - tail.size(), tail.size(), tail) != 0) return false;
    for (std::size_t i = head.size(); i < name.size() - tail.size(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

// Removes what saves of `target` killed half-way left behind. A save takes milliseconds, so
// a temporary untouched for an hour belongs to no save still running.
void RemoveStaleTemporaries(const fs::path& folder, const fs::path& target) {
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    const std::string file = target.filename().string();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path p = it->path();
        if (!IsTemporaryOf(p.filename().string(), file)) continue;
        std::error_code e;
        if (!fs::is_regular_file(fs::symlink_status(p, e))) continue;
        const auto written = fs::last_write_time(p, e);
        if (!e && now - written > std::chrono::hours(1)) fs::remove(p, e);
    }
}

}  // namespace

void IniFile::LoadText(std::string_view text) {
    lines_.clear();
    bom_.clear();
    newline_ = "\r\n";
    if (text.substr(0, kBom.size()) == kBom) {
        bom_ = std::string(kBom);
        text.remove_prefix(kBom.size());
    }
    bool newlineSeen = false;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        if (lf == std::string_view::npos) {
            lines_.push_back({std::string(text), ""});
            break;
        }
        std::string_view line = text.substr(0, lf);
        std::string eol = "\n";
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
            eol = "\r\n";
        }
        if (!newlineSeen) {
            newline_ = eol;
            newlineSeen = true;
        }
        lines_.push_back({std::string(line), std::move(eol)});
        text.remove_prefix(lf + 1);
    }
}

IniFile::LoadResult IniFile::LoadFile(const std::string& path, std::string* error) {
    LoadText({});
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (st.type() == fs::file_type::not_found) return LoadResult::Missing;
    const auto fail = [&](const std::string& why) {
        if (error) *error = "Unable to read " + path + why;
        return LoadResult::Failed;
    };
    if (ec) return fail("");
    if (st.type() == fs::file_type::directory) return fail(": it is a folder");
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > kMaxFileBytes) return fail(": the file is too large");

    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("");
    std::string text;
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxFileBytes) return fail(": the file is too large");
    }
    if (in.bad()) return fail("");
    LoadText(text);
    return LoadResult::Loaded;
}

std::string IniFile::Text() const {
    std::string out = bom_;
    for (const Line& l : lines_) {
        out += l.text;
        out += l.eol;
    }
    return out;
}

bool IniFile::Save(const std::string& path, std::string* error) const {
    const auto fail = [&]() {
        if (error) *error = WriteError(path);
        return false;
    };
    if (path.empty()) return fail();

    // A link is kept: its target is what gets replaced.
    std::error_code ec;
    fs::path target(path);
    if (fs::is_symlink(target, ec)) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    const std::string text = Text();
    const auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    fs::path temp;
    std::FILE* f = nullptr;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        std::ostringstream name;
        name << '.' << target.filename().string() << '.' << std::hex << (seed + attempt) << ".tmp";
        temp = folder / name.str();
        f = std::fopen(temp.string().c_str(), "wbx");
        if (!f && fs::exists(temp, ec)) continue;  // taken: try the next name
        if (!f) break;
    }
    if (!f) return fail();

    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
#if defined(__unix__) || defined(__APPLE__)
    ok = ok && ::fsync(::fileno(f)) == 0;
#endif
    ok = std::fclose(f) == 0 && ok;
    if (ok) {
        const fs::file_status old = fs::status(target, ec);
        if (!ec && fs::is_regular_file(old)) {
            fs::permissions(temp, old.permissions(), fs::perm_options::replace, ec);
        }
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        return fail();
    }
    RemoveStaleTemporaries(folder, target);
    return true;
}

std::optional<IniFile::SectionSpan> IniFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const SectionLine s = ParseSection(lines_[i].text);
        if (!s.opens || !s.named || !SameName(s.name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !ParseSection(lines_[end].text).opens) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKey(const SectionSpan& span, std::string_view key) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const auto k = ParseKey(lines_[i].text);
        if (k && SameName(k->key, key)) return i;
    }
    return std::nullopt;
}

bool IniFile::SectionExists(std::string_view section) const {
    return FindSection(section).has_value();
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    const auto span = FindSection(section);
    return span && FindKey(*span, key);
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& l : lines_) {
        const SectionLine s = ParseSection(l.text);
        if (s.opens && s.named) names.emplace_back(s.name);
    }
    return names;
}

std::vector<std::string> IniFile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const auto span = FindSection(section)) {
        for (std::size_t i = span->header + 1; i < span->end; ++i) {
            if (const auto k = ParseKey(lines_[i].text)) names.emplace_back(k->key);
        }
    }
    return names;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& def) const {
    const auto span = FindSection(section);
    if (!span) return def;
    const auto at = FindKey(*span, key);
    if (!at) return def;
    return ValueText(ParseKey(lines_[*at].text)->value);
}

std::optional<std::int32_t> IniFile::ParseInteger(std::string_view text) {
    text = Trim(text);
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        std::uint64_t v = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return std::nullopt;
            v = v * 16 + static_cast<unsigned>(d);
            if (v > 0xFFFFFFFFull) return std::nullopt;
        }
        auto u = static_cast<std::uint32_t>(v);
        if (negative) u = 0u - u;
        return static_cast<std::int32_t>(u);
    }
    return TryStrToInt(std::string(text));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
    const auto span = FindSection(section);
    if (!span) return def;
    const auto at = FindKey(*span, key);
    if (!at) return def;
    return ParseInteger(ValueText(ParseKey(lines_[*at].text)->value)).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

namespace {
// The stored form of a value: one that the reader would change (blanks around it, or a
// pair of enclosing quotes of its own) is put in double quotes, which the reader removes.
std::string StoredValue(std::string_view value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (!value.empty() && (blank(value.front()) || blank(value.back()) || quoted)) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}
}  // namespace

bool IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view rawValue) {
    const std::string stored = StoredValue(rawValue);
    const std::string_view value = stored;
    const std::string_view s = Trim(section);
    const std::string_view k = Trim(key);
    if (s.empty() || k.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(rawValue) || section.find(']') != std::string_view::npos ||
        key.find('=') != std::string_view::npos || k.front() == '[' || k.front() == ';') {
        return false;
    }

    const auto span = FindSection(section);
    if (span) {
        if (const auto at = FindKey(*span, key)) {
            Line& line = lines_[*at];
            line.text = std::string(ParseKey(line.text)->key) + "=" + std::string(value);
            return true;
        }
        // After the last line of the section that is neither blank nor a comment, so that
        // blank lines and a comment leading into the next section stay before it.
        std::size_t after = span->header;
        for (std::size_t i = span->header + 1; i < span->end; ++i) {
            const std::string_view t = Trim(lines_[i].text);
            if (!t.empty() && t.front() != ';') after = i;
        }
        if (lines_[after].eol.empty()) lines_[after].eol = newline_;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1,
                      Line{std::string(key) + "=" + std::string(value), newline_});
        return true;
    }

    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = newline_;
    lines_.push_back({"[" + std::string(section) + "]", newline_});
    lines_.push_back({std::string(key) + "=" + std::string(value), newline_});
    return true;
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    return WriteString(section, key, value ? "1" : "0");
}

}  // namespace karvo
