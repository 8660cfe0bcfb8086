#include "lib/ClsKwVer.h"

#include <cstring>

namespace lib {
using engine::Long;
using engine::String;

ClsKwVer::ClsKwVer(engine::Platform& platform) {
    info_.dwOSVersionInfoSize = sizeof(engine::OsVersionInfoA);
    platform.GetVersionExA(&info_);  // a record left unfilled classifies as no family

    const Long lw = LowWord(info_.dwBuildNumber);
    const Long major = static_cast<Long>(info_.dwMajorVersion);
    const Long minor = static_cast<Long>(info_.dwMinorVersion);
    switch (info_.dwPlatformId) {
        case engine::win::VER_PLATFORM_WIN32_WINDOWS:
            if (lw >= 3000)
                flags_[kWinME] = true;
            else if (minor < 10)
                flags_[lw < 1111 ? kWin95 : kWin95OSR2] = true;
            else
                flags_[lw < 2222 ? kWin98 : kWin98SE] = true;
            break;
        case engine::win::VER_PLATFORM_WIN32_NT:
            // From version 5 on only the minor number decides: 6.0 reads as 2000 and
            // 6.1 (and later) as XP, which is what the never-move sections expect.
            if (major < 5)
                flags_[kWinNT] = true;
            else if (minor < 1)
                flags_[kWin2K] = true;
            else
                flags_[kWinXP] = true;
            break;
        default:
            break;
    }

    // The service-pack text ends at its first NUL; a field without one, or an empty
    // one, reads as nothing.
    const void* nul = std::memchr(info_.szCSDVersion, 0, sizeof(info_.szCSDVersion));
    if (nul != nullptr && nul != info_.szCSDVersion) csdVersion_ = platform.FromAnsi(std::string(info_.szCSDVersion));
}

Long ClsKwVer::LowWord(engine::Dword value) {
    const Long low = static_cast<Long>(value & 0xFFFF);
    return low >= 0x8000 ? low - 0x10000 : low;
}

String ClsKwVer::Platform() const {
    static const char16_t* const kNames[kFamilies] = {u"Win95", u"Win95OSR2", u"Win98", u"Win98SE",
                                                      u"WinME", u"WinNT",     u"Win2K", u"WinXP"};
    for (int f = 0; f < kFamilies; ++f)
        if (flags_[f]) return kNames[f];
    return u"Unknown";
}

bool ClsKwVer::IsWin9x() const { return Is(kWin95) || Is(kWin95OSR2) || Is(kWin98) || Is(kWin98SE) || Is(kWinME); }
bool ClsKwVer::IsWin95() const { return Is(kWin95) || Is(kWin95OSR2); }
bool ClsKwVer::IsWin98() const { return Is(kWin98) || Is(kWin98SE); }
bool ClsKwVer::IsWinME() const { return Is(kWinME); }
bool ClsKwVer::IsWinNT() const { return Is(kWinNT) || Is(kWin2K) || Is(kWinXP); }
bool ClsKwVer::IsWin2K() const { return Is(kWin2K); }
bool ClsKwVer::IsWinXP() const { return Is(kWinXP); }
Long ClsKwVer::MajorVersion() const { return static_cast<Long>(info_.dwMajorVersion); }
Long ClsKwVer::MinorVersion() const { return static_cast<Long>(info_.dwMinorVersion); }
bool ClsKwVer::IsNTAtLeast(Long major, Long minor) const {
    return IsWinNT() && (MajorVersion() > major || (MajorVersion() == major && MinorVersion() >= minor));
}
Long ClsKwVer::BuidNumber() const { return static_cast<Long>(info_.dwBuildNumber); }
Long ClsKwVer::PlatformID() const { return static_cast<Long>(info_.dwPlatformId); }
String ClsKwVer::CSDVersion() const { return csdVersion_; }

}  // namespace lib
