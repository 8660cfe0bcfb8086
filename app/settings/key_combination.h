// The text of a hotkey as Trevo.ini writes it: modifiers and one key joined
// by "+", such as "Ctrl+Win+F2".
#pragma once

#include <optional>

#include "app/language/texts.h"
#include "engine/win_constants.h"

namespace trevo {

struct KeyCombination {
    engine::Dword modifiers = 0;  // MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN
    engine::Dword key = 0;        // a virtual-key code
    friend bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

// Ctrl, Alt, Shift and Win in any order, then one key: 0-9, A-Z, F1-F24,
// Left, Right, Up, Down, PageUp, PageDown, Home, End, Insert, Delete,
// Num0-Num9. Case does not matter and blanks around "+" are allowed. Nothing
// for any other text, with why in *why.
std::optional<KeyCombination> ParseKeyCombination(const engine::String& text, Phrase* why);

// The combination as Trevo.ini writes it ("Ctrl+Alt+F1"); nothing for a key
// the file has no name for.
std::optional<engine::String> KeyCombinationText(const KeyCombination& combination);

// The hot-key control's word (virtual key, HOTKEYF_ modifiers in the high
// byte) and the combination it holds, both ways; Win has no place in the word.
KeyCombination CombinationOfHotKeyWord(engine::Long word);
engine::Long HotKeyWordOf(const KeyCombination& combination);

}  // namespace trevo
