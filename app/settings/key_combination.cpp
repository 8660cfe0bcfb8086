#include "app/settings/key_combination.h"

#include <string_view>
#include <utility>

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
// The same names as a user writes them, for the file.
constexpr Name kWrittenKeys[] = {
    {u"Left", win::VK_LEFT},     {u"Right", win::VK_RIGHT},   {u"Up", win::VK_UP},     {u"Down", win::VK_DOWN},
    {u"PageUp", win::VK_PRIOR},  {u"PageDown", win::VK_NEXT}, {u"Home", win::VK_HOME}, {u"End", win::VK_END},
    {u"Insert", win::VK_INSERT}, {u"Delete", win::VK_DELETE},
};
constexpr Name kWrittenModifiers[] = {
    {u"Ctrl", win::MOD_CONTROL}, {u"Alt", win::MOD_ALT}, {u"Shift", win::MOD_SHIFT}, {u"Win", win::MOD_WIN}};
// The hot-key control's modifiers and RegisterHotKey's.
constexpr std::pair<Dword, Dword> kHotKeyModifiers[] = {
    {win::HOTKEYF_SHIFT, win::MOD_SHIFT}, {win::HOTKEYF_CONTROL, win::MOD_CONTROL}, {win::HOTKEYF_ALT, win::MOD_ALT}};

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

std::optional<String> KeyName(Dword key) {
    if ((key >= u'0' && key <= u'9') || (key >= u'A' && key <= u'Z')) return String(1, static_cast<char16_t>(key));
    if (key >= win::VK_F1 && key < win::VK_F1 + 24) return u"F" + engine::DecimalText(key - win::VK_F1 + 1);
    if (key >= win::VK_NUMPAD0 && key <= win::VK_NUMPAD0 + 9)
        return u"Num" + engine::DecimalText(key - win::VK_NUMPAD0);
    for (const Name& named : kWrittenKeys)
        if (named.value == key) return String(named.text);
    return std::nullopt;
}

}  // namespace

std::optional<String> KeyCombinationText(const KeyCombination& combination) {
    std::optional<String> key = KeyName(combination.key);
    if (!key) return std::nullopt;
    String text;
    for (const Name& m : kWrittenModifiers)
        if (combination.modifiers & m.value) text += String(m.text) + u"+";
    return text + *key;
}

KeyCombination CombinationOfHotKeyWord(engine::Long word) {
    KeyCombination combination;
    combination.key = static_cast<Dword>(word) & 0xFF;
    const Dword flags = (static_cast<Dword>(word) >> 8) & 0xFF;
    for (const auto& [hotKeyFlag, modifier] : kHotKeyModifiers)
        if (flags & hotKeyFlag) combination.modifiers |= modifier;
    return combination;
}

engine::Long HotKeyWordOf(const KeyCombination& combination) {
    Dword flags = 0;
    for (const auto& [hotKeyFlag, modifier] : kHotKeyModifiers)
        if (combination.modifiers & modifier) flags |= hotKeyFlag;
    return static_cast<engine::Long>((flags << 8) | (combination.key & 0xFF));
}

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
