// The settings for everyday use beyond the icons: the hotkeys of [Keys] and
// the switches of [Options]. Each is off while the file does not name it.
#pragma once

#include <optional>
#include <vector>

#include "app/key_combination.h"
#include "app/settings_check.h"

namespace trevo {

enum class KeyAction { Desktop, Next, Previous, Send, Pin };

struct KeyBinding {
    KeyAction action = KeyAction::Desktop;
    engine::Long desk = 0;  // Desktop and Send: the desktop's number
    engine::String name;    // the key's name in the file, "Desktop2"
    engine::String text;    // its value, "Ctrl+Win+F2"
    KeyCombination combination;
};

struct KeysAndOptions {
    std::vector<KeyBinding> keys;  // in the order of kKeyNames, only those with a value
    bool followFocus = false;      // [Options] FollowFocus
    bool keepMinimised = false;    // [Options] KeepMinimised
    bool windowsFirst = false;     // [Options] WindowsFirst
    bool keepWallpapers = false;   // [Options] KeepWallpapers
};

// Raises BadSetting for a value that cannot be read or a combination named twice.
KeysAndOptions ReadKeysAndOptions(engine::Platform& platform, lib::ClsKwini& ini, const engine::String& iniPath,
                                  bool fileExists);

}  // namespace trevo
