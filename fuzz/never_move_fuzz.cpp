// The never-move patterns against plain reference versions written from what
// desktop/never_move.h promises: the input is a settings entry, a window title and
// a window class, one a line. Short inputs must give the reference's answers; long
// ones must merely finish (libFuzzer's -timeout catches one that does not).
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/never_move.h"
#include "fuzz_support.h"

namespace {
using engine::String;
using std::u16string_view;

// Bytes as UTF-16: ASCII stays itself, so a seed reads as text; the other bytes
// become letters beyond Latin-1 and a pair of half a surrogate.
String Decode(std::string_view bytes) {
    String out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += static_cast<char16_t>(b);
        else if (b >= 0xF0)
            out += static_cast<char16_t>(0xD800 + b);  // half a surrogate pair
        else
            out += static_cast<char16_t>(0x3000 + b);
    }
    return out;
}

// Line n (from 0) of the input; "" when it has fewer.
std::string_view Line(std::string_view bytes, int n) {
    for (; n > 0; --n) {
        const std::size_t end = bytes.find('\n');
        if (end == std::string_view::npos) return {};
        bytes.remove_prefix(end + 1);
    }
    return bytes.substr(0, bytes.find('\n'));
}

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 0x20) : c; }

bool StartsWithKeyword(u16string_view text, u16string_view keyword) {
    if (text.size() < keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i)
        if (AsciiLower(text[i]) != keyword[i]) return false;
    return true;
}

// The header's reading of an entry, one character at a time: at a keyword, the
// group's value is what lies between its "(" and the next ")" (nothing when no ")"
// follows); then the scan goes on after the next ")", and stops where there is none.
desktop::NeverMovePattern ReferenceScan(u16string_view entry) {
    desktop::NeverMovePattern out;
    std::size_t at = 0;
    while (at < entry.size()) {
        String* group = StartsWithKeyword(entry.substr(at), u"title(")   ? &out.title
                        : StartsWithKeyword(entry.substr(at), u"class(") ? &out.cls
                                                                         : nullptr;
        std::size_t close = at;
        while (close < entry.size() && entry[close] != u')') ++close;
        if (group) {
            const std::size_t open = at + 6;
            *group = close < entry.size() ? String(entry.substr(open, close - open)) : String();
        }
        if (close >= entry.size()) break;
        at = close + 1;
    }
    return out;
}

// One "[...]" list at the start of the pattern: whether c is of it, and its length.
// Without a "]" after it a "[" is an ordinary character.
bool ListHolds(u16string_view list, char16_t c) {
    bool negated = false;
    if (!list.empty() && list.front() == u'!') {
        negated = true;
        list.remove_prefix(1);
    }
    bool in = false;
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (k + 2 < list.size() && list[k + 1] == u'-') {  // a range, either way round
            const char16_t a = list[k], b = list[k + 2];
            in = in || (c >= std::min(a, b) && c <= std::max(a, b));
            k += 2;
        } else {
            in = in || c == list[k];
        }
    }
    return in != negated;
}

// Plain recursion: exponential, so only for short texts.
bool ReferenceMatch(u16string_view text, u16string_view pattern) {
    if (pattern.empty()) return text.empty();
    const char16_t p = pattern.front();
    if (p == u'*') {
        for (std::size_t skip = 0; skip <= text.size(); ++skip)
            if (ReferenceMatch(text.substr(skip), pattern.substr(1))) return true;
        return false;
    }
    if (text.empty()) return false;
    const char16_t c = text.front();
    if (p == u'[') {
        const std::size_t close = pattern.find(u']', 1);
        if (close != u16string_view::npos) {
            const bool listHolds = ListHolds(pattern.substr(1, close - 1), c);
            return listHolds && ReferenceMatch(text.substr(1), pattern.substr(close + 1));
        }
    }
    const bool one = p == u'?' || (p == u'#' ? (c >= u'0' && c <= u'9') : p == c);
    return one && ReferenceMatch(text.substr(1), pattern.substr(1));
}

// What the header says a rule spares: a title alone, a class alone, or both; a
// title with "*" is a pattern, any other is compared as it is.
bool ReferenceSpares(const desktop::NeverMovePattern& rule, u16string_view title, u16string_view cls) {
    if (rule.title.empty() && rule.cls.empty()) return false;
    if (!rule.title.empty()) {
        const bool wildcard = rule.title.find(u'*') != String::npos;
        if (!(wildcard ? ReferenceMatch(title, rule.title) : title == rule.title)) return false;
    }
    return rule.cls.empty() || cls == rule.cls;
}

constexpr std::size_t kReferenceLength = 12;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const String entry = Decode(Line(bytes, 0)), title = Decode(Line(bytes, 1)), cls = Decode(Line(bytes, 2));

    const desktop::NeverMovePattern pattern = desktop::ScanPattern(entry);
    const desktop::NeverMovePattern expected = ReferenceScan(entry);
    FUZZ_CHECK(pattern.title == expected.title);
    FUZZ_CHECK(pattern.cls == expected.cls);

    // The whole entry as a wildcard too: a pattern from a scan is seldom a hard one.
    const desktop::Wildcard wildcard(entry);
    const bool matches = wildcard.Matches(title);
    FUZZ_CHECK(desktop::WildcardMatch(title, entry) == matches);
    FUZZ_CHECK(wildcard.Matches(title) == matches);  // a compiled pattern keeps no state
    if (entry.size() <= kReferenceLength && title.size() <= kReferenceLength)
        FUZZ_CHECK(matches == ReferenceMatch(title, entry));

    int titleReads = 0, classReads = 0;
    const auto readTitle = [&] {
        ++titleReads;
        return title;
    };
    const auto readClass = [&] {
        ++classReads;
        return cls;
    };
    desktop::WindowNames names(readTitle, readClass);
    const desktop::NeverMoveRule rule(pattern);
    const bool spared = rule.Spares(names);
    FUZZ_CHECK(rule.Spares(names) == spared);
    FUZZ_CHECK(titleReads <= 1 && classReads <= 1);  // each name asked for once at most
    FUZZ_CHECK(desktop::Spares(pattern, readTitle, readClass) == spared);
    if (pattern.title.size() <= kReferenceLength && title.size() <= kReferenceLength)
        FUZZ_CHECK(spared == ReferenceSpares(pattern, title, cls));
    return 0;
}
