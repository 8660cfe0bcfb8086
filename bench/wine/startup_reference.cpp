// startup_reference.exe [ICONS]: the least a tray program does at start-up - one
// hidden window and ICONS notification-area icons (1 to 5, 1 when not given) -
// then it waits to be ended. Its start-up time and memory are what Wine costs
// any such program.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <vector>

#include "engine/win32/handles.h"
#include "quit_on_close.h"

namespace {

constexpr UINT kIconCallback = WM_APP + 1;

// The icon is taken off again however the message loop ends.
class TrayIcon {
public:
    TrayIcon(HWND owner, UINT id) {
        record_.cbSize = sizeof record_;
        record_.hWnd = owner;
        record_.uID = id;
        record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        record_.uCallbackMessage = kIconCallback;
        record_.hIcon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 0, 0,
                                                      LR_SHARED | LR_DEFAULTSIZE));  // IDI_APPLICATION
        lstrcpynW(record_.szTip, L"start-up reference", 64);
        shown_ = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
    }
    ~TrayIcon() {
        if (shown_) Shell_NotifyIconW(NIM_DELETE, &record_);
    }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    bool Shown() const { return shown_; }

private:
    NOTIFYICONDATAW record_{};
    bool shown_ = false;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    const long count = commandLine != nullptr && *commandLine != L'\0' ? std::wcstol(commandLine, nullptr, 10) : 1;
    if (count < 1 || count > 5) return 2;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = winbench::QuitOnCloseProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"TrevoBenchReference";
    if (!RegisterClassExW(&windowClass)) return 3;
    const win32::UniqueWindow window(CreateWindowExW(0, L"TrevoBenchReference", L"Start-up reference", WS_POPUP, 0, 0,
                                                     1, 1, nullptr, nullptr, instance, nullptr));
    if (!window) return 4;
    std::vector<std::unique_ptr<TrayIcon>> icons;
    for (long id = 0; id < count; ++id) {
        icons.push_back(std::make_unique<TrayIcon>(window.get(), static_cast<UINT>(id)));
        if (!icons.back()->Shown()) return 5;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}
