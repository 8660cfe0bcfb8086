#include "app/session/icons_hint.h"

#include "app/input/hotkeys.h"

namespace trevo {
namespace win = engine::win;

namespace {
constexpr const char* kHintShownValue = "IconsHintShown";
constexpr engine::Long kFirstBuildOfWindows11 = 22000;

bool HintShownBefore(engine::Platform& platform, engine::Dword key) {
    engine::Dword type = 0, value = 0, size = sizeof(value);
    return platform.RegQueryValueExA(key, kHintShownValue, &type, &value, &size) == win::ERROR_SUCCESS;
}
}  // namespace

bool HidesNewIcons(const lib::ClsKwVer& version) {
    if (!version.IsNTAtLeast(10, 0)) return false;
    if (version.MajorVersion() > 10 || version.MinorVersion() > 0) return true;
    return version.BuidNumber() >= kFirstBuildOfWindows11;
}

void HintWhereIconsAre(engine::Platform& platform, const Texts& texts, const lib::ClsKwVer& version,
                       desktop::FrmTrevoTray& first) {
    if (!HidesNewIcons(version)) return;
    engine::Dword key = 0;
    const bool kept = platform.RegCreateKeyExA(win::HKEY_CURRENT_USER, kNoticeKey, win::REG_OPTION_NON_VOLATILE, &key,
                                               nullptr) == win::ERROR_SUCCESS;
    if (kept && HintShownBefore(platform, key)) {
        platform.RegCloseKey(key);
        return;
    }
    // Marked only once it was shown: a shell that did not take it hears it again next time.
    if (first.ShowBalloon(texts.Text(IDS_ICONS_HINT_TITLE), texts.Text(IDS_ICONS_HINT_TEXT)) && kept) {
        const engine::Dword shown = 1;
        platform.RegSetValueExA(key, kHintShownValue, win::REG_DWORD, &shown, sizeof(shown));
    }
    if (kept) platform.RegCloseKey(key);
}

}  // namespace trevo
