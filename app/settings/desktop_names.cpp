#include "app/settings/desktop_names.h"

#include "app/settings/settings_check.h"
#include "engine/text.h"
#include "lib/ClsKwString.h"

namespace trevo {
using engine::String;

bool HasControlCharacter(const String& text) {
    for (char16_t c : text)
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
    return false;
}

std::array<String, kMaxDesks> ReadDesktopNames(lib::ClsKwini& ini, const String& iniPath, bool fileExists) {
    std::array<String, kMaxDesks> names;
    for (size_t i = 0; i < names.size(); ++i) {
        const String key = engine::DecimalText(static_cast<long long>(i) + 1);
        const String text = ini.vbGetPrivateProfileString(u"Names", key, iniPath);
        if (HasControlCharacter(text))
            RefuseSetting({iniPath, fileExists, u"Names", key}, text, Phrase(IDS_RULE_NAME));
        names[i] = lib::ClsKwString::LeftWhole(text, kMaxNameLength);
    }
    return names;
}

}  // namespace trevo
