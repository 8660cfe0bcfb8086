// bench_windows.exe COUNT [WIDTH HEIGHT]: opens COUNT visible overlapped windows
// (160 x 120 unless told) spread over the screen and serves their messages until
// it is ended. The switch timer
// moves them (through Trevo and through its own reference walk) and asks them
// whether the host has caught up with its painting.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "bench_protocol.h"
#include "engine/win32/handles.h"

namespace {

constexpr int kMostWindows = 2000;

struct Request {
    int count = -1;
    int width = 160;
    int height = 120;
};

LRESULT CALLBACK BenchWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == winbench::kAskBusy) {
        const DWORD waiting = HIWORD(GetQueueStatus(QS_ALLINPUT & ~QS_SENDMESSAGE));
        return waiting != 0 ? 1 : 0;
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Spread over the screen above the task bar, every window fully on it.
POINT PlaceOf(int index, const Request& request, int screenWidth, int screenHeight) {
    const int spanX = screenWidth - request.width - 16;
    const int spanY = screenHeight - request.height - 56;
    return {8 + (index * 37) % (spanX > 0 ? spanX : 1), 8 + (index * 23) % (spanY > 0 ? spanY : 1)};
}

bool ReadNumber(const wchar_t* text, int low, int high, int& into) {
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (*end != L'\0' || value < low || value > high) return false;
    into = static_cast<int>(value);
    return true;
}

Request FromCommandLine() {
    int argc = 0;
    const win32::UniqueArgumentList arguments(CommandLineToArgvW(GetCommandLineW(), &argc));
    LPWSTR* argv = arguments.get();
    Request request;
    const bool read =
        argv != nullptr && (argc == 2 || argc == 4) && ReadNumber(argv[1], 1, kMostWindows, request.count) &&
        (argc == 2 || (ReadNumber(argv[2], 8, 800, request.width) && ReadNumber(argv[3], 8, 600, request.height)));
    if (!read) request.count = -1;
    return request;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const Request request = FromCommandLine();
    if (request.count < 0) return 2;  // usage: bench_windows.exe COUNT (1 to 2000) [WIDTH HEIGHT]

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = winbench::kBenchWindowClass;
    if (!RegisterClassExW(&windowClass)) return 3;

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::vector<win32::UniqueWindow> windows;
    windows.reserve(static_cast<size_t>(request.count));
    for (int i = 0; i < request.count; ++i) {
        const POINT place = PlaceOf(i, request, screenWidth, screenHeight);
        const std::wstring title = L"Bench window " + std::to_wstring(i + 1);
        win32::UniqueWindow window(CreateWindowExW(0, winbench::kBenchWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW,
                                                   place.x, place.y, request.width, request.height, nullptr, nullptr,
                                                   instance, nullptr));
        if (!window) return 4;
        ShowWindow(window.get(), SW_SHOWNOACTIVATE);
        windows.push_back(std::move(window));
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
