// The Windows calls answered by the simulated world.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/platform.h"
#include "engine/sim/sim_world.h"

namespace sim {

class SimPlatform : public engine::Platform {
public:
    explicit SimPlatform(World& world) : world_(world) {}
    // The process ends: Windows closes every handle it still holds.
    ~SimPlatform() override;
    void ReleaseEverything();
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    Dword AnsiCodePage() const override { return world_.codePage.Number(); }
    std::string ToAnsi(std::u16string_view text) const override { return world_.codePage.Encode(text); }
    engine::String FromAnsi(std::string_view bytes) const override { return world_.codePage.Decode(bytes); }
    bool AnsiSpellsExactly(std::u16string_view text) const override {
        bool usedDefault = false;
        world_.codePage.Encode(text, false, &usedDefault);
        return !usedDefault;
    }
    Dword GetShortPathNameW(const char16_t* longPath, char16_t* buffer, Dword size) override;
    bool CreateDirectoryW(const char16_t* path) override;
    bool GetFileAttributesExW(const char16_t* path, engine::FileAttributeData* data) override;
    bool DeleteFileW(const char16_t* path) override;
    bool CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists) override;
    bool MoveFileExW(const char16_t* from, const char16_t* to, Dword flags) override;
    Long SHGetFolderPathW(Long folder, char16_t* path) override;

    Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer, Dword size,
                                   const char* file) override;
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file) override;
    Dword GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) override;
    bool WritePrivateProfileSectionA(const char* section, const char* text, const char* file) override;
    Dword GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) override;

    Dword GetSystemDirectoryA(char* buffer, Dword size) override;
    Dword GetTempPathA(Dword size, char* buffer) override;
    Dword GetWindowsDirectoryA(char* buffer, Dword size) override;
    bool GetVersionExA(engine::OsVersionInfoA* info) override;
    Dword GetFileAttributesA(const char* path) override;

    Dword CreateMutexA(const char* name) override;
    bool CloseHandle(Dword handle) override;
    Dword GetLastError() override { return lastError_; }
    Dword GetCurrentProcessId() override { return world_.programProcess; }
    std::uint16_t GetUserDefaultUILanguage() override { return world_.options.uiLanguage; }
    Dword RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) override;
    Dword RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) override;
    Dword RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) override;
    Dword RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) override;
    Dword RegDeleteValueA(Dword key, const char* name) override;
    Dword RegCloseKey(Dword key) override;

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
    bool SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) override;
    bool GetWindowRect(Hwnd hwnd, Rect* rect) override;
    bool GetClientRect(Hwnd hwnd, Rect* rect) override;
    Dword BeginDeferWindowPos(Long count) override { return world_.windows.BeginBatch(count); }
    Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                         Dword flags) override;
    bool EndDeferWindowPos(Dword batch) override { return world_.windows.EndBatch(batch); }
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) override;
    bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) override;
    bool SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) override;
    Long GetSystemMetrics(Long index) override;
    bool AdjustWindowRect(Rect* rect, Dword style, bool menu) override;
    bool AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) override;
    bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) override;
    bool ClientToScreen(Hwnd hwnd, engine::Point* point) override;
    bool ScreenToClient(Hwnd hwnd, engine::Point* point) override;
    Long MapWindowPoints(Hwnd from, Hwnd to, engine::Point* points, Dword count) override;
    std::uint16_t CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override;
    std::uint16_t TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override;

    bool RegisterHotKey(Hwnd hwnd, Long id, Dword modifiers, Dword key) override;
    bool UnregisterHotKey(Hwnd hwnd, Long id) override;
    Hwnd GetForegroundWindow() override;
    bool SetForegroundWindow(Hwnd hwnd) override;
    Hwnd GetAncestor(Hwnd hwnd, Dword flags) override;
    Dword SetWinEventHook(Dword eventMin, Dword eventMax, Dword flags, WinEventHandler handler) override;
    bool UnhookWinEvent(Dword hook) override;

    bool Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) override;
    bool Shell_NotifyIconV2W(Dword message, const engine::NotifyIconDataV2W* data) override;
    bool GetOpenFileNameW(engine::OpenFileNameW* record) override;

    // Monitors and the pointer (sim_monitor_calls.cpp).
    Dword MonitorFromWindow(Hwnd hwnd, Dword flags) override;
    Dword MonitorFromPoint(engine::Point point, Dword flags) override;
    bool GetCursorPos(engine::Point* point) override;

private:
    struct Handle {
        bool isKey = false;
        std::string name;        // the mutex's name, or the key's path in capitals
        bool mayChange = false;  // a key opened with the right to set and delete its values
    };
    World::RegistryKey* KeyOf(Dword key);
    Dword ChangeableKey(Dword key, World::RegistryKey** found);
    // Every rectangle and metric reaches the program in its own view of the
    // monitor concerned: a window's own, or the primary's for the screen. A
    // window beside every monitor is seen at the scale it took from the
    // nearest one: the model's assumption, Windows' rule being undocumented.
    DpiView View() const { return world_.ProgramView(); }
    Dword PrimaryDpi() const { return world_.windows.monitors().Primary().dpi; }
    Rect SeenWorkArea() const { return View().ToProgram(world_.workArea, PrimaryDpi()); }
    engine::Point SeenClientOrigin(const Window& w) const;

    World& world_;
    std::map<Dword, Handle> handles_;  // the process's own handles
    std::vector<Dword> hooks_;         // its WinEvent hooks
    Dword lastError_ = 0;
};

}  // namespace sim
