#include "lib/ClsKwString.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace lib {
using engine::Long;
using engine::String;
using std::u16string_view;

namespace {
constexpr auto npos = u16string_view::npos;

// Upper case as the runtime gives it for the scripts met in practice: ASCII,
// Latin-1, Latin Extended-A, basic Greek and Cyrillic, full-width Latin.
char16_t UpperOf(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    if (c < 0x100) {
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
        return c == 0xFF ? char16_t{0x178} : c;
    }
    if (c <= 0x17F) {
        if (c == 0x131) return u'I';
        if (c == 0x17F) return u'S';
        const bool oddIsLower = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        const bool evenIsLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((oddIsLower && c % 2 == 1) || (evenIsLower && c % 2 == 0)) return static_cast<char16_t>(c - 1);
        return c;
    }
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if (c >= 0x3B1 && c <= 0x3C9) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
    return c;
}

char16_t LowerOfLatin1(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    return c;
}

bool IsNarrowByCode(char16_t c) { return c < 0x100 || (c >= 0xFF61 && c <= 0xFF9F); }

template <class Keep>
String Filtered(u16string_view text, Keep keep) {
    String out;
    for (char16_t c : text)
        if (keep(c)) out += c;
    return out;
}

std::size_t FindIgnoringCase(u16string_view text, u16string_view search, std::size_t from) {
    if (search.size() > text.size()) return npos;
    for (std::size_t i = from; i + search.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < search.size() && UpperOf(text[i + k]) == UpperOf(search[k])) ++k;
        if (k == search.size()) return i;
    }
    return npos;
}

// Every occurrence of search replaced, the search starting again from the
// beginning after each replacement, until none is left. So that every pair
// ends: an empty search text replaces nothing; a replacement that holds its own
// search text continues after what it inserted; and a text that grows past
// kLongestResolved characters (a pair that would rebuild its search text at
// every join forever) does the same from there on.
constexpr std::size_t kLongestResolved = 1 << 14;

String ReplaceEvery(String text, u16string_view search, u16string_view replacement) {
    if (search.empty()) return text;
    const bool holdsItself = FindIgnoringCase(replacement, search, 0) != npos;
    // A replacement as long as its search text never grows the text; such a
    // pair could still go round in circles, and gets as many steps as a long text has.
    std::size_t steps = 16 * kLongestResolved;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = FindIgnoringCase(text, search, from);
        if (at == npos) return text;
        text.replace(at, search.size(), replacement);
        const bool restart = !holdsItself && text.size() <= kLongestResolved && steps > 0;
        if (restart) {
            --steps;
            // Nothing before this point can match now that did not match before.
            from = at + 1 >= search.size() ? at + 1 - search.size() : 0;
        } else {
            from = at + replacement.size();
        }
    }
}

String HexDigits(unsigned long value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*lX", width, value);
    return String(buffer, buffer + width);
}
}  // namespace

ClsKwString::ClsKwString(engine::Platform& platform) : platform_(platform) {}
ClsKwString::ClsKwString(engine::Engine& engine) : platform_(engine.platform()), engine_(&engine) {}

Long ClsKwString::AddStyle(engine::Control& control, engine::Dword bit) {
    const Long style = platform_.GetWindowLongA(control.hWnd(), engine::win::GWL_STYLE);
    platform_.SetWindowLongA(control.hWnd(), engine::win::GWL_STYLE,
                             static_cast<Long>(static_cast<engine::Dword>(style) | bit));
    return style;
}

Long ClsKwString::SetNumericAttribute(engine::Control& control) { return AddStyle(control, engine::win::ES_NUMBER); }
Long ClsKwString::SetUpperCaseAttribute(engine::Control& control) {
    return AddStyle(control, engine::win::ES_UPPERCASE);
}
Long ClsKwString::SetLowerCaseAttribute(engine::Control& control) {
    return AddStyle(control, engine::win::ES_LOWERCASE);
}

String ClsKwString::ExtractNarrowString(u16string_view text) { return Filtered(text, IsNarrowByCode); }
String ClsKwString::ExtractWideString(u16string_view text) {
    return Filtered(text, [](char16_t c) { return !IsNarrowByCode(c); });
}

String ClsKwString::GetStringByRange(u16string_view text, u16string_view opening, u16string_view closing) {
    if (opening.empty() || closing.empty()) return {};
    const auto a = text.find(opening);
    if (a == npos) return {};
    // The range starts right after the opening token's first character.
    const auto b = text.find(closing, a + 1);
    if (b == npos || b == a + 1) return {};
    return String(text.substr(a + 1, b - a - 1));
}

String ClsKwString::GetStringByRangeEx(u16string_view text, u16string_view opening, u16string_view closing, Long start,
                                       Long* next) {
    if (next) *next = 0;
    // An empty token is never found, so a walk over the ranges always ends.
    if (opening.empty() || closing.empty()) return {};
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
    if (from >= text.size()) return {};
    const auto a = text.find(opening, from);
    if (a == npos) return {};
    const std::size_t inside = a + opening.size();
    const auto d = text.find(closing, inside);
    if (d == npos) return {};
    const std::size_t after = d + closing.size();
    if (next) *next = after < text.size() ? static_cast<Long>(after + 1) : 0;
    return String(text.substr(inside, d - inside));
}

String ClsKwString::GetStringByToken(u16string_view text, u16string_view token, Long n) {
    if (n < 1) return {};
    if (token.empty()) return n == 1 ? String(text) : String();
    u16string_view rest = text;
    for (Long field = 1; field < n; ++field) {
        const auto at = rest.find(token);
        if (at == npos) return {};
        // Only the token's first character is dropped with the field before it.
        rest.remove_prefix(at + 1);
    }
    const auto at = rest.find(token);
    return String(at == npos ? rest : rest.substr(0, at));
}

String ClsKwString::HexString(const Variant& value) {
    switch (value.Type()) {
        case VarType::Byte:
            return HexDigits(value.AsByte(), 2);
        case VarType::Integer:
            return HexDigits(static_cast<std::uint16_t>(value.AsInteger()), 4);
        case VarType::Long:
            return HexDigits(static_cast<std::uint32_t>(value.AsLong()), 8);
        default:
            return {};
    }
}

Variant ClsKwString::HexStringToVariant(u16string_view text) {
    double total = 0;
    std::size_t digits = 0;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        // Only the low byte of the upper-cased character is looked at.
        const unsigned low = UpperOf(*it) & 0xFFu;
        unsigned digit;
        if (low >= 0x30 && low <= 0x39)
            digit = low - 0x30;
        else if (low >= 0x41 && low <= 0x46)
            digit = low - 0x41 + 10;
        else
            continue;
        const double weight = std::pow(16.0, static_cast<double>(digits));
        if (!std::isfinite(weight)) engine::Raise(engine::err::kOverflow);
        total += digit * weight;
        ++digits;
    }
    if (digits <= 2) return Variant(static_cast<std::uint8_t>(total));
    if (digits == 3) return Variant(static_cast<engine::Integer>(total));
    if (digits <= 7) return Variant(static_cast<Long>(total));
    return Variant(Decimal::FromDouble(total));
}

String ClsKwString::LeftWhole(u16string_view text, size_t length) {
    if (length >= text.size()) return String(text);
    const bool splitsPair = length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF &&
                            text[length] >= 0xDC00 && text[length] <= 0xDFFF;
    return String(text.substr(0, splitsPair ? length - 1 : length));
}

String ClsKwString::LCaseAscii(u16string_view text) {
    String out(text);
    for (auto& c : out)
        if (c < 0x100) c = LowerOfLatin1(c);
    return out;
}

String ClsKwString::UCaseAscii(u16string_view text) {
    String out(text);
    for (auto& c : out)
        if (c < 0x100) c = UpperOf(c);
    return out;
}

String ClsKwString::PackedString(u16string_view text, u16string_view pack) {
    if (pack.size() != 1) return String(text);
    String out;
    for (char16_t c : text) {
        if (c == pack[0] && !out.empty() && out.back() == c) continue;
        out += c;
    }
    return out;
}

Variant ClsKwString::SplitVb5(u16string_view text, u16string_view separator) {
    if (text.empty()) return Variant(Long{0});
    Variant::Array fields;
    String field;
    for (char16_t c : text) {
        if (separator.size() == 1 && c == separator[0]) {
            fields.emplace_back(std::move(field));
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty()) fields.emplace_back(std::move(field));
    return Variant(std::move(fields));
}

Long ClsKwString::StringType(u16string_view text, Long* narrowCount, Long* wideCount) {
    Long narrow = 0, wide = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto bytes = platform_.ToAnsi(text.substr(i, 1)).size();
        if (bytes == 1) ++narrow;
        if (bytes == 2) ++wide;
    }
    if (narrowCount) *narrowCount = narrow;
    if (wideCount) *wideCount = wide;
    if (narrow == 0 && wide == 0) engine::Raise(engine::err::kInvalidCall, u"判別できない文字で構成されています。");
    return narrow > 0 && wide > 0 ? 0 : (narrow > 0 ? 1 : 2);
}

Long ClsKwString::TokenCount(u16string_view text, u16string_view token) {
    if (token.size() != 1 || text.empty()) return 0;
    Long count = 0;
    for (char16_t c : text)
        if (c == token[0]) ++count;
    return count;
}

String ClsKwString::ResolveString(u16string_view text, const std::vector<Variant>& pairs) {
    String out(text);
    // A last search text without a replacement of its own is left alone.
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const String search = pairs[i].ToString();
        const String replacement = pairs[i + 1].ToString();
        out = ReplaceEvery(std::move(out), search, replacement);
    }
    return out;
}

String ClsKwString::ResolveResString(engine::Integer id, const std::vector<Variant>& pairs) {
    if (!engine_) return {};
    String text;
    try {
        text = engine_->LoadResString(id);
    } catch (const engine::RuntimeError& e) {
        if (e.Number() != 326) throw;  // only "no such resource" means "no string"
        return {};
    }
    return ResolveString(text, pairs);
}

void ClsKwString::ReplaceString(String& first, String& second) { first.swap(second); }

}  // namespace lib
