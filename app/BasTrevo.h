// The program-wide values: the settings read at start-up, the desktop selection,
// and the four support objects.
#pragma once

#include <array>
#include <memory>

#include "engine/collection.h"
#include "engine/types.h"
#include "lib/ClsKwString.h"
#include "lib/ClsKwVer.h"
#include "lib/ClsKwWinInterface.h"
#include "lib/ClsKwini.h"

namespace trevo {

inline constexpr engine::Long kMaxDesks = 5;

struct BasTrevo {
    std::unique_ptr<lib::ClsKwWinInterface> gcWinInterface;
    std::unique_ptr<lib::ClsKwVer> gcVer;
    std::unique_ptr<lib::ClsKwini> gcIni;
    std::unique_ptr<lib::ClsKwString> gcString;

    engine::String gAppPath;        // the program folder, ending in a backslash
    engine::Long gScreenWidth = 0;  // pixels: the distance of one desktop from the next
    engine::String gIniName;
    engine::Long gDeskCount = 0;
    std::array<engine::String, kMaxDesks> gWallpapers;
    bool gKeepSize = false;
    engine::Long gWallWidth = 0;
    engine::Long gWallHeight = 0;
    std::unique_ptr<engine::Collection<engine::String>> gNoChange;
    engine::Long gNewDesk = 0;
    engine::Long gOldDesk = 0;  // 0 until the first desktop has been made active

    // The settings file, put together afresh for every read and write.
    engine::String IniPath() const { return gAppPath + gIniName; }
};

}  // namespace trevo
