#include "app/settings/settings_check.h"

#include "engine/error.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

[[noreturn]] void RefuseSetting(const SettingPlace& place, const String& text, const Phrase& rule) {
    if (!place.fileExists) throw BadSetting(Phrase(IDS_SETTINGS_FILE_MISSING, {place.iniPath, place.section, place.key}));
    const Phrase found = text.empty() ? Phrase(IDS_VALUE_NONE) : Phrase(IDS_VALUE_QUOTED, {text});
    throw BadSetting(Phrase(IDS_SETTING_NOT_VALID, {place.iniPath, place.section, place.key, found, rule}));
}

namespace {

// The runtime's conversion, or nothing when the text is no number or too large.
bool ToWhole(const String& text, Long& out) {
    try {
        out = engine::CLng(text);
        return true;
    } catch (const engine::RuntimeError& e) {
        if (e.Number() == engine::err::kTypeMismatch || e.Number() == engine::err::kOverflow) return false;
        throw;
    }
}

}  // namespace

Long CheckedDeskCount(const SettingPlace& place, const String& text) {
    const Phrase rule(IDS_RULE_DESK_COUNT);
    Long count = 0;
    if (!place.fileExists || !ToWhole(text, count) || count < 1 || count > 5) RefuseSetting(place, text, rule);
    return count;
}

Long CheckedWholeNumber(const SettingPlace& place, const String& text) {
    const Phrase rule(IDS_RULE_PIXELS);
    Long value = 0;
    if (!place.fileExists || !ToWhole(text, value)) RefuseSetting(place, text, rule);
    return value;
}

StartSettings ReadStartSettings(lib::ClsKwini& ini, engine::Platform& platform, const String& iniPath) {
    const bool exists =
        platform.GetFileAttributesA(platform.ToAnsi(iniPath).c_str()) != engine::win::INVALID_FILE_ATTRIBUTES;
    StartSettings s;
    s.fileExists = exists;
    s.deskCount = CheckedDeskCount({iniPath, exists, u"Desktops", u"Max"},
                                   ini.vbGetPrivateProfileString(u"Desktops", u"Max", iniPath));
    for (Long n = 1; n <= kMaxDesks; ++n)
        s.wallpapers[static_cast<size_t>(n - 1)] =
            ini.vbGetPrivateProfileString(u"Wallpaper", engine::DecimalText(n), iniPath);
    s.keepSize = ini.vbGetPrivateProfileString(u"Size", u"KeepSize", iniPath) == u"-1";
    s.widthText = ini.vbGetPrivateProfileString(u"Size", u"Width", iniPath);
    s.width = CheckedWholeNumber({iniPath, exists, u"Size", u"Width"}, s.widthText);
    s.heightText = ini.vbGetPrivateProfileString(u"Size", u"Height", iniPath);
    s.height = CheckedWholeNumber({iniPath, exists, u"Size", u"Height"}, s.heightText);
    return s;
}

}  // namespace trevo
