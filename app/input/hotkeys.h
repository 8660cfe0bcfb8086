// The hotkeys of [Keys], registered for the controller's window while Trevo
// runs. A combination another program holds costs only that key.
#pragma once

#include <utility>
#include <vector>

#include "app/settings/keys_and_options.h"
#include "engine/engine.h"

namespace trevo {

class HotkeyTable {
public:
    // Registers every binding for hwnd; a held key repeats nothing where Windows
    // knows MOD_NOREPEAT (Windows 7 and later).
    HotkeyTable(engine::Platform& platform, engine::Hwnd hwnd, std::vector<KeyBinding> keys, bool knowsNoRepeat);
    ~HotkeyTable();
    HotkeyTable(const HotkeyTable&) = delete;
    HotkeyTable& operator=(const HotkeyTable&) = delete;

    // The binding of a WM_HOTKEY's id, or null.
    const KeyBinding* Find(engine::Long id) const;
    // The bindings Windows refused, in the file's order.
    std::vector<const KeyBinding*> NotTaken() const;
    // The first binding Windows refused for itself, not because another
    // program holds it, with Windows' error; null when there is none.
    std::pair<const KeyBinding*, engine::Dword> RefusedOutright() const;

private:
    engine::Platform& platform_;
    engine::Hwnd hwnd_;
    std::vector<KeyBinding> keys_;
    std::vector<bool> taken_;  // by index; the id of keys_[i] is i + 1
    std::vector<engine::Dword> errors_;  // why Windows refused each
};

// Where Trevo remembers what it has told the user once. Not the volatile key
// of the running Trevo: this one outlives a restart.
inline constexpr const char* kNoticeKey = "Software\\Trevo Keys";

// Tells the user which keys another program holds, once: the list is kept in
// the registry, and the same list at a later start says nothing, so that a
// key held by another program does not ask for a click at every log-on.
void TellKeysNotTaken(engine::Engine& engine, const Texts& texts, const std::vector<const KeyBinding*>& notTaken);

}  // namespace trevo
