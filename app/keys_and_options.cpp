#include "app/keys_and_options.h"

#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

namespace {

struct KeyName {
    const char16_t* name;
    KeyAction action;
    Long desk;
};

constexpr KeyName kKeyNames[] = {
    {u"Desktop1", KeyAction::Desktop, 1},  {u"Desktop2", KeyAction::Desktop, 2}, {u"Desktop3", KeyAction::Desktop, 3},
    {u"Desktop4", KeyAction::Desktop, 4},  {u"Desktop5", KeyAction::Desktop, 5}, {u"Next", KeyAction::Next, 0},
    {u"Previous", KeyAction::Previous, 0}, {u"Send1", KeyAction::Send, 1},       {u"Send2", KeyAction::Send, 2},
    {u"Send3", KeyAction::Send, 3},        {u"Send4", KeyAction::Send, 4},       {u"Send5", KeyAction::Send, 5},
    {u"Pin", KeyAction::Pin, 0},
};

bool ReadSwitch(lib::ClsKwini& ini, const String& iniPath, bool exists, const String& key) {
    const String text = ini.vbGetPrivateProfileString(u"Options", key, iniPath);
    if (text.empty() || text == u"0") return false;
    if (text == u"1" || text == u"-1") return true;
    RefuseSetting({iniPath, exists, u"Options", key}, text, u"It must be 0 (off), or 1 or -1 (on).");
}

}  // namespace

KeysAndOptions ReadKeysAndOptions(lib::ClsKwini& ini, const String& iniPath, bool exists) {
    KeysAndOptions read;
    for (const KeyName& entry : kKeyNames) {
        const String text = ini.vbGetPrivateProfileString(u"Keys", entry.name, iniPath);
        if (text.empty()) continue;
        const SettingPlace place{iniPath, exists, u"Keys", entry.name};
        String why;
        const std::optional<KeyCombination> combination = ParseKeyCombination(text, &why);
        if (!combination)
            RefuseSetting(place, text,
                          why +
                              u"\r\nA key is written as modifiers (Ctrl, Alt, Shift, Win) and one key joined by "
                              u"\"+\", such as Ctrl+Win+F2, or left empty for none.");
        for (const KeyBinding& earlier : read.keys)
            if (earlier.combination == *combination)
                RefuseSetting(place, text, u"[Keys] " + earlier.name + u" has the same combination.");
        read.keys.push_back({entry.action, entry.desk, entry.name, text, *combination});
    }
    read.followFocus = ReadSwitch(ini, iniPath, exists, u"FollowFocus");
    read.keepMinimised = ReadSwitch(ini, iniPath, exists, u"KeepMinimised");
    return read;
}

}  // namespace trevo
