// The reference for Trevo's switch: only the platform work a switch cannot do
// without, made from another process than the one owning the windows, as Trevo
// is. Trevo's time is judged against this.
#pragma once

#include <windows.h>

#include <vector>

#include "stopwatch.h"

namespace winbench {

// Which names of each visible window the walk reads: none (no never-move
// pattern), the title (what a title-and-class pattern that fails on the title
// needs), or both.
enum class NameReads { None, Title, TitleAndClass };

struct ReferencePhases {
    double wallpaperMs = 0;  // the empty wallpaper, with its broadcast
    double walkMs = 0;       // the walk with its style and name reads
    double rectsMs = 0;      // where each window is
    double batchMs = 0;      // the deferred batch of moves
    double totalMs = 0;
    size_t moved = 0;       // windows in the batch
    size_t restorable = 0;  // maximised or minimised windows met by the walk
    bool batchDone = false;
};

// The walk Trevo makes: from the top, one style read to see visibility, the
// names, then the maximise and minimise tests, each a style read of its own.
// Gives the visible windows; counts those Trevo would restore.
std::vector<HWND> WalkVisibleWindows(NameReads reads, size_t& restorable);

// Sets the empty wallpaper, walks the top-level windows from the top, takes every
// visible one and moves them all by dx in one deferred batch.
ReferencePhases ReferenceSwitch(LONG dx, NameReads reads, const Stopwatch& clock);

}  // namespace winbench
