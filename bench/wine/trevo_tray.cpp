#include "trevo_tray.h"

namespace winbench {
namespace {
constexpr const wchar_t* kFormClass = L"TrevoForm";
}  // namespace

std::vector<HWND> TrevoTrayWindows() {
    std::vector<HWND> found;
    for (HWND h = FindWindowExW(nullptr, nullptr, kFormClass, L"TrevoTray"); h != nullptr;
         h = FindWindowExW(nullptr, h, kFormClass, L"TrevoTray"))
        found.push_back(h);
    return found;
}

bool ClickTrayIcon(HWND tray, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(tray, WM_MOUSEMOVE, 0, WM_LBUTTONUP, SMTO_NORMAL, timeoutMs, &result) != 0;
}

HWND TrevoControllerWindow() { return FindWindowExW(nullptr, nullptr, kFormClass, L"Trevo - Properties"); }

bool PressHotKey(HWND controller, int id, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(controller, WM_HOTKEY, static_cast<WPARAM>(id), 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

}  // namespace winbench
