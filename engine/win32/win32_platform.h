// The Windows calls of the program, made for real.
#pragma once

#include "engine/platform.h"

namespace win32 {

class Win32Platform : public engine::Platform {
public:
    using Dword = engine::Dword;
    using Hwnd = engine::Hwnd;
    using Long = engine::Long;

    Dword AnsiCodePage() const override;
    std::string ToAnsi(std::u16string_view text) const override;
    engine::String FromAnsi(std::string_view bytes) const override;
    bool AnsiSpellsExactly(std::u16string_view text) const override;
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
    Dword GetLastError() override;
    std::uint16_t GetUserDefaultUILanguage() override;
    Dword GetCurrentProcessId() override;
    Dword RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) override;
    Dword RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) override;
    Dword RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) override;
    Dword RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) override;
    Dword RegDeleteValueA(Dword key, const char* name) override;
    Dword RegCloseKey(Dword key) override;

    Hwnd GetDesktopWindow() override;
    Hwnd GetWindow(Hwnd hwnd, Dword cmd) override;
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
    bool ShowWindow(Hwnd hwnd, Long cmd) override;
    bool ShowWindowAsync(Hwnd hwnd, Long cmd) override;
    bool GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) override;
    bool SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) override;
    bool GetWindowRect(Hwnd hwnd, engine::Rect* rect) override;
    bool GetClientRect(Hwnd hwnd, engine::Rect* rect) override;
    Dword BeginDeferWindowPos(Long count) override;
    Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                         Dword flags) override;
    bool EndDeferWindowPos(Dword batch) override;
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) override;
    bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) override;
    bool SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) override;
    Long GetSystemMetrics(Long index) override;
    bool AdjustWindowRect(engine::Rect* rect, Dword style, bool menu) override;
    bool AdjustWindowRectEx(engine::Rect* rect, Dword style, bool menu, Dword exStyle) override;
    bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) override;
    bool ClientToScreen(Hwnd hwnd, engine::Point* point) override;
    bool ScreenToClient(Hwnd hwnd, engine::Point* point) override;
    Long MapWindowPoints(Hwnd from, Hwnd to, engine::Point* points, Dword count) override;
    std::uint16_t CascadeWindows(Hwnd parent, Dword how, const engine::Rect* area, Dword count,
                                 const Hwnd* kids) override;
    std::uint16_t TileWindows(Hwnd parent, Dword how, const engine::Rect* area, Dword count, const Hwnd* kids) override;
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
    Dword MonitorFromWindow(Hwnd hwnd, Dword flags) override;
    Dword MonitorFromPoint(engine::Point point, Dword flags) override;
    bool GetCursorPos(engine::Point* point) override;
};

}  // namespace win32
