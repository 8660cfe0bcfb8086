#include "engine/sim/profile_document.h"

#include "engine/text.h"

namespace sim {
using engine::String;

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

String Trim(std::u16string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return String(s.substr(b, e - b));
}

}  // namespace

ProfileDocument::Line ProfileDocument::Classify(String text) {
    Line line;
    const String trimmed = Trim(text);
    if (trimmed.empty()) {
        line.kind = Kind::Blank;
    } else if (trimmed[0] == u';') {
        line.kind = Kind::Comment;
    } else if (trimmed[0] == u'[') {
        line.kind = Kind::Section;
        const auto close = trimmed.find(u']');
        line.name = Trim(std::u16string_view(trimmed).substr(1, close == String::npos ? String::npos : close - 1));
    } else {
        const auto eq = trimmed.find(u'=');
        line.kind = Kind::Key;
        if (eq == String::npos) {
            line.name = trimmed;
        } else {
            line.name = Trim(std::u16string_view(trimmed).substr(0, eq));
            line.value = Trim(std::u16string_view(trimmed).substr(eq + 1));
        }
    }
    line.text = std::move(text);
    return line;
}

ProfileDocument ProfileDocument::Parse(std::u16string_view text) {
    ProfileDocument doc;
    bool sawNewline = false;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\r' && text[i] != u'\n') continue;
        if (i == text.size() && start == i) break;  // nothing after the last line end
        doc.lines_.push_back(Classify(String(text.substr(start, i - start))));
        if (i < text.size()) {
            const bool crlf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
            if (!sawNewline) doc.newline_ = crlf ? u"\r\n" : text[i] == u'\r' ? u"\r" : u"\n";
            sawNewline = true;
            if (crlf) ++i;
        }
        start = i + 1;
    }
    doc.endsWithNewline_ = text.empty() || text.back() == u'\n' || text.back() == u'\r';
    return doc;
}

String ProfileDocument::Serialize() const {
    String out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].text;
        if (i + 1 < lines_.size() || endsWithNewline_) out += newline_;
    }
    return out;
}

std::optional<std::pair<size_t, size_t>> ProfileDocument::SectionSpan(std::u16string_view name) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !engine::EqualsIgnoreCase(lines_[i].name, name)) continue;
        size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
        return std::make_pair(i, end);
    }
    return std::nullopt;
}

std::optional<size_t> ProfileDocument::FindSection(std::u16string_view name) const {
    auto span = SectionSpan(name);
    if (!span) return std::nullopt;
    return span->first;
}

std::optional<ProfileDocument::Entry> ProfileDocument::FindKey(std::u16string_view section,
                                                               std::u16string_view key) const {
    auto span = SectionSpan(section);
    if (!span) return std::nullopt;
    for (size_t i = span->first + 1; i < span->second; ++i) {
        const Line& l = lines_[i];
        if (l.kind == Kind::Key && engine::EqualsIgnoreCase(l.name, key)) return Entry{l.name, l.value};
    }
    return std::nullopt;
}

std::vector<ProfileDocument::Entry> ProfileDocument::SectionEntries(std::u16string_view section) const {
    std::vector<Entry> out;
    auto span = SectionSpan(section);
    if (!span) return out;
    for (size_t i = span->first + 1; i < span->second; ++i)
        if (lines_[i].kind == Kind::Key) out.push_back({lines_[i].name, lines_[i].value});
    return out;
}

std::vector<String> ProfileDocument::SectionNames() const {
    std::vector<String> out;
    for (const Line& l : lines_)
        if (l.kind == Kind::Section) out.push_back(l.name);
    return out;
}

size_t ProfileDocument::AppendSection(std::u16string_view name) {
    if (!lines_.empty()) endsWithNewline_ = true;
    lines_.push_back(Classify(u"[" + String(name) + u"]"));
    return lines_.size() - 1;
}

size_t ProfileDocument::InsertPoint(std::pair<size_t, size_t> span) const {
    size_t at = span.second;
    while (at > span.first + 1 && lines_[at - 1].kind == Kind::Blank) --at;
    return at;
}

void ProfileDocument::SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    auto span = SectionSpan(section);
    if (!span) {
        const size_t header = AppendSection(section);
        span = std::make_pair(header, header + 1);
    }
    for (size_t i = span->first + 1; i < span->second; ++i) {
        Line& l = lines_[i];
        if (l.kind == Kind::Key && engine::EqualsIgnoreCase(l.name, key)) {
            // The key keeps its own spelling; only its value changes.
            l = Classify(l.name + u"=" + String(value));
            return;
        }
    }
    const size_t at = InsertPoint(*span);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Classify(String(key) + u"=" + String(value)));
    if (at == lines_.size() - 1) endsWithNewline_ = true;
}

void ProfileDocument::DeleteKey(std::u16string_view section, std::u16string_view key) {
    auto span = SectionSpan(section);
    if (!span) return;
    for (size_t i = span->first + 1; i < span->second; ++i) {
        if (lines_[i].kind == Kind::Key && engine::EqualsIgnoreCase(lines_[i].name, key)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void ProfileDocument::DeleteSection(std::u16string_view section) {
    auto span = SectionSpan(section);
    if (!span) return;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(span->first),
                 lines_.begin() + static_cast<std::ptrdiff_t>(span->second));
}

void ProfileDocument::ReplaceSection(std::u16string_view section, const std::vector<String>& entries) {
    auto span = SectionSpan(section);
    if (!span) {
        const size_t header = AppendSection(section);
        span = std::make_pair(header, header + 1);
    }
    // Comments and blank lines of the section stay; its entries are replaced.
    std::vector<Line> kept;
    for (size_t i = span->first + 1; i < span->second; ++i)
        if (lines_[i].kind != Kind::Key) kept.push_back(lines_[i]);
    std::vector<Line> body;
    for (const String& e : entries) body.push_back(Classify(e));
    size_t trailingBlanks = 0;
    while (trailingBlanks < kept.size() && kept[kept.size() - 1 - trailingBlanks].kind == Kind::Blank) ++trailingBlanks;
    std::vector<Line> section_;
    section_.insert(section_.end(), kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(trailingBlanks));
    section_.insert(section_.end(), body.begin(), body.end());
    section_.insert(section_.end(), kept.end() - static_cast<std::ptrdiff_t>(trailingBlanks), kept.end());
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(span->first + 1),
                 lines_.begin() + static_cast<std::ptrdiff_t>(span->second));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(span->first + 1), section_.begin(), section_.end());
    if (span->first + 1 + section_.size() == lines_.size()) endsWithNewline_ = true;
}

}  // namespace sim
