// The monitor and pointer calls of the simulated Windows. Points and the
// pointer reach the program in its own view of the monitor they lie on.
#include "engine/sim/sim_platform.h"

namespace sim {
namespace win = engine::win;

namespace {
// Where MONITOR_DEFAULTTO* sends a place that lies on no monitor.
Dword Fallback(const Monitors& monitors, const Rect& r, Dword flags) {
    switch (flags) {
        case win::MONITOR_DEFAULTTOPRIMARY:
            return Monitors::HandleOf(0);
        case win::MONITOR_DEFAULTTONEAREST:
            return monitors.HandleOf(monitors.Nearest(r));
        default:
            return 0;
    }
}
}  // namespace

Dword SimPlatform::MonitorFromWindow(Hwnd hwnd, Dword flags) {
    const Window* w = world_.windows.Find(hwnd);
    const Monitors& monitors = world_.windows.monitors();
    if (!w) return flags == win::MONITOR_DEFAULTTONULL ? 0 : Monitors::HandleOf(0);
    // A minimised window counts where it will be restored.
    const Rect& r = (w->style & win::WS_MINIMIZE) ? w->normalRect : w->rect;
    if (const Monitor* under = monitors.Under(r)) return monitors.HandleOf(*under);
    return Fallback(monitors, r, flags);
}

Dword SimPlatform::MonitorFromPoint(engine::Point point, Dword flags) {
    // The program's pixels to the screen's, at the primary monitor's scale as
    // GetSystemMetrics counts them: the model's assumption for a program that
    // is not per-monitor aware.
    const Long x = View().ToScreen(point.x, PrimaryDpi()), y = View().ToScreen(point.y, PrimaryDpi());
    const Rect spot{x, y, x + 1, y + 1};
    const Monitors& monitors = world_.windows.monitors();
    if (const Monitor* under = monitors.Under(spot)) return monitors.HandleOf(*under);
    return Fallback(monitors, spot, flags);
}

bool SimPlatform::GetCursorPos(engine::Point* point) {
    if (!point) return false;
    *point = {View().ToProgram(world_.cursor.x, PrimaryDpi()), View().ToProgram(world_.cursor.y, PrimaryDpi())};
    return true;
}

}  // namespace sim
