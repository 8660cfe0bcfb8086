// The Windows calls answered by the simulated world.
#pragma once

#include "engine/platform.h"
#include "engine/sim/sim_world.h"

namespace sim {

class SimPlatform : public engine::Platform {
public:
    explicit SimPlatform(World& world) : world_(world) {}

    Dword AnsiCodePage() const override { return world_.codePage.Number(); }
    std::string ToAnsi(std::u16string_view text) const override { return world_.codePage.Encode(text); }
    engine::String FromAnsi(std::string_view bytes) const override { return world_.codePage.Decode(bytes); }

    Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer,
                                   Dword size, const char* file) override;
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* file) override;
    Dword GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) override;
    bool WritePrivateProfileSectionA(const char* section, const char* text, const char* file) override;
    Dword GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) override;

    Dword GetSystemDirectoryA(char* buffer, Dword size) override;
    Dword GetTempPathA(Dword size, char* buffer) override;
    Dword GetWindowsDirectoryA(char* buffer, Dword size) override;
    bool GetVersionExA(engine::OsVersionInfoA* info) override;
    Dword GetFileAttributesA(const char* path) override;

    Hwnd GetDesktopWindow() override { return world_.windows.Desktop(); }
    Hwnd GetWindow(Hwnd hwnd, Dword cmd) override { return world_.windows.GetWindow(hwnd, cmd); }
    Long GetWindowLongA(Hwnd hwnd, Long index) override;
    Long SetWindowLongA(Hwnd hwnd, Long index, Long value) override;
    Long GetWindowTextA(Hwnd hwnd, char* buffer, Long max) override;
    Long GetClassNameA(Hwnd hwnd, char* buffer, Long max) override;
    Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) override;

    Dword GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) override;
    bool IsHungAppWindow(Hwnd hwnd) override;
    bool SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags, Dword timeoutMs,
                             Dword* result) override;
    Long DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) override;

    bool ShowWindow(Hwnd hwnd, Long cmd) override { return world_.windows.Show(hwnd, cmd); }
    bool ShowWindowAsync(Hwnd hwnd, Long cmd) override { return world_.windows.ShowAsync(hwnd, cmd); }
    bool GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) override;
    bool GetWindowRect(Hwnd hwnd, Rect* rect) override;
    bool GetClientRect(Hwnd hwnd, Rect* rect) override;
    Dword BeginDeferWindowPos(Long count) override { return world_.windows.BeginBatch(count); }
    Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                         Dword flags) override {
        return world_.windows.Defer(batch, hwnd, insertAfter, x, y, cx, cy, flags);
    }
    bool EndDeferWindowPos(Dword batch) override { return world_.windows.EndBatch(batch); }
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) override {
        return world_.windows.Place(hwnd, insertAfter, x, y, cx, cy, flags);
    }
    bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) override;
    Long GetSystemMetrics(Long index) override;
    bool AdjustWindowRect(Rect* rect, Dword style, bool menu) override;
    bool AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) override;
    bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) override;
    bool ClientToScreen(Hwnd hwnd, engine::Point* point) override;
    bool ScreenToClient(Hwnd hwnd, engine::Point* point) override;
    Long MapWindowPoints(Hwnd from, Hwnd to, engine::Point* points, Dword count) override;
    std::uint16_t CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override;
    std::uint16_t TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override;

    bool Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) override;
    bool GetOpenFileNameA(engine::OpenFileNameA* record) override;

private:
    World& world_;
};

}  // namespace sim
