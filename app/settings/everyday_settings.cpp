#include "app/settings/everyday_settings.h"

#include <utility>
#include <vector>

#include "app/settings/desktop_names.h"
#include "engine/text.h"
#include "lib/ClsKwString.h"

namespace trevo {
using engine::String;

namespace {

bool IsOn(const String& text) { return text == u"1" || text == u"-1"; }

struct Write {
    String section, key, value;
};

std::vector<Write> Changes(const EverydaySettings& before, const EverydaySettings& after) {
    std::vector<Write> writes;
    for (size_t i = 0; i < after.names.size(); ++i)
        if (after.names[i] != before.names[i])
            writes.push_back({u"Names", engine::DecimalText(static_cast<long long>(i) + 1),
                              lib::ClsKwString::LeftWhole(after.names[i], kMaxNameLength)});
    for (size_t i = 0; i < after.keys.size(); ++i)
        if (after.keys[i] != before.keys[i]) writes.push_back({u"Keys", KeyNames()[i].name, after.keys[i]});
    for (size_t i = 0; i < after.options.size(); ++i) {
        if (after.options[i] == before.options[i]) continue;
        // Offered anew, Start with Windows starts switched off: the menu turns it on.
        const String on = i == kStartWithWindowsSwitch ? u"0" : u"1";
        const String off = i == kStartWithWindowsSwitch ? u"" : u"0";
        writes.push_back({u"Options", kOptionSwitches[i].key, after.options[i] ? on : off});
    }
    if (after.language != before.language) writes.push_back({u"Options", u"Language", after.language});
    return writes;
}

}  // namespace

EverydaySettings CurrentEveryday(const KeysAndOptions& inForce, lib::ClsKwini& ini, const String& iniPath) {
    EverydaySettings now;
    now.names = inForce.names;
    for (const KeyBinding& binding : inForce.keys)
        for (size_t i = 0; i < kKeyCount; ++i)
            if (binding.name == KeyNames()[i].name) now.keys[i] = binding.text;
    for (size_t i = 0; i < kOptionSwitches.size(); ++i) {
        const OptionSwitch& option = kOptionSwitches[i];
        if (option.field)
            now.options[i] = inForce.*option.field;
        else if (i == kStartWithWindowsSwitch)
            now.options[i] = inForce.startWithWindows.has_value();
        else
            now.options[i] = IsOn(ini.vbGetPrivateProfileString(u"Options", option.key, iniPath));
    }
    now.language = inForce.language;
    return now;
}

Phrase SettingRefused(const String& section, const String& key, const String& value, const Phrase& rule) {
    return Phrase(IDS_SETTING_REFUSED, {section, key, value.empty() ? Phrase(IDS_VALUE_NONE) : Phrase(value), rule});
}

std::optional<Phrase> RefusalOf(const EverydaySettings& settings) {
    for (size_t i = 0; i < settings.names.size(); ++i)
        if (HasControlCharacter(settings.names[i]))
            return SettingRefused(u"Names", engine::DecimalText(static_cast<long long>(i) + 1), settings.names[i],
                                  Phrase(IDS_RULE_NAME));
    std::vector<std::pair<size_t, KeyCombination>> seen;
    for (size_t i = 0; i < settings.keys.size(); ++i) {
        const String& text = settings.keys[i];
        if (text.empty()) continue;
        const String name = KeyNames()[i].name;
        Phrase why(u"");
        const std::optional<KeyCombination> combination = ParseKeyCombination(text, &why);
        if (!combination) return SettingRefused(u"Keys", name, text, Phrase(IDS_RULE_KEY, {why}));
        for (const auto& [earlier, other] : seen)
            if (other == *combination)
                return SettingRefused(u"Keys", name, text,
                                      Phrase(IDS_RULE_SAME_COMBINATION, {KeyNames()[earlier].name}));
        seen.emplace_back(i, *combination);
    }
    return std::nullopt;
}

std::vector<KeyBinding> BindingsOf(const EverydaySettings& settings) {
    std::vector<KeyBinding> bindings;
    for (size_t i = 0; i < settings.keys.size(); ++i) {
        if (settings.keys[i].empty()) continue;
        const std::optional<KeyCombination> combination = ParseKeyCombination(settings.keys[i], nullptr);
        if (!combination) continue;  // refused before it comes here
        const KeyName& key = KeyNames()[i];
        bindings.push_back({key.action, key.desk, key.name, settings.keys[i], *combination});
    }
    return bindings;
}

bool WriteEveryday(engine::Platform& platform, lib::ClsKwini& ini, const String& iniPath,
                   const EverydaySettings& before, const EverydaySettings& after) {
    const std::vector<Write> writes = Changes(before, after);
    if (writes.empty()) return true;
    // A write that changes nothing first: a file that refuses it stays as it was.
    const Write& first = writes.front();
    bool saved = ini.vbWritePrivateProfileString(
        first.section, first.key, ini.vbGetPrivateProfileString(first.section, first.key, iniPath), iniPath);
    // Into a copy that then takes the file's place: a Trevo killed on the way
    // leaves the old file or the new one, whole.
    const String draft = iniPath + u".new";
    const bool drafted = saved && platform.CopyFileW(iniPath.c_str(), draft.c_str(), false);
    const String& target = drafted ? draft : iniPath;
    for (const Write& w : writes) saved = saved && ini.vbWritePrivateProfileString(w.section, w.key, w.value, target);
    if (drafted) {
        saved =
            saved && platform.MoveFileExW(draft.c_str(), iniPath.c_str(),
                                          engine::win::MOVEFILE_REPLACE_EXISTING | engine::win::MOVEFILE_WRITE_THROUGH);
        if (!saved) platform.DeleteFileW(draft.c_str());
    }
    return saved;
}

void PutInForce(KeysAndOptions& inForce, const EverydaySettings& settings) {
    for (size_t i = 0; i < settings.names.size(); ++i)
        inForce.names[i] = lib::ClsKwString::LeftWhole(settings.names[i], kMaxNameLength);
    inForce.keys = BindingsOf(settings);
    for (size_t i = 0; i < kOptionSwitches.size(); ++i)
        if (kOptionSwitches[i].field) inForce.*kOptionSwitches[i].field = settings.options[i];
    const bool offered = settings.options[kStartWithWindowsSwitch];
    if (!offered)
        inForce.startWithWindows.reset();
    else if (!inForce.startWithWindows)
        inForce.startWithWindows = false;
    inForce.language = settings.language;
}

}  // namespace trevo
