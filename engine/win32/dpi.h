// The scale of the system, a monitor and a window, from whichever calls this
// Windows has: those newer than Windows 7 are looked up at their first use,
// and where one is missing (Windows 7 and 8, Wine 8 for some) the answer
// falls back to what the older calls know.
#pragma once

#include "engine/win32/handles.h"

namespace win32 {

inline constexpr UINT kBaseDpi = 96;

// The DPI the system was started with (what GetSystemMetrics answers for).
UINT SystemDpi();
// The effective DPI of a monitor (Windows 8.1 and later), else the system's.
UINT MonitorDpi(HMONITOR monitor);
// A window's DPI (Windows 10 1607 and later), else its monitor's.
UINT WindowDpi(HWND hwnd);
// Where the notification icons are drawn: the task bar's monitor.
UINT NotificationAreaDpi();
// GetSystemMetrics at any DPI (Windows 10 1607 and later), else scaled from
// the system's own answer.
int SystemMetricForDpi(int index, UINT dpi);

}  // namespace win32
