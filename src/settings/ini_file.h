// INI text files as the Windows profile functions read and write them.
//
// Section and key names are matched without regard to case (ASCII) and to blanks around them;
// the first matching section and the first matching key count. A value is the text after the
// first "=", without blanks around it and without one pair of enclosing quotes, at most 2047
// characters long. Writing replaces a present key where it stands, adds a missing key after the
// last line of its section that is neither blank nor a comment, adds a missing section at the end,
// and leaves every other line (comments, blank lines, other sections, unknown keys, line ends) as
// it was. CRLF and LF files read alike; new lines take the file's own line end (CRLF in a new
// file).
//
// Saving writes the whole text to a temporary file in the same folder and renames it over the
// old one, so a failed save leaves the old file whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace karvo {

class IniFile {
  public:
    enum class LoadResult {
        Loaded,   // the file was read
        Missing,  // there is no such file: the content is empty
        Failed,   // the file exists but could not be read: the content is empty
    };

    static constexpr std::size_t kMaxValueChars = 2047;
    // Larger files are not read (LoadResult::Failed).
    static constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

    IniFile() = default;
    explicit IniFile(std::string_view text) { LoadText(text); }

    void LoadText(std::string_view text);
    LoadResult LoadFile(const std::string& path, std::string* error = nullptr);
    // The whole file as it would be saved.
    std::string Text() const;
    // Atomic save. On failure returns false, leaves any old file untouched and puts
    // "Unable to write to <path>" into `error`.
    bool Save(const std::string& path, std::string* error = nullptr) const;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    // The value, or `def` when the key is missing (a present empty value gives "").
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& def) const;
    // Decimal or 0x hexadecimal (32 bits, 0xFFFFFFFF is -1); anything else gives `def`.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    // Read as an integer: non-zero is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // False, and nothing changed, for a name or value that the file could not hold: an empty
    // name, a line break anywhere, "]" in a section name, "=" in a key, a key beginning with
    // "[" or ";".
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    // The integer reading of ReadInteger; empty when the text is not an integer.
    static std::optional<std::int32_t> ParseInteger(std::string_view text);

  private:
    struct Line {
        std::string text;  // without its line end
        std::string eol;   // "\r\n", "\n", or "" for a last line without one
    };
    struct SectionSpan {
        std::size_t header;  // index of the section line
        std::size_t end;     // one past its last line
    };

    std::optional<SectionSpan> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const SectionSpan& span, std::string_view key) const;

    std::vector<Line> lines_;
    std::string bom_;
    std::string newline_ = "\r\n";
};

}  // namespace karvo
