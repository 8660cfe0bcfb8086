#include "app/settings_check.h"

#include "engine/error.h"
#include "engine/text.h"

namespace trevo {
using engine::Long;
using engine::String;

[[noreturn]] void RefuseSetting(const SettingPlace& place, const String& text, const String& rule) {
    String message;
    if (!place.fileExists) {
        message = u"Trevo cannot start: its settings file was not found.\r\n\r\nFile: " + place.iniPath +
                  u"\r\nSetting: [" + place.section + u"] " + place.key +
                  u"\r\n\r\nPut a Trevo.ini into the program folder (see the README) and start Trevo again.";
    } else {
        const String found = text.empty() ? String(u"none (the key is missing or empty)") : u"\"" + text + u"\"";
        message = u"Trevo cannot start: a setting in its settings file is not valid.\r\n\r\nFile: " + place.iniPath +
                  u"\r\nSetting: [" + place.section + u"] " + place.key + u"\r\nValue found: " + found + u"\r\n\r\n" +
                  rule + u"\r\nCorrect the file and start Trevo again.";
    }
    throw BadSetting(message);
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
    const String rule = u"It must be a whole number from 1 to 5 (the number of desktops).";
    Long count = 0;
    if (!place.fileExists || !ToWhole(text, count) || count < 1 || count > 5) RefuseSetting(place, text, rule);
    return count;
}

Long CheckedWholeNumber(const SettingPlace& place, const String& text) {
    const String rule = u"It must be a whole number of pixels.";
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
