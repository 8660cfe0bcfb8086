#include "app/settings/keys_and_options.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "app/settings/desktop_names.h"
#include "engine/platform.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

namespace {

constexpr KeyName kKeyNames[] = {
    {u"Desktop1", KeyAction::Desktop, 1},  {u"Desktop2", KeyAction::Desktop, 2}, {u"Desktop3", KeyAction::Desktop, 3},
    {u"Desktop4", KeyAction::Desktop, 4},  {u"Desktop5", KeyAction::Desktop, 5}, {u"Next", KeyAction::Next, 0},
    {u"Previous", KeyAction::Previous, 0}, {u"Send1", KeyAction::Send, 1},       {u"Send2", KeyAction::Send, 2},
    {u"Send3", KeyAction::Send, 3},        {u"Send4", KeyAction::Send, 4},       {u"Send5", KeyAction::Send, 5},
    {u"Pin", KeyAction::Pin, 0},
};

// The file's section names as the profile functions list them, or nothing when
// the list filled its room and may have been cut short.
std::optional<std::string> SectionNames(engine::Platform& platform, const String& iniPath) {
    constexpr engine::Dword kRoom = 32766;
    std::string names(kRoom + 2, '\0');
    const engine::Dword length =
        platform.GetPrivateProfileSectionNamesA(names.data(), kRoom, platform.ToAnsi(iniPath).c_str());
    if (length >= kRoom - 2) return std::nullopt;  // what Windows answers for a list cut short
    names.resize(length);
    return names;
}

bool SameAsciiName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// Whether the file may hold the section (the profile functions match its name
// whatever the case of its letters).
bool MayHold(const std::optional<std::string>& names, std::string_view section) {
    if (!names) return true;
    for (size_t start = 0; start < names->size();) {
        const size_t end = std::min(names->find('\0', start), names->size());
        if (SameAsciiName(std::string_view(*names).substr(start, end - start), section)) return true;
        start = end + 1;
    }
    return false;
}

// Nothing for a key that is missing or empty.
std::optional<bool> ReadNamedSwitch(lib::ClsKwini& ini, const String& iniPath, bool exists, const String& key) {
    const String text = ini.vbGetPrivateProfileString(u"Options", key, iniPath);
    if (text.empty()) return std::nullopt;
    if (text == u"0") return false;
    if (text == u"1" || text == u"-1") return true;
    RefuseSetting({iniPath, exists, u"Options", key}, text, Phrase(IDS_RULE_SWITCH));
}

bool ReadSwitch(lib::ClsKwini& ini, const String& iniPath, bool exists, const String& key) {
    return ReadNamedSwitch(ini, iniPath, exists, key).value_or(false);
}

}  // namespace

std::span<const KeyName> KeyNames() { return kKeyNames; }

bool HasEverydaySections(engine::Platform& platform, const String& iniPath) {
    const std::optional<std::string> names = SectionNames(platform, iniPath);
    return MayHold(names, "Keys") || MayHold(names, "Options") || MayHold(names, "Names");
}

KeysAndOptions ReadKeysAndOptions(engine::Platform& platform, lib::ClsKwini& ini, const String& iniPath,
                                  bool exists) {
    KeysAndOptions read;
    // A file written for the icons alone has none of these sections, and every
    // read of a key it lacks costs the profile functions a look at the file: a
    // start then reads none of their keys.
    const std::optional<std::string> names = SectionNames(platform, iniPath);
    if (MayHold(names, "Keys"))
        for (const KeyName& entry : kKeyNames) {
            const String text = ini.vbGetPrivateProfileString(u"Keys", entry.name, iniPath);
            if (text.empty()) continue;
            const SettingPlace place{iniPath, exists, u"Keys", entry.name};
            Phrase why(u"");
            const std::optional<KeyCombination> combination = ParseKeyCombination(text, &why);
            if (!combination) RefuseSetting(place, text, Phrase(IDS_RULE_KEY, {why}));
            for (const KeyBinding& earlier : read.keys)
                if (earlier.combination == *combination)
                    RefuseSetting(place, text, Phrase(IDS_RULE_SAME_COMBINATION, {earlier.name}));
            read.keys.push_back({entry.action, entry.desk, entry.name, text, *combination});
        }
    if (MayHold(names, "Options")) {
        read.followFocus = ReadSwitch(ini, iniPath, exists, u"FollowFocus");
        read.keepMinimised = ReadSwitch(ini, iniPath, exists, u"KeepMinimised");
        read.windowsFirst = ReadSwitch(ini, iniPath, exists, u"WindowsFirst");
        read.keepWallpapers = ReadSwitch(ini, iniPath, exists, u"KeepWallpapers");
        read.showDesktop = ReadSwitch(ini, iniPath, exists, u"ShowDesktop");
        read.gatherOnExit = ReadSwitch(ini, iniPath, exists, u"GatherOnExit");
        read.startWithWindows = ReadNamedSwitch(ini, iniPath, exists, u"StartWithWindows");
        read.iconsHint = ReadSwitch(ini, iniPath, exists, u"IconsHint");
        read.applyAtOnce = ReadSwitch(ini, iniPath, exists, u"ApplyAtOnce");
        read.language = ini.vbGetPrivateProfileString(u"Options", u"Language", iniPath);
    }
    if (MayHold(names, "Names")) read.names = ReadDesktopNames(ini, iniPath, exists);
    return read;
}

}  // namespace trevo
