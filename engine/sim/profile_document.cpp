#include "engine/sim/profile_document.h"

#include <algorithm>
#include <cstring>

namespace sim {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Blanks are ASCII bytes; CharLength tells where one is really the trail of a lead byte.
bool IsBlankByte(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t Utf8Length(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    return 4;
}

}  // namespace

ProfileDocument::ProfileDocument(const CodePage& ansi, std::string bytes) : ansi_(ansi), bytes_(std::move(bytes)) {
    utf8File_ = bytes_.starts_with(kUtf8Mark);
    textBegin_ = utf8File_ ? kUtf8Mark.size() : 0;
    if (utf8File_ || ansi_.Number() == 65001)
        encoding_ = Encoding::Utf8;
    else if (ansi_.Number() == 932)
        encoding_ = Encoding::DoubleByte;
    CompleteLastCharacter();
    Parse();
}

// A double-byte lead byte takes the next byte with it whatever that byte is, as the
// code page conversion does: so a line break or a NUL right after one is no line
// break or NUL. A UTF-8 lead byte takes only the continuation bytes that follow it.
std::size_t ProfileDocument::CharLength(const char* at, const char* end) const {
    const auto b = static_cast<unsigned char>(*at);
    if (b < 0x80 || encoding_ == Encoding::SingleByte) return 1;
    const auto left = static_cast<std::size_t>(end - at);
    if (encoding_ == Encoding::DoubleByte) return std::min<std::size_t>(ansi_.IsLeadByte(b) ? 2 : 1, left);
    const std::size_t most = std::min(Utf8Length(b), left);
    std::size_t length = 1;
    while (length < most && (static_cast<unsigned char>(at[length]) & 0xC0) == 0x80) ++length;
    return length;
}

bool ProfileDocument::EndsWithLineBreak() const {
    const std::string_view text = std::string_view(bytes_).substr(textBegin_);
    return EndsWith(text, '\n') || EndsWith(text, '\r');
}

// A lead byte that ends the file has no second byte: Windows reads it as the
// default character and writes that back whenever it writes the file, so a line
// added after it stays a line of its own rather than becoming its second byte.
void ProfileDocument::CompleteLastCharacter() {
    if (encoding_ != Encoding::DoubleByte || bytes_.size() <= textBegin_) return;
    const char* const end = bytes_.data() + bytes_.size();
    const char* last = bytes_.data() + textBegin_;
    for (const char* p = last; p < end; p += CharLength(p, end)) last = p;
    if (last == end - 1 && ansi_.IsLeadByte(static_cast<unsigned char>(*last))) bytes_.back() = '?';
}

std::size_t ProfileDocument::Find(std::string_view text, char c) const {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = begin; p < end; p += CharLength(p, end))
        if (*p == c) return static_cast<std::size_t>(p - begin);
    return std::string_view::npos;
}

bool ProfileDocument::EndsWith(std::string_view text, char c) const {
    const char* const end = text.data() + text.size();
    const char* last = nullptr;
    for (const char* p = text.data(); p < end; p += CharLength(p, end)) last = p;
    return last && last == end - 1 && *last == c;
}

std::string_view ProfileDocument::CutAtNul(std::string_view text) const {
    return text.substr(0, std::min(Find(text, '\0'), text.size()));
}

std::string_view ProfileDocument::TrimLeft(std::string_view text) const {
    std::size_t i = 0;
    while (i < text.size() && IsBlankByte(static_cast<unsigned char>(text[i]))) ++i;
    return text.substr(i);
}

std::string_view ProfileDocument::Trim(std::string_view text) const {
    text = TrimLeft(text);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* last = begin;  // end of the last character that is no blank
    for (const char* p = begin; p < end;) {
        const std::size_t length = CharLength(p, end);
        if (length > 1 || !IsBlankByte(static_cast<unsigned char>(*p))) last = p + length;
        p += length;
    }
    return text.substr(0, static_cast<std::size_t>(last - begin));
}

bool ProfileDocument::SameName(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    const char* const aEnd = a.data() + a.size();
    const char* const bEnd = b.data() + b.size();
    for (const char *p = a.data(), *q = b.data(); p < aEnd;) {
        const std::size_t length = CharLength(p, aEnd);
        if (CharLength(q, bEnd) != length) return false;
        if (length == 1 ? AsciiLower(*p) != AsciiLower(*q) : std::memcmp(p, q, length) != 0) return false;
        p += length;
        q += length;
    }
    return true;
}

std::string ProfileDocument::FromAnsi(std::string_view ansi) const {
    if (!utf8File_ || ansi_.Number() == 65001) return std::string(ansi);
    return utf8_.Encode(ansi_.Decode(ansi));
}

ProfileUnits ProfileDocument::ToUnits(std::string_view text, std::size_t limit) const {
    ProfileUnits units;
    auto add = [&](std::string_view bytes, std::size_t count) {
        ProfileUnit unit;
        unit.count = static_cast<std::uint8_t>(std::min<std::size_t>(bytes.size(), sizeof unit.bytes));
        std::copy_n(bytes.begin(), unit.count, unit.bytes);
        units.push_back(unit);
        if (count == 2 && units.size() < limit) units.push_back(ProfileUnit{});  // the pair's second unit
    };
    if (!utf8File_ || ansi_.Number() == 65001) {
        const char* const end = text.data() + text.size();
        for (const char* p = text.data(); p < end && units.size() < limit;) {
            const std::size_t length = CharLength(p, end);
            add(std::string_view(p, length), encoding_ == Encoding::Utf8 && length == 4 ? 2 : 1);
            p += length;
        }
        return units;
    }
    // A UTF-8 file read on another code page: each character of the file becomes one
    // character of the code page ('?' where it has none), as the conversion does.
    std::size_t end = 0;
    for (std::size_t chars = 0; end < text.size() && chars < limit; ++chars)
        end += CharLength(text.data() + end, text.data() + text.size());
    const engine::String wide = utf8_.Decode(text.substr(0, end));
    const std::string narrow = ansi_.Encode(wide);
    std::size_t at = 0;
    for (std::size_t w = 0; w < wide.size() && units.size() < limit && at < narrow.size();) {
        const bool pair = wide[w] >= 0xD800 && wide[w] <= 0xDBFF && w + 1 < wide.size();
        std::size_t length = 1;
        if (ansi_.IsLeadByte(static_cast<unsigned char>(narrow[at])) && at + 1 < narrow.size()) length = 2;
        add(std::string_view(narrow).substr(at, length), pair ? 2 : 1);
        at += length;
        w += pair ? 2 : 1;
    }
    return units;
}

void ProfileDocument::Parse() {
    sections_.clear();
    lineBreak_ = "\r\n";
    if (bytes_.empty()) return;  // an empty file has no sections at all
    Section top;
    top.begin = textBegin_;
    sections_.push_back(top);
    const char* const base = bytes_.data();
    const char* const end = base + bytes_.size();
    bool sawBreak = false;
    const char* line = base + textBegin_;
    for (const char* p = line; p < end;) {
        if (*p != '\r' && *p != '\n') {
            p += CharLength(p, end);
            continue;
        }
        const std::size_t breakLength = *p == '\r' && p + 1 < end && p[1] == '\n' ? 2 : 1;
        if (!sawBreak) lineBreak_.assign(p, breakLength);
        sawBreak = true;
        const auto at = static_cast<std::size_t>(p - base);
        ParseLine(static_cast<std::size_t>(line - base), at, at + breakLength);
        p += breakLength;
        line = p;
    }
    if (line < end) ParseLine(static_cast<std::size_t>(line - base), bytes_.size(), bytes_.size());
    for (std::size_t s = 0; s < sections_.size(); ++s)
        sections_[s].end = s + 1 < sections_.size() ? sections_[s + 1].begin : bytes_.size();
}

// One pass over the line finds its text, its first "=" and its last "]".
void ProfileDocument::ParseLine(std::size_t begin, std::size_t end, std::size_t next) {
    const char* const lineEnd = bytes_.data() + end;
    const char* text = bytes_.data() + begin;
    while (text < lineEnd && IsBlankByte(static_cast<unsigned char>(*text))) ++text;
    if (text == lineEnd) return;   // a blank line
    const char* textEnd = text;    // end of the last character that is no blank
    const char* equals = nullptr;  // the first "="
    const char* nameEnd = text;    // end of the last character before it that is no blank
    const char* close = nullptr;   // the last "]"
    for (const char* p = text; p < lineEnd;) {
        const std::size_t length = CharLength(p, lineEnd);
        const bool single = length == 1;
        if (single && *p == '=' && !equals) equals = p;
        if (single && *p == ']') close = p;
        if (!single || !IsBlankByte(static_cast<unsigned char>(*p))) {
            textEnd = p + length;
            if (!equals) nameEnd = textEnd;
        }
        p += length;
    }
    const std::string_view all(text, static_cast<std::size_t>(textEnd - text));
    if (*text == '[' && close) {
        Section section;
        section.name = CutAtNul(Trim(all.substr(1, static_cast<std::size_t>(close - text) - 1)));
        section.begin = begin;
        section.hasText = true;
        section.lastTextEnd = end;
        section.lastTextNext = next;
        sections_.push_back(section);
        return;
    }
    // Without a closing bracket a "[" line is read as a key, like any other line.
    Section& current = sections_.back();
    current.hasText = true;
    current.lastTextEnd = end;
    current.lastTextNext = next;
    Entry entry;
    std::string_view name = all;
    if (equals) {
        // The "=" itself is no blank, so nameEnd stops before it.
        name = std::string_view(text, static_cast<std::size_t>(std::min(nameEnd, equals) - text));
        const char* const valueBegin = equals + 1;
        const auto valueLength = static_cast<std::size_t>(std::max(textEnd, valueBegin) - valueBegin);
        entry.value = CutAtNul(TrimLeft(std::string_view(valueBegin, valueLength)));
    }
    // Of several lines in a row starting with "=", only the first is a key.
    if (name.empty() && !current.entries.empty() && current.entries.back().name.empty()) return;
    entry.name = CutAtNul(name);
    entry.lineBegin = begin;
    entry.lineEnd = end;
    entry.lineNext = next;
    entry.nameBegin = static_cast<std::size_t>(text - bytes_.data());
    entry.nameEnd = entry.nameBegin + name.size();
    current.entries.push_back(entry);
}

void ProfileDocument::Replace(std::size_t begin, std::size_t end, std::string_view with) {
    bytes_.replace(begin, end - begin, with);
    Parse();
}

std::string ProfileDocument::JoinLines(const std::vector<std::string>& lines) const {
    std::string out;
    for (const std::string& line : lines) out += line + lineBreak_;
    return out;
}

void ProfileDocument::SetValue(std::size_t section, std::size_t entry, std::string_view value) {
    const Entry& e = sections_.at(section).entries.at(entry);
    std::string line = bytes_.substr(e.nameBegin, e.nameEnd - e.nameBegin);
    line += '=';
    line += value;
    Replace(e.lineBegin, e.lineEnd, line);
}

void ProfileDocument::AddKeys(std::size_t section, const std::vector<ProfileKey>& keys) {
    std::vector<std::string> lines;
    for (const auto& [name, value] : keys) lines.push_back(name + "=" + value);
    const Section& s = sections_.at(section);
    if (!s.hasText) {
        Replace(s.begin, s.begin, JoinLines(lines));
    } else if (s.lastTextNext == s.lastTextEnd) {  // the last line of the file, with no break
        Replace(s.lastTextEnd, s.lastTextEnd, lineBreak_ + JoinLines(lines));
    } else {
        Replace(s.lastTextNext, s.lastTextNext, JoinLines(lines));
    }
}

void ProfileDocument::AddSection(std::string_view name, const std::vector<ProfileKey>& keys) {
    std::vector<std::string> lines;
    if (!name.empty()) lines.push_back("[" + std::string(name) + "]");
    for (const auto& [key, value] : keys) lines.push_back(key + "=" + value);
    std::string text = JoinLines(lines);
    if (bytes_.size() > textBegin_ && !EndsWithLineBreak()) text.insert(0, lineBreak_);
    Replace(bytes_.size(), bytes_.size(), text);
}

void ProfileDocument::RemoveEntry(std::size_t section, std::size_t entry) {
    const Entry& e = sections_.at(section).entries.at(entry);
    Replace(e.lineBegin, e.lineNext, {});
}

void ProfileDocument::RemoveKeys(std::size_t section) {
    std::vector<std::pair<std::size_t, std::size_t>> lines;
    for (const Entry& e : sections_.at(section).entries)
        if (!e.IsComment()) lines.emplace_back(e.lineBegin, e.lineNext);
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        bytes_.erase(line->first, line->second - line->first);
    Parse();
}

void ProfileDocument::RemoveSection(std::size_t section) {
    const Section& s = sections_.at(section);
    Replace(s.begin, s.end, {});
}

}  // namespace sim
