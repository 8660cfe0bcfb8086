#include "engine/win32/dpi.h"

#include "engine/win32/late_libraries.h"

namespace win32 {

UINT SystemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
    UINT dpi = 0;
    return monitor && LateGetDpiForMonitor(monitor, &dpi) && dpi > 0 ? dpi : SystemDpi();
}

UINT WindowDpi(HWND hwnd) {
    if (const UINT dpi = hwnd ? LateGetDpiForWindow(hwnd) : 0; dpi > 0) return dpi;
    return MonitorDpi(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY));
}

UINT NotificationAreaDpi() {
    if (HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr))
        return MonitorDpi(::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY));
    return MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

int SystemMetricForDpi(int index, UINT dpi) {
    if (const int value = LateGetSystemMetricsForDpi(index, dpi); value > 0) return value;
    const UINT system = SystemDpi();
    const int value = ::GetSystemMetrics(index);
    return dpi == system ? value : ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(system));
}

}  // namespace win32
