// The platform work of a wallpaper at its own size, as the reference does it:
// the picture decoded through the system's imaging codecs (the codec Trevo
// decodes with), written out as the same 24-bit bitmap file Trevo writes, and
// nothing else (no copy of the pixels, no temporary file). The wallpaper call
// that follows is the reference switch's.
#pragma once

#include <windows.h>

#include <string>

#include "stopwatch.h"

namespace winbench {

struct WallpaperJob {
    std::wstring picture;     // the photo
    std::wstring bitmap;      // the bitmap file written
    std::string bitmapAnsi;   // the same path for the wallpaper call
};

struct WallpaperPhases {
    double decodeMs = 0;
    double writeMs = 0;
    bool written = false;
};

// COM for the codecs, on this thread; false when it cannot start.
bool StartImaging();

WallpaperPhases WriteWallpaperBitmap(const WallpaperJob& job, const Stopwatch& clock);

}  // namespace winbench
