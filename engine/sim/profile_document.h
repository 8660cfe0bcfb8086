// A profile (INI) file in memory: every line as it was, with what the profile
// functions make of it. Edits change only the lines they must, so comments, blank
// lines and hand-written sections survive every write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/types.h"

namespace sim {

class ProfileDocument {
public:
    // Text decoded from the file; '\r' and '\n' end lines.
    static ProfileDocument Parse(std::u16string_view text);
    engine::String Serialize() const;

    struct Entry {
        engine::String name;
        std::optional<engine::String> value;  // nothing for a line without "="
    };

    // The first section of that name (any letter case), or nothing.
    std::optional<size_t> FindSection(std::u16string_view name) const;
    // The first key of that name in that section.
    std::optional<Entry> FindKey(std::u16string_view section, std::u16string_view key) const;
    // The entries of the first section of that name: keys and lines without "=", no comments.
    std::vector<Entry> SectionEntries(std::u16string_view section) const;
    std::vector<engine::String> SectionNames() const;

    void SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    void DeleteKey(std::u16string_view section, std::u16string_view key);
    void DeleteSection(std::u16string_view section);
    // Replaces every entry of the section with these ("key=value" or "key").
    void ReplaceSection(std::u16string_view section, const std::vector<engine::String>& entries);

private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    struct Line {
        engine::String text;
        Kind kind = Kind::Other;
        engine::String name;                  // section or key name, trimmed
        std::optional<engine::String> value;  // key value, trimmed
    };
    static Line Classify(engine::String text);
    // Index of a section's header line and one past its last line.
    std::optional<std::pair<size_t, size_t>> SectionSpan(std::u16string_view name) const;
    size_t AppendSection(std::u16string_view name);
    // Where a new key of the section goes: after its last non-blank line.
    size_t InsertPoint(std::pair<size_t, size_t> span) const;

    std::vector<Line> lines_;
    engine::String newline_ = u"\r\n";
    bool endsWithNewline_ = true;
};

}  // namespace sim
