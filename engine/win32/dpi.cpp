#include "engine/win32/dpi.h"

namespace win32 {

namespace {

// MDT_EFFECTIVE_DPI of shcore's MONITOR_DPI_TYPE, which MinGW's headers may lack.
constexpr int kEffectiveDpi = 0;
using GetDpiForMonitorFunction = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFunction = UINT WINAPI(HWND);
using GetSystemMetricsForDpiFunction = int WINAPI(int, UINT);

template <class Function>
Function* Procedure(const wchar_t* library, const char* name, bool load) {
    HMODULE module = ::GetModuleHandleW(library);
    if (!module && load) {
        // From the system folder only, never beside the program (shcore came
        // with Windows 8.1, which knows this flag).
        module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (!module) return nullptr;
    // The cast through void is how a procedure address becomes its own type.
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

GetDpiForWindowFunction* DpiForWindow() {
    static GetDpiForWindowFunction* const found =
        Procedure<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow", false);
    return found;
}

GetSystemMetricsForDpiFunction* MetricsForDpi() {
    static GetSystemMetricsForDpiFunction* const found =
        Procedure<GetSystemMetricsForDpiFunction>(L"user32.dll", "GetSystemMetricsForDpi", false);
    return found;
}

GetDpiForMonitorFunction* DpiForMonitor() {
    static GetDpiForMonitorFunction* const found =
        Procedure<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor", true);
    return found;
}

}  // namespace

UINT SystemDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

UINT MonitorDpi(HMONITOR monitor) {
    UINT x = 0, y = 0;
    if (auto* query = DpiForMonitor(); query && monitor && SUCCEEDED(query(monitor, kEffectiveDpi, &x, &y)) && x > 0)
        return x;
    return SystemDpi();
}

UINT WindowDpi(HWND hwnd) {
    if (auto* query = DpiForWindow(); query && hwnd)
        if (const UINT dpi = query(hwnd); dpi > 0) return dpi;
    return MonitorDpi(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY));
}

UINT NotificationAreaDpi() {
    if (HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr))
        return MonitorDpi(::MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY));
    return MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

int SystemMetricForDpi(int index, UINT dpi) {
    if (auto* query = MetricsForDpi())
        if (const int value = query(index, dpi); value > 0) return value;
    const UINT system = SystemDpi();
    const int value = ::GetSystemMetrics(index);
    return dpi == system ? value : ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(system));
}

}  // namespace win32
