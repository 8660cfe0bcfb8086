// The Windows version, asked once when the object is made, and its family.
#pragma once

#include "engine/platform.h"

namespace lib {

class ClsKwVer {
public:
    explicit ClsKwVer(engine::Platform& platform);

    // "Win95", "Win95OSR2", "Win98", "Win98SE", "WinME", "WinNT", "Win2K", "WinXP" or "Unknown".
    engine::String Platform() const;
    bool IsWin9x() const;
    bool IsWin95() const;
    bool IsWin98() const;
    bool IsWinME() const;
    bool IsWinNT() const;
    bool IsWin2K() const;
    bool IsWinXP() const;
    engine::Long MajorVersion() const;
    engine::Long MinorVersion() const;
    // The NT family at this version or later (6.1: Windows 7).
    bool IsNTAtLeast(engine::Long major, engine::Long minor) const;
    engine::Long BuidNumber() const;  // the name the class has always had
    engine::Long PlatformID() const;
    engine::String CSDVersion() const;

private:
    enum Family { kWin95, kWin95OSR2, kWin98, kWin98SE, kWinME, kWinNT, kWin2K, kWinXP, kFamilies };
    static engine::Long LowWord(engine::Dword value);
    bool Is(Family f) const { return flags_[f]; }

    engine::OsVersionInfoA info_;
    bool flags_[kFamilies] = {};
    engine::String csdVersion_;
};

}  // namespace lib
