// The notification-area work Trevo's contract asks of each desktop, made as
// Trevo makes it: Shell_NotifyIconA with the original record (88 bytes in a
// 32-bit build, 104 in a 64-bit one), id 0, the callback
// message WM_MOUSEMOVE. The icon is added showing the program's own icon and
// then given its state: the picture of resource 10n+1 (inactive) or 10n+2
// (active), each loaded once at the notification area's size, and the tip.
// The pictures come from this program's own copy of Trevo's resources.
#pragma once

#include <windows.h>

namespace winbench {

class ContractIcon {
public:
    ContractIcon(HWND owner, int desk);
    ~ContractIcon();
    ContractIcon(const ContractIcon&) = delete;
    ContractIcon& operator=(const ContractIcon&) = delete;

    // NIM_ADD with the program's icon and no tip.
    bool Add();
    // NIM_MODIFY with the state's picture and tip.
    bool ShowState(bool active);

private:
    bool Notify(DWORD message, HICON icon, const char* tip);
    HICON StateIcon(bool active);

    HWND owner_;
    int desk_;
    HICON states_[2] = {nullptr, nullptr};
    bool added_ = false;
};

}  // namespace winbench
