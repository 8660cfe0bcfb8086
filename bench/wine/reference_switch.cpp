#include "reference_switch.h"

#include <vector>

#include "engine/win32/handles.h"

namespace winbench {
namespace {

constexpr int kNameRoom = 259;  // as much as Trevo gives a title or class name
constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW;

struct Target {
    HWND window;
    LONG x, y;
};

void ReadNames(HWND window, NameReads reads) {
    char name[kNameRoom + 1];
    if (reads != NameReads::None) GetWindowTextA(window, name, kNameRoom);
    if (reads == NameReads::TitleAndClass) GetClassNameA(window, name, kNameRoom);
}

}  // namespace

std::vector<HWND> WalkVisibleWindows(NameReads reads, size_t& restorable) {
    std::vector<HWND> taken;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
        if ((static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_VISIBLE) == 0) continue;
        ReadNames(h, reads);
        const DWORD maximised = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_MAXIMIZE;
        const DWORD minimised = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE)) & WS_MINIMIZE;
        if ((maximised | minimised) != 0) ++restorable;  // Trevo would restore it; the benchmark has none
        taken.push_back(h);
    }
    return taken;
}

ReferencePhases ReferenceSwitch(LONG dx, NameReads reads, const Stopwatch& clock) {
    ReferencePhases phases;
    const long long start = Stopwatch::Now();
    char emptyPath[] = "";
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, emptyPath, 0xFFFFFFFFu);
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

    phases.wallpaperMs = clock.Ms(start, wallpaperDone);
    phases.walkMs = clock.Ms(wallpaperDone, walkDone);
    phases.rectsMs = clock.Ms(walkDone, rectsDone);
    phases.batchMs = clock.Ms(rectsDone, batchDone);
    phases.totalMs = clock.Ms(start, batchDone);
    phases.moved = targets.size();
    return phases;
}

}  // namespace winbench
