#include "app/session/windows_family.h"

namespace trevo {

WindowsFamily FamilyOf(const lib::ClsKwVer& ver) {
    // Windows 8.1, 10 and 11 tell a program without a compatibility manifest
    // that they are 6.2, which has always read as XP. Trevo's manifest makes
    // Windows 10 and 11 report 10.0, and the classification (which has to stay
    // as it is) calls any minor version 0 "2000": their shell is in the XP
    // section, so from 6.2 on the XP family holds whatever the version says.
    if (ver.IsNTAtLeast(6, 2) || ver.IsWinXP()) return {u"XP", true};
    if (ver.IsWin2K()) return {u"2K", false};
    if (ver.IsWin98()) return {u"98", false};
    return {};
}

}  // namespace trevo
