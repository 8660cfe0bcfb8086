// The reference for Trevo's switch: only the platform work a switch cannot do
// without, made from another process than the one owning the windows, as Trevo
// is. Trevo's time is judged against this.
#pragma once

#include <windows.h>

#include "reference_walk.h"
#include "reference_wallpaper.h"
#include "stopwatch.h"

namespace winbench {

struct ReferencePhases {
    WallpaperPhases fitting;  // with a wallpaper job: its bitmap made
    double wallpaperMs = 0;   // the wallpaper call, with its broadcast
    double walkMs = 0;       // the walk with its style and name reads
    double rectsMs = 0;      // where each window is
    double batchMs = 0;      // the deferred batch of moves
    double totalMs = 0;
    size_t moved = 0;       // windows in the batch
    size_t restorable = 0;  // maximised or minimised windows met by the walk
    bool batchDone = false;
};

// Sets the empty wallpaper (or, given a job, writes its bitmap and sets that),
// walks the top-level windows from the top, takes every visible one and moves
// them all by dx in one deferred batch.
ReferencePhases ReferenceSwitch(LONG dx, NameReads reads, const Stopwatch& clock,
                                const WallpaperJob* wallpaper = nullptr);

}  // namespace winbench
