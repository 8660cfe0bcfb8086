// One profile (INI) file held in memory: its bytes, and the sections and entries the
// Windows profile functions see in them. Edits change only the lines they must, so
// comments, blank lines and every line no edit touches stay byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/sim/code_page.h"

namespace sim {

// One UTF-16 code unit of profile text on its way back to a narrow caller, holding
// the code-page bytes of the character that starts there (none for the second unit
// of a surrogate pair). The narrow functions cut and count in these units first.
struct ProfileUnit {
    char bytes[4] = {};
    std::uint8_t count = 0;
    bool IsNul() const { return count == 1 && bytes[0] == '\0'; }
    static ProfileUnit Nul() { return ProfileUnit{{}, 1}; }
};
using ProfileUnits = std::vector<ProfileUnit>;

// A key to add: name and value in the file's encoding.
using ProfileKey = std::pair<std::string, std::string>;

class ProfileDocument {
public:
    // A line the profile functions take for a key: "name=value", a line without "="
    // (no value) or a comment (a name starting with ';'). Views point into Bytes().
    struct Entry {
        std::string_view name;                  // blanks trimmed, cut at a NUL
        std::optional<std::string_view> value;  // blanks trimmed, cut at a NUL
        std::size_t lineBegin = 0;              // offsets into Bytes()
        std::size_t lineEnd = 0;                // before the line break
        std::size_t lineNext = 0;               // after it
        std::size_t nameBegin = 0;              // the trimmed name as written
        std::size_t nameEnd = 0;
        bool IsComment() const { return !name.empty() && name.front() == ';'; }
    };
    // A "[name]" line and what follows it up to the next one. What comes before the
    // first such line is a section of its own, with an empty name and no header.
    struct Section {
        std::string_view name;
        std::size_t begin = 0;         // the header line, or the start of the text
        std::size_t end = 0;           // the next section's header line, or the end
        bool hasText = false;          // a line with more than blanks (the header counts)
        std::size_t lastTextEnd = 0;   // end of the last such line, before its break
        std::size_t lastTextNext = 0;  // after its break
        std::vector<Entry> entries;
    };

    // The bytes of the file; empty for a file that does not exist.
    ProfileDocument(const CodePage& ansi, std::string bytes);
    ProfileDocument(const ProfileDocument&) = delete;
    ProfileDocument& operator=(const ProfileDocument&) = delete;

    const std::string& Bytes() const { return bytes_; }
    // Empty only for an empty file: any other file has the nameless first section.
    const std::vector<Section>& Sections() const { return sections_; }

    // Names compare as the profile functions compare them: ASCII letters in either
    // case, every other character (both bytes of a double-byte one) exactly.
    bool SameName(std::string_view a, std::string_view b) const;
    // Without leading and trailing blanks: tab, line breaks, ^Z and space.
    std::string_view Trim(std::string_view text) const;
    std::string_view TrimLeft(std::string_view text) const;
    // Offset of the first character c (never a byte inside a double-byte
    // character), or npos.
    std::size_t Find(std::string_view text, char c) const;
    // Whether the last character is c (not the trail byte of a double-byte one).
    bool EndsWith(std::string_view text, char c) const;
    // Text of the ANSI code page in the file's encoding (a file that starts with a
    // UTF-8 byte-order mark is UTF-8 whatever the code page).
    std::string FromAnsi(std::string_view ansi) const;
    // At most limit units of text (in the file's encoding), as ANSI characters.
    ProfileUnits ToUnits(std::string_view text, std::size_t limit) const;

    // --- edits, with names and values in the file's encoding
    // The key's line becomes "name=value", the name as it was written.
    void SetValue(std::size_t section, std::size_t entry, std::string_view value);
    // New key lines after the last line of the section that holds more than blanks.
    void AddKeys(std::size_t section, const std::vector<ProfileKey>& keys);
    // A new section at the end of the file (no header line for the nameless one).
    void AddSection(std::string_view name, const std::vector<ProfileKey>& keys);
    void RemoveEntry(std::size_t section, std::size_t entry);
    // The section's keys and lines without "="; its comments stay.
    void RemoveKeys(std::size_t section);
    void RemoveSection(std::size_t section);

private:
    enum class Encoding { SingleByte, DoubleByte, Utf8 };

    std::size_t CharLength(const char* at, const char* end) const;
    bool EndsWithLineBreak() const;
    void CompleteLastCharacter();
    std::string_view CutAtNul(std::string_view text) const;
    std::string JoinLines(const std::vector<std::string>& lines) const;
    void Parse();
    void ParseLine(std::size_t begin, std::size_t end, std::size_t next);
    void Replace(std::size_t begin, std::size_t end, std::string_view with);

    const CodePage& ansi_;
    CodePage utf8_{65001};
    std::string bytes_;
    bool utf8File_ = false;
    Encoding encoding_ = Encoding::SingleByte;
    std::size_t textBegin_ = 0;       // after the byte-order mark
    std::string lineBreak_ = "\r\n";  // the file's first, for the lines added
    std::vector<Section> sections_;
};

}  // namespace sim
