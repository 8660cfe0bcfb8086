// contract_startup.exe: the platform work Trevo's start-up cannot do without,
// and nothing of Trevo's own, so that Trevo's start is judged against it. It
// reads the Trevo.ini beside it (the desktop count, the five wallpapers, the
// size keys, the never-move entries of its Windows family) and then, as Trevo:
// the controller's hidden window with the dialog's two size boxes made
// digits-only, enabled by the size rule and given their values; one hidden
// window per desktop whose icon is added and given its inactive state (from
// the highest number down in the XP family, else up); the controller hidden;
// and the first selection: every desktop told its state in index order,
// desktop 1's wallpaper call (the path itself, empty when none is named: the
// fitting is measured apart) and the walk over the visible windows, with their
// titles read when there are never-move entries. Then it waits to be ended.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "contract_tray.h"
#include "engine/win32/handles.h"
#include "quit_on_close.h"
#include "reference_walk.h"

namespace winbench {
namespace {

constexpr int kMostDesks = 5;
constexpr DWORD kValueRoom = 255;
constexpr const wchar_t* kClass = L"TrevoContractStartup";

class Settings {
public:
    Settings() {
        char module[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
        path_.assign(module, n);
        path_ = path_.substr(0, path_.find_last_of('\\') + 1) + "Trevo.ini";
    }
    std::string Read(const char* section, const char* key) const {
        char value[kValueRoom + 1];
        const DWORD n = GetPrivateProfileStringA(section, key, "", value, kValueRoom, path_.c_str());
        return std::string(value, n);
    }

private:
    std::string path_;
};

bool IsXpFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return false;
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5 &&
           version.dwMinorVersion >= 1;
}

HWND Hidden(const wchar_t* title, DWORD style, HWND parent = nullptr) {
    return CreateWindowExW(0, kClass, title, style, 0, 0, 100, 100, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

// An edit box of the dialog, made digits-only as start-up makes the size boxes.
HWND DigitsBox(HWND dialog, const char* text) {
    HWND box = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               0, 0, 40, 18, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (box) SetWindowLongA(box, GWL_STYLE, GetWindowLongA(box, GWL_STYLE) | ES_NUMBER);
    return box;
}

struct Desk {
    win32::UniqueWindow window;
    std::unique_ptr<ContractIcon> icon;
};

int Run(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = winbench::QuitOnCloseProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClass;
    if (!RegisterClassExW(&windowClass)) return 3;

    const win32::UniqueWindow controller(Hidden(L"Trevo - Properties", WS_POPUP | WS_CAPTION | WS_SYSMENU));
    HWND width = controller ? DigitsBox(controller.get(), "400") : nullptr;
    HWND height = controller ? DigitsBox(controller.get(), "300") : nullptr;
    if (!width || !height) return 4;

    const Settings settings;
    const int count = std::atoi(settings.Read("Desktops", "Max").c_str());
    if (count < 1 || count > kMostDesks) return 2;
    std::string wallpapers[kMostDesks];
    for (int n = 1; n <= kMostDesks; ++n) wallpapers[n - 1] = settings.Read("Wallpaper", std::to_string(n).c_str());
    // The size boxes are enabled with the rule and get their values, which
    // are read back from them.
    const BOOL keepSize = settings.Read("Size", "KeepSize") == "-1";
    EnableWindow(width, keepSize);
    EnableWindow(height, keepSize);
    char back[kValueRoom + 1];
    SetWindowTextA(width, settings.Read("Size", "Width").c_str());
    GetWindowTextA(width, back, sizeof back);
    SetWindowTextA(height, settings.Read("Size", "Height").c_str());
    GetWindowTextA(height, back, sizeof back);
    const bool xp = IsXpFamily();
    int neverMove = 0;
    for (int k = 1; xp; ++k, ++neverMove) {
        const std::string key = (k < 10 ? "0" : "") + std::to_string(k);
        if (settings.Read("NoChange-XP", key.c_str()).empty()) break;
    }

    std::vector<Desk> desks(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int n = xp ? count - i : i + 1;
        Desk& desk = desks[static_cast<size_t>(n - 1)];
        desk.window.reset(Hidden(L"TrevoTray", WS_POPUP));
        if (!desk.window) return 4;
        desk.icon = std::make_unique<ContractIcon>(desk.window.get(), n);
        if (!desk.icon->Add() || !desk.icon->ShowState(false)) return 5;
    }
    ShowWindow(controller.get(), SW_HIDE);

    for (int n = 1; n <= count; ++n) {
        desks[static_cast<size_t>(n - 1)].icon->ShowState(n == 1);
        if (n != 1) continue;
        std::string path = wallpapers[0];
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path.data(), 0xFFFFFFFFu);
        size_t restorable = 0;
        WalkVisibleWindows(neverMove > 0 ? NameReads::Title : NameReads::None, restorable);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace
}  // namespace winbench

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return winbench::Run(instance); }
