#include "trevo_tray.h"

namespace winbench {

std::vector<HWND> TrevoTrayWindows() {
    std::vector<HWND> found;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"TrevoForm", L"TrevoTray"); h != nullptr;
         h = FindWindowExW(nullptr, h, L"TrevoForm", L"TrevoTray"))
        found.push_back(h);
    return found;
}

bool ClickTrayIcon(HWND tray, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(tray, WM_MOUSEMOVE, 0, WM_LBUTTONUP, SMTO_NORMAL, timeoutMs, &result) != 0;
}

}  // namespace winbench
