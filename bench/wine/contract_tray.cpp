#include "contract_tray.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace winbench {
namespace {

// NOTIFYICONDATAA as Windows 95 defined it, in this build's layout: what Trevo passes.
using NotifyRecord = NOTIFYICONDATAA;
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;

HICON SmallIcon(int resource, UINT flags) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), flags));
}

}  // namespace

ContractIcon::ContractIcon(HWND owner, int desk) : owner_(owner), desk_(desk) {}

ContractIcon::~ContractIcon() {
    if (added_) {
        NotifyRecord record{};
        record.cbSize = kRecordSize;
        record.hWnd = owner_;
        Shell_NotifyIconA(NIM_DELETE, &record);
    }
    for (HICON icon : states_)
        if (icon) DestroyIcon(icon);
}

bool ContractIcon::Notify(DWORD message, HICON icon, const char* tip) {
    NotifyRecord record{};
    record.cbSize = kRecordSize;
    record.hWnd = owner_;
    record.uID = 0;
    record.uFlags = NIF_MESSAGE | NIF_ICON | (tip ? NIF_TIP : 0u);
    record.uCallbackMessage = WM_MOUSEMOVE;
    record.hIcon = icon;
    if (tip) lstrcpynA(record.szTip, tip, 64);  // the original record's tip
    return Shell_NotifyIconA(message, &record) != FALSE;
}

bool ContractIcon::Add() {
    added_ = Notify(NIM_ADD, SmallIcon(1, LR_SHARED), nullptr);  // a shared icon is never destroyed
    return added_;
}

HICON ContractIcon::StateIcon(bool active) {
    HICON& icon = states_[active ? 1 : 0];
    if (!icon) icon = SmallIcon(desk_ * 10 + (active ? 2 : 1), LR_DEFAULTCOLOR);
    return icon;
}

bool ContractIcon::ShowState(bool active) {
    char tip[64];
    std::snprintf(tip, sizeof tip, "Velmora Ver %d.%d.%d  #%d%s", TREVO_VERSION_MAJOR, TREVO_VERSION_MINOR,
                  TREVO_VERSION_PATCH, desk_, active ? " Active" : "");
    return Notify(NIM_MODIFY, StateIcon(active), tip);
}

}  // namespace winbench
