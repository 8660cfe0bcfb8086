#include "reference_switch.h"

#include <string>
#include <vector>

#include "engine/win32/handles.h"

namespace winbench {
namespace {

constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW;

struct Target {
    HWND window;
    LONG x, y;
};

}  // namespace

ReferencePhases ReferenceSwitch(LONG dx, NameReads reads, const Stopwatch& clock, const WallpaperJob* wallpaper) {
    ReferencePhases phases;
    const long long start = Stopwatch::Now();
    std::string path;
    if (wallpaper) {
        phases.fitting = WriteWallpaperBitmap(*wallpaper, clock);
        if (phases.fitting.written) path = wallpaper->bitmapAnsi;
    }
    const long long callStart = Stopwatch::Now();
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path.data(), 0xFFFFFFFFu);
    const long long wallpaperDone = Stopwatch::Now();

    const std::vector<HWND> windows = WalkVisibleWindows(reads, phases.restorable);
    const long long walkDone = Stopwatch::Now();

    std::vector<Target> targets;
    targets.reserve(windows.size());
    for (HWND h : windows) {
        RECT r;
        if (GetWindowRect(h, &r)) targets.push_back({h, r.left + dx, r.top});
    }
    const long long rectsDone = Stopwatch::Now();

    win32::UniqueDeferBatch batch(BeginDeferWindowPos(static_cast<int>(targets.size())));
    for (const Target& t : targets) {
        if (!batch) break;  // a refused move has freed the batch
        batch.reset(DeferWindowPos(batch.release(), t.window, nullptr, t.x, t.y, 0, 0, kMoveOnly));
    }
    phases.batchDone = batch && EndDeferWindowPos(batch.release());
    const long long batchDone = Stopwatch::Now();

    phases.wallpaperMs = clock.Ms(callStart, wallpaperDone);
    phases.walkMs = clock.Ms(wallpaperDone, walkDone);
    phases.rectsMs = clock.Ms(walkDone, rectsDone);
    phases.batchMs = clock.Ms(rectsDone, batchDone);
    phases.totalMs = clock.Ms(start, batchDone);
    phases.moved = targets.size();
    return phases;
}

}  // namespace winbench
