// Trevo's hidden tray windows, one per desktop, and the click the notification
// area sends them; its controller window, and the hotkeys Windows sends it.
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

// The hidden controller window (the Properties form, of the same class as the
// tray windows), where Trevo registers its hotkeys; null when there is none.
HWND TrevoControllerWindow();

// What Windows does when a registered key is pressed: WM_HOTKEY with its id.
// Returns once Trevo has handled it, switch included; false when Trevo did not
// answer within timeoutMs.
bool PressHotKey(HWND controller, int id, DWORD timeoutMs);

}  // namespace winbench
