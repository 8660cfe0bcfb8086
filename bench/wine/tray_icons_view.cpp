#include "tray_icons_view.h"

#include <shellapi.h>

namespace winbench {
namespace {

struct WindowsOf {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK NoteWindowOf(HWND window, LPARAM context) {
    auto& walk = *reinterpret_cast<WindowsOf*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == walk.processId) walk.found.push_back(window);
    return TRUE;
}

}  // namespace

int CountIconsAdded() {
    const HWND taskBar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (taskBar == nullptr) return -1;
    int icons = 0;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); h != nullptr;
         h = FindWindowExW(nullptr, h, L"tooltips_class32", nullptr)) {
        if (GetWindow(h, GW_OWNER) == taskBar) ++icons;
    }
    return icons;
}

void RemoveTrayIcons(const std::vector<HWND>& owners) {
    for (HWND owner : owners) {
        NOTIFYICONDATAW record{};
        record.cbSize = sizeof record;
        record.hWnd = owner;
        record.uID = 0;
        Shell_NotifyIconW(NIM_DELETE, &record);
    }
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
    WindowsOf walk{processId, {}};
    EnumWindows(NoteWindowOf, reinterpret_cast<LPARAM>(&walk));
    return walk.found;
}

}  // namespace winbench
