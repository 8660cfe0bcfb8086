// A platform that hands every call on to another one: the base of anything that
// stands in front of the simulated Windows and looks at some of the calls.
#pragma once

#include <utility>

#include "engine/platform.h"

namespace sim {

class ForwardingPlatform : public engine::Platform {
public:
    explicit ForwardingPlatform(engine::Platform& inner) : inner_(inner) {}

    using Dword = engine::Dword;
    using Hwnd = engine::Hwnd;
    using Long = engine::Long;
    using Rect = engine::Rect;
    using Point = engine::Point;

    Dword AnsiCodePage() const override { return inner_.AnsiCodePage(); }
    std::string ToAnsi(std::u16string_view text) const override { return inner_.ToAnsi(text); }
    engine::String FromAnsi(std::string_view bytes) const override { return inner_.FromAnsi(bytes); }
    bool AnsiSpellsExactly(std::u16string_view text) const override { return inner_.AnsiSpellsExactly(text); }
    Dword GetShortPathNameW(const char16_t* longPath, char16_t* buffer, Dword size) override {
        return Through("GetShortPathNameW").GetShortPathNameW(longPath, buffer, size);
    }
    bool CreateDirectoryW(const char16_t* path) override { return Through("CreateDirectoryW").CreateDirectoryW(path); }
    bool GetFileAttributesExW(const char16_t* path, engine::FileAttributeData* data) override {
        return Through("GetFileAttributesExW").GetFileAttributesExW(path, data);
    }
    bool DeleteFileW(const char16_t* path) override { return Through("DeleteFileW").DeleteFileW(path); }
    bool CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists) override {
        return Through("CopyFileW").CopyFileW(from, to, failIfExists);
    }
    bool MoveFileExW(const char16_t* from, const char16_t* to, Dword flags) override {
        return Through("MoveFileExW").MoveFileExW(from, to, flags);
    }
    Long SHGetFolderPathW(Long folder, char16_t* path) override { return Through("SHGetFolderPathW").SHGetFolderPathW(folder, path); }

    Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer, Dword size,
                                   const char* file) override {
        return Through("GetPrivateProfileStringA").GetPrivateProfileStringA(section, key, def, buffer, size, file);
    }
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* file) override {
        return Through("WritePrivateProfileStringA").WritePrivateProfileStringA(section, key, value, file);
    }
    Dword GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) override {
        return Through("GetPrivateProfileSectionA").GetPrivateProfileSectionA(section, buffer, size, file);
    }
    bool WritePrivateProfileSectionA(const char* section, const char* text, const char* file) override {
        return Through("WritePrivateProfileSectionA").WritePrivateProfileSectionA(section, text, file);
    }
    Dword GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) override {
        return Through("GetPrivateProfileSectionNamesA").GetPrivateProfileSectionNamesA(buffer, size, file);
    }

    Dword GetSystemDirectoryA(char* buffer, Dword size) override { return Through("GetSystemDirectoryA").GetSystemDirectoryA(buffer, size); }
    Dword GetTempPathA(Dword size, char* buffer) override { return Through("GetTempPathA").GetTempPathA(size, buffer); }
    Dword GetWindowsDirectoryA(char* buffer, Dword size) override { return Through("GetWindowsDirectoryA").GetWindowsDirectoryA(buffer, size); }
    bool GetVersionExA(engine::OsVersionInfoA* info) override { return Through("GetVersionExA").GetVersionExA(info); }
    Dword GetFileAttributesA(const char* path) override { return Through("GetFileAttributesA").GetFileAttributesA(path); }

    Dword CreateMutexA(const char* name) override { return Through("CreateMutexA").CreateMutexA(name); }
    bool CloseHandle(Dword handle) override { return Through("CloseHandle").CloseHandle(handle); }
    Dword GetLastError() override { return Through("GetLastError").GetLastError(); }
    Dword GetCurrentProcessId() override { return Through("GetCurrentProcessId").GetCurrentProcessId(); }
    std::uint16_t GetUserDefaultUILanguage() override {
        return Through("GetUserDefaultUILanguage").GetUserDefaultUILanguage();
    }

    Dword RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) override {
        return Through("RegCreateKeyExA").RegCreateKeyExA(root, subKey, options, key, disposition);
    }
    Dword RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) override {
        return Through("RegOpenKeyExA").RegOpenKeyExA(root, subKey, access, key);
    }
    Dword RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) override {
        return Through("RegSetValueExA").RegSetValueExA(key, name, type, data, size);
    }
    Dword RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) override {
        return Through("RegQueryValueExA").RegQueryValueExA(key, name, type, data, size);
    }
    Dword RegDeleteValueA(Dword key, const char* name) override { return Through("RegDeleteValueA").RegDeleteValueA(key, name); }
    Dword RegCloseKey(Dword key) override { return Through("RegCloseKey").RegCloseKey(key); }

    Hwnd GetDesktopWindow() override { return Through("GetDesktopWindow").GetDesktopWindow(); }
    Hwnd GetWindow(Hwnd hwnd, Dword cmd) override { return Through("GetWindow").GetWindow(hwnd, cmd); }
    Long GetWindowLongA(Hwnd hwnd, Long index) override { return Through("GetWindowLongA").GetWindowLongA(hwnd, index); }
    Long SetWindowLongA(Hwnd hwnd, Long index, Long value) override {
        return Through("SetWindowLongA").SetWindowLongA(hwnd, index, value);
    }
    Long GetWindowTextA(Hwnd hwnd, char* buffer, Long max) override { return Through("GetWindowTextA").GetWindowTextA(hwnd, buffer, max); }
    Long GetClassNameA(Hwnd hwnd, char* buffer, Long max) override { return Through("GetClassNameA").GetClassNameA(hwnd, buffer, max); }
    Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) override {
        return Through("FindWindowExA").FindWindowExA(parent, childAfter, className, windowName);
    }
    Dword GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) override {
        return Through("GetWindowThreadProcessId").GetWindowThreadProcessId(hwnd, processId);
    }

    bool IsHungAppWindow(Hwnd hwnd) override { return Through("IsHungAppWindow").IsHungAppWindow(hwnd); }
    bool SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags, Dword timeoutMs,
                             Dword* result) override {
        return Through("SendMessageTimeoutA").SendMessageTimeoutA(hwnd, message, wParam, lParam, flags, timeoutMs, result);
    }
    Long DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) override {
        return Through("DwmGetWindowAttribute").DwmGetWindowAttribute(hwnd, attribute, value, size);
    }

    bool ShowWindow(Hwnd hwnd, Long cmd) override { return Through("ShowWindow").ShowWindow(hwnd, cmd); }
    bool ShowWindowAsync(Hwnd hwnd, Long cmd) override { return Through("ShowWindowAsync").ShowWindowAsync(hwnd, cmd); }
    bool GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) override {
        return Through("GetWindowPlacement").GetWindowPlacement(hwnd, placement);
    }
    bool SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) override {
        return Through("SetWindowPlacement").SetWindowPlacement(hwnd, placement);
    }
    bool GetWindowRect(Hwnd hwnd, Rect* rect) override { return Through("GetWindowRect").GetWindowRect(hwnd, rect); }
    bool GetClientRect(Hwnd hwnd, Rect* rect) override { return Through("GetClientRect").GetClientRect(hwnd, rect); }
    Dword BeginDeferWindowPos(Long count) override { return Through("BeginDeferWindowPos").BeginDeferWindowPos(count); }
    Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                         Dword flags) override {
        return Through("DeferWindowPos").DeferWindowPos(batch, hwnd, insertAfter, x, y, cx, cy, flags);
    }
    bool EndDeferWindowPos(Dword batch) override { return Through("EndDeferWindowPos").EndDeferWindowPos(batch); }
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) override {
        return Through("SetWindowPos").SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
    }
    bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) override {
        return Through("SystemParametersInfoA").SystemParametersInfoA(action, param, pv, winIni);
    }
    bool SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) override {
        return Through("SystemParametersInfoW").SystemParametersInfoW(action, param, pv, winIni);
    }
    Long GetSystemMetrics(Long index) override { return Through("GetSystemMetrics").GetSystemMetrics(index); }
    bool AdjustWindowRect(Rect* rect, Dword style, bool menu) override {
        return Through("AdjustWindowRect").AdjustWindowRect(rect, style, menu);
    }
    bool AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) override {
        return Through("AdjustWindowRectEx").AdjustWindowRectEx(rect, style, menu, exStyle);
    }
    bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) override {
        return Through("SetLayeredWindowAttributes").SetLayeredWindowAttributes(hwnd, colorKey, alpha, flags);
    }
    bool ClientToScreen(Hwnd hwnd, Point* point) override { return Through("ClientToScreen").ClientToScreen(hwnd, point); }
    bool ScreenToClient(Hwnd hwnd, Point* point) override { return Through("ScreenToClient").ScreenToClient(hwnd, point); }
    Long MapWindowPoints(Hwnd from, Hwnd to, Point* points, Dword count) override {
        return Through("MapWindowPoints").MapWindowPoints(from, to, points, count);
    }
    std::uint16_t CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override {
        return Through("CascadeWindows").CascadeWindows(parent, how, area, count, kids);
    }
    std::uint16_t TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override {
        return Through("TileWindows").TileWindows(parent, how, area, count, kids);
    }

    bool RegisterHotKey(Hwnd hwnd, Long id, Dword modifiers, Dword key) override {
        return Through("RegisterHotKey").RegisterHotKey(hwnd, id, modifiers, key);
    }
    bool UnregisterHotKey(Hwnd hwnd, Long id) override { return Through("UnregisterHotKey").UnregisterHotKey(hwnd, id); }
    Hwnd GetForegroundWindow() override { return Through("GetForegroundWindow").GetForegroundWindow(); }
    bool SetForegroundWindow(Hwnd hwnd) override { return Through("SetForegroundWindow").SetForegroundWindow(hwnd); }
    Hwnd GetAncestor(Hwnd hwnd, Dword flags) override { return Through("GetAncestor").GetAncestor(hwnd, flags); }
    Dword SetWinEventHook(Dword eventMin, Dword eventMax, Dword flags, WinEventHandler handler) override {
        return Through("SetWinEventHook").SetWinEventHook(eventMin, eventMax, flags, std::move(handler));
    }
    bool UnhookWinEvent(Dword hook) override { return Through("UnhookWinEvent").UnhookWinEvent(hook); }

    bool Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) override {
        return Through("Shell_NotifyIconA").Shell_NotifyIconA(message, data);
    }
    bool Shell_NotifyIconV2W(Dword message, const engine::NotifyIconDataV2W* data) override {
        return Through("Shell_NotifyIconV2W").Shell_NotifyIconV2W(message, data);
    }
    bool GetOpenFileNameW(engine::OpenFileNameW* record) override { return Through("GetOpenFileNameW").GetOpenFileNameW(record); }

    Dword MonitorFromWindow(Hwnd hwnd, Dword flags) override { return Through("MonitorFromWindow").MonitorFromWindow(hwnd, flags); }
    Dword MonitorFromPoint(Point point, Dword flags) override { return Through("MonitorFromPoint").MonitorFromPoint(point, flags); }
    bool GetCursorPos(Point* point) override { return Through("GetCursorPos").GetCursorPos(point); }

protected:
    // The platform a Windows call goes on to; told the call's name first, so
    // that a layer in front can count the calls or refuse them. The text
    // conversions are no calls of Windows' and pass straight on.
    virtual engine::Platform& Through(const char* call) const {
        static_cast<void>(call);
        return inner_;
    }

private:
    engine::Platform& inner_;
};

}  // namespace sim
