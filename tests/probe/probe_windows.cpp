// Opens top-level windows with the titles, classes, places and states it is told,
// then waits until it is ended; the end-to-end tests watch what a desktop switch
// does to them.
//
//   probe_windows.exe [--refuse-end-session] "TITLE|CLASS|X|Y|WIDTH|HEIGHT|STATE" ...
//   STATE: normal, maximized, minimized or hidden
//
// WM_APP + 1 posted to any of its windows, with wParam = N, makes the program
// stop taking messages for N milliseconds: a program that does not answer.
// WM_APP + 2 sent to a window answers where the window stands when restored
// (rcNormalPosition): left in the low word, top in the high word, both signed.
// Only the window's own process reads that truly; Wine tells others the
// window's current rectangle.
//
// With --refuse-end-session it answers "not now" when asked whether the
// session may end, as a program with unsaved work does: Wine's end of the
// session then stops at it, and its windows stay to be looked at.
#include <windows.h>
#include <shellapi.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr UINT kStopAnswering = WM_APP + 1;
constexpr UINT kTellNormalPosition = WM_APP + 2;
bool refuseEndSession = false;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kStopAnswering) {
        // One thread holds every window of the probe: all of them stop answering.
        ::Sleep(static_cast<DWORD>(wParam));
        return 0;
    }
    if (message == kTellNormalPosition) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (!::GetWindowPlacement(hwnd, &placement)) return 0;
        const RECT& normal = placement.rcNormalPosition;
        return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(normal.left), static_cast<WORD>(normal.top)));
    }
    if (message == WM_QUERYENDSESSION && refuseEndSession) return FALSE;
    if (message == WM_CLOSE) {
        ::DestroyWindow(hwnd);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::set<std::wstring> registered;
    int made = 0;
    int first = 1;
    if (argv && argc > 1 && std::wstring(argv[1]) == L"--refuse-end-session") {
        refuseEndSession = true;
        first = 2;
    }
    for (int i = first; argv && i < argc; ++i) {
        const auto f = Split(argv[i], L'|');
        if (f.size() != 7) return 2;
        if (registered.insert(f[1]).second) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            wc.lpfnWndProc = ProbeProc;
            wc.hInstance = instance;
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = f[1].c_str();
            if (!::RegisterClassExW(&wc)) return 3;
        }
        HWND hwnd =
            ::CreateWindowExW(0, f[1].c_str(), f[0].c_str(), WS_OVERLAPPEDWINDOW, std::stoi(f[2]), std::stoi(f[3]),
                              std::stoi(f[4]), std::stoi(f[5]), nullptr, nullptr, instance, nullptr);
        if (!hwnd) return 4;
        const std::wstring& state = f[6];
        if (state == L"maximized")
            ::ShowWindow(hwnd, SW_SHOWMAXIMIZED);
        else if (state == L"minimized")
            ::ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
        else if (state != L"hidden")
            ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ++made;
    }
    ::LocalFree(argv);
    MSG msg;
    while (made > 0 && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
