// The settings for everyday use beyond the icons: the hotkeys of [Keys], the
// switches of [Options] and the desktops' names of [Names]. Each is off while
// the file does not name it.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "app/settings/key_combination.h"
#include "app/settings/settings_check.h"

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
    bool showDesktop = false;      // [Options] ShowDesktop
    bool gatherOnExit = false;     // [Options] GatherOnExit: Exit brings every window home
    // [Options] StartWithWindows: nothing while the file does not name it (the
    // icons' menu then does not offer it), else whether the user asked for it.
    std::optional<bool> startWithWindows;
    bool iconsHint = false;  // [Options] IconsHint: where the icons are, once, on Windows 11
    bool applyAtOnce = false;  // [Options] ApplyAtOnce: Properties' OK takes effect without a new start
    engine::String language;  // [Options] Language as written, "" for none
    // [Names] 1 … 5: desktop n's name is names[n - 1], "" for none.
    std::array<engine::String, 5> names;
};

// A key of [Keys] and what it does, in the order the file lists them.
struct KeyName {
    const char16_t* name;
    KeyAction action;
    engine::Long desk;
};
std::span<const KeyName> KeyNames();

// Whether the file has [Keys], [Options] or [Names] (or may have them: a list
// of sections too long to read whole).
bool HasEverydaySections(engine::Platform& platform, const engine::String& iniPath);

// Raises BadSetting for a value that cannot be read or a combination named twice.
KeysAndOptions ReadKeysAndOptions(engine::Platform& platform, lib::ClsKwini& ini, const engine::String& iniPath,
                                  bool fileExists);

}  // namespace trevo
