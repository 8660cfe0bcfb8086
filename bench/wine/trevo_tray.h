// Trevo's hidden tray windows, one per desktop, and the click the notification
// area sends them.
#pragma once

#include <windows.h>

#include <vector>

namespace winbench {

// Every top-level window titled "TrevoTray" of Trevo's form class.
std::vector<HWND> TrevoTrayWindows();

// What the notification area does on a left click on the icon: the callback
// message (WM_MOUSEMOVE for Trevo) with the button's release in lParam. Returns
// once Trevo has handled it, switch included; false when Trevo did not answer
// within timeoutMs.
bool ClickTrayIcon(HWND tray, DWORD timeoutMs);

}  // namespace winbench
