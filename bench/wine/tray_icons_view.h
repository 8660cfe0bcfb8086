// The notification area of Wine's desktop, seen from another process. Wine 8's
// task bar makes a tooltip window, owned by the task bar, for every icon added
// and keeps it after the icon is deleted: counting them counts the icons added
// since the desktop started, and a program's new icons show as a rise.
#pragma once

#include <windows.h>

#include <vector>

namespace winbench {

// Icons added to the notification area so far; -1 when there is no task bar.
int CountIconsAdded();

// Asks the notification area to drop the icons (id 0) of these windows, as the
// program would have done on a clean exit. For icons left behind by a program
// that was ended.
void RemoveTrayIcons(const std::vector<HWND>& owners);

// The top-level windows of one process.
std::vector<HWND> TopLevelWindowsOf(DWORD processId);

}  // namespace winbench
