// The everyday settings as the Settings dialog edits them: each desktop's
// name, each key of [Keys] and each switch of [Options], read from what is in
// force, checked as the start checks them, and written back one value at a
// time, only where the user changed it.
#pragma once

#include <array>
#include <optional>

#include "app/settings/keys_and_options.h"
#include "engine/platform.h"
#include "lib/ClsKwini.h"

namespace trevo {

inline constexpr size_t kKeyCount = 13;

// A switch of [Options]: its key, and where the running Trevo keeps it (none
// for the switches this dialog reads from the file itself).
struct OptionSwitch {
    const char16_t* key;
    bool KeysAndOptions::*field;
};
inline constexpr std::array<OptionSwitch, 9> kOptionSwitches = {{
    {u"FollowFocus", &KeysAndOptions::followFocus},
    {u"KeepMinimised", &KeysAndOptions::keepMinimised},
    {u"WindowsFirst", &KeysAndOptions::windowsFirst},
    {u"KeepWallpapers", &KeysAndOptions::keepWallpapers},
    {u"ShowDesktop", &KeysAndOptions::showDesktop},
    {u"StartWithWindows", nullptr},  // offered in the menu or not; kept in KeysAndOptions as an optional
    {u"IconsHint", &KeysAndOptions::iconsHint},
    {u"ApplyAtOnce", &KeysAndOptions::applyAtOnce},
    {u"GatherOnExit", &KeysAndOptions::gatherOnExit},
}};
inline constexpr size_t kStartWithWindowsSwitch = 5;

// [Options] Language's choices, in the dialog's order: none, auto, en, ja.
inline constexpr std::array<const char16_t*, 4> kLanguageValues = {u"", u"auto", u"en", u"ja"};

struct EverydaySettings {
    std::array<engine::String, kMaxDesks> names;
    std::array<engine::String, kKeyCount> keys;  // as Trevo.ini writes them, "" for none
    std::array<bool, kOptionSwitches.size()> options{};
    engine::String language;  // as written
};

// What is in force now; the switches Trevo does not keep are read from the file.
EverydaySettings CurrentEveryday(const KeysAndOptions& inForce, lib::ClsKwini& ini, const engine::String& iniPath);

// The first value the start would refuse (a name with a control character, a
// key it cannot read, a combination given twice), said as a message naming the
// setting; nothing when every value is good.
std::optional<Phrase> RefusalOf(const EverydaySettings& settings);

// The key bindings of these settings, in the file's order.
std::vector<KeyBinding> BindingsOf(const EverydaySettings& settings);

// Writes the values that differ from `before` into the file, in a copy that
// then takes its place in one step. False, with the file as it was, when it
// refuses a write.
bool WriteEveryday(engine::Platform& platform, lib::ClsKwini& ini, const engine::String& iniPath,
                   const EverydaySettings& before, const EverydaySettings& after);

// The running Trevo's settings after an OK: the names, keys and switches it keeps.
void PutInForce(KeysAndOptions& inForce, const EverydaySettings& settings);

// "[Keys] Desktop2 = ..." refused for that reason.
Phrase SettingRefused(const engine::String& section, const engine::String& key, const engine::String& value,
                      const Phrase& rule);

}  // namespace trevo
