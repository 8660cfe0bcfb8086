#include "app/settings/key_combination.h"

#include <string_view>

#include "engine/text.h"

namespace trevo {
namespace win = engine::win;
using engine::Dword;
using engine::String;

namespace {

struct Name {
    std::u16string_view text;
    Dword value;
};

constexpr Name kModifiers[] = {
    {u"ctrl", win::MOD_CONTROL}, {u"alt", win::MOD_ALT}, {u"shift", win::MOD_SHIFT}, {u"win", win::MOD_WIN}};

constexpr Name kNamedKeys[] = {
    {u"left", win::VK_LEFT},     {u"right", win::VK_RIGHT},   {u"up", win::VK_UP},     {u"down", win::VK_DOWN},
    {u"pageup", win::VK_PRIOR},  {u"pagedown", win::VK_NEXT}, {u"home", win::VK_HOME}, {u"end", win::VK_END},
    {u"insert", win::VK_INSERT}, {u"delete", win::VK_DELETE},
};

std::u16string_view Trimmed(std::u16string_view s) {
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
    return s;
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// A number of one or two digits from 'from' to 'to', written after a prefix.
std::optional<Dword> NumberAfter(std::u16string_view part, std::u16string_view prefix, Dword from, Dword to) {
    if (part.size() <= prefix.size() || part.size() > prefix.size() + 2) return std::nullopt;
    if (!engine::EqualsIgnoreCase(part.substr(0, prefix.size()), prefix)) return std::nullopt;
    Dword n = 0;
    for (char16_t c : part.substr(prefix.size())) {
        if (c < u'0' || c > u'9') return std::nullopt;
        n = n * 10 + static_cast<Dword>(c - u'0');
    }
    if (part.size() == prefix.size() + 2 && part[prefix.size()] == u'0') return std::nullopt;  // "F01"
    if (n < from || n > to) return std::nullopt;
    return n;
}

std::optional<Dword> KeyCode(std::u16string_view part) {
    if (part.size() == 1) {
        const char16_t c = Lower(part[0]);
        if (c >= u'0' && c <= u'9') return static_cast<Dword>(c);
        if (c >= u'a' && c <= u'z') return static_cast<Dword>(c - u'a' + u'A');
        return std::nullopt;
    }
    for (const Name& named : kNamedKeys)
        if (engine::EqualsIgnoreCase(part, named.text)) return named.value;
    if (auto f = NumberAfter(part, u"f", 1, 24)) return win::VK_F1 + *f - 1;
    if (auto n = NumberAfter(part, u"num", 0, 9)) return win::VK_NUMPAD0 + *n;
    return std::nullopt;
}

std::optional<Dword> ModifierCode(std::u16string_view part) {
    for (const Name& m : kModifiers)
        if (engine::EqualsIgnoreCase(part, m.text)) return m.value;
    return std::nullopt;
}

}  // namespace

std::optional<KeyCombination> ParseKeyCombination(const String& text, Phrase* why) {
    auto refuse = [&](Phrase reason) -> std::optional<KeyCombination> {
        if (why) *why = std::move(reason);
        return std::nullopt;
    };
    KeyCombination combination;
    std::u16string_view rest(text);
    bool keySeen = false;
    while (true) {
        const size_t plus = rest.find(u'+');
        const std::u16string_view part = Trimmed(rest.substr(0, plus));
        if (part.empty()) return refuse(Phrase(IDS_KEY_PLUS_ALONE));
        if (keySeen) return refuse(Phrase(IDS_KEY_NOT_LAST));
        if (auto modifier = ModifierCode(part)) {
            if (combination.modifiers & *modifier) return refuse(Phrase(IDS_KEY_MODIFIER_TWICE));
            combination.modifiers |= *modifier;
        } else if (auto key = KeyCode(part)) {
            combination.key = *key;
            keySeen = true;
        } else {
            return refuse(Phrase(IDS_KEY_UNKNOWN, {String(part)}));
        }
        if (plus == std::u16string_view::npos) break;
        rest.remove_prefix(plus + 1);
    }
    if (!keySeen) return refuse(Phrase(IDS_KEY_MODIFIERS_ONLY));
    // Without Ctrl, Alt or Win the key would stop typing in every program;
    // a function key alone is taken as meant.
    const bool functionKey = combination.key >= win::VK_F1 && combination.key < win::VK_F1 + 24;
    if (!(combination.modifiers & (win::MOD_CONTROL | win::MOD_ALT | win::MOD_WIN)) && !functionKey)
        return refuse(Phrase(IDS_KEY_NEEDS_MODIFIER));
    return combination;
}

}  // namespace trevo
