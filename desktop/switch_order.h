// What a desktop needs to become the active one. The controller hands it down
// with every selection, so that a desktop reads nothing of the controller's own
// state, half-updated or not.
#pragma once

#include <vector>

#include "desktop/never_move.h"
#include "desktop/window_shift.h"
#include "desktop/window_sizes.h"
#include "engine/types.h"
#include "lib/ClsKwWinInterface.h"

namespace desktop {

// How the wallpaper bitmap is made from a desktop's picture.
struct WallpaperFit {
    bool keepSize = false;  // stretch the picture to width × height pixels
    engine::Long width = 0;
    engine::Long height = 0;
};

struct SwitchOrder {
    engine::Long from = 0;  // the desktop left; 0 at the first selection
    engine::Long to = 0;
    engine::Long bandWidth = 0;  // pixels from one desktop to the next
    engine::Long screenLeft = 0;  // the virtual screen's left edge
    WallpaperFit fit;
    engine::String folder;  // where Trevo.bmp is written, ending in a backslash
    lib::ClsKwWinInterface* windows = nullptr;
    const std::vector<NeverMoveRule>* neverMove = nullptr;  // compiled once, at start-up
    CollectOptions collect;                                 // pinned windows, minimised ones kept so
    WindowSizes* sizes = nullptr;                           // what each window left the screen with
    ShiftWitness witness;                                   // keeps the record of the active desktop with the windows
    // The windows move before the icons change and the wallpaper is fitted,
    // which the controller then asks for in that order.
    bool windowsFirst = false;
    // Each desktop's fitted bitmap is kept and used again while its picture is unchanged.
    bool keepWallpapers = false;
};

}  // namespace desktop
