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
        return inner_.GetShortPathNameW(longPath, buffer, size);
    }
    bool CreateDirectoryW(const char16_t* path) override { return inner_.CreateDirectoryW(path); }
    bool GetFileAttributesExW(const char16_t* path, engine::FileAttributeData* data) override {
        return inner_.GetFileAttributesExW(path, data);
    }
    bool DeleteFileW(const char16_t* path) override { return inner_.DeleteFileW(path); }
    Long SHGetFolderPathW(Long folder, char16_t* path) override { return inner_.SHGetFolderPathW(folder, path); }

    Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer, Dword size,
                                   const char* file) override {
        return inner_.GetPrivateProfileStringA(section, key, def, buffer, size, file);
    }
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* file) override {
        return inner_.WritePrivateProfileStringA(section, key, value, file);
    }
    Dword GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) override {
        return inner_.GetPrivateProfileSectionA(section, buffer, size, file);
    }
    bool WritePrivateProfileSectionA(const char* section, const char* text, const char* file) override {
        return inner_.WritePrivateProfileSectionA(section, text, file);
    }
    Dword GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) override {
        return inner_.GetPrivateProfileSectionNamesA(buffer, size, file);
    }

    Dword GetSystemDirectoryA(char* buffer, Dword size) override { return inner_.GetSystemDirectoryA(buffer, size); }
    Dword GetTempPathA(Dword size, char* buffer) override { return inner_.GetTempPathA(size, buffer); }
    Dword GetWindowsDirectoryA(char* buffer, Dword size) override { return inner_.GetWindowsDirectoryA(buffer, size); }
    bool GetVersionExA(engine::OsVersionInfoA* info) override { return inner_.GetVersionExA(info); }
    Dword GetFileAttributesA(const char* path) override { return inner_.GetFileAttributesA(path); }

    Dword CreateMutexA(const char* name) override { return inner_.CreateMutexA(name); }
    bool CloseHandle(Dword handle) override { return inner_.CloseHandle(handle); }
    std::uint16_t GetUserDefaultUILanguage() override { return inner_.GetUserDefaultUILanguage(); }
    Dword GetLastError() override { return inner_.GetLastError(); }
    Dword GetCurrentProcessId() override { return inner_.GetCurrentProcessId(); }

    Dword RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) override {
        return inner_.RegCreateKeyExA(root, subKey, options, key, disposition);
    }
    Dword RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) override {
        return inner_.RegOpenKeyExA(root, subKey, access, key);
    }
    Dword RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) override {
        return inner_.RegSetValueExA(key, name, type, data, size);
    }
    Dword RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) override {
        return inner_.RegQueryValueExA(key, name, type, data, size);
    }
    Dword RegDeleteValueA(Dword key, const char* name) override { return inner_.RegDeleteValueA(key, name); }
    Dword RegCloseKey(Dword key) override { return inner_.RegCloseKey(key); }

    Hwnd GetDesktopWindow() override { return inner_.GetDesktopWindow(); }
    Hwnd GetWindow(Hwnd hwnd, Dword cmd) override { return inner_.GetWindow(hwnd, cmd); }
    Long GetWindowLongA(Hwnd hwnd, Long index) override { return inner_.GetWindowLongA(hwnd, index); }
    Long SetWindowLongA(Hwnd hwnd, Long index, Long value) override {
        return inner_.SetWindowLongA(hwnd, index, value);
    }
    Long GetWindowTextA(Hwnd hwnd, char* buffer, Long max) override { return inner_.GetWindowTextA(hwnd, buffer, max); }
    Long GetClassNameA(Hwnd hwnd, char* buffer, Long max) override { return inner_.GetClassNameA(hwnd, buffer, max); }
    Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) override {
        return inner_.FindWindowExA(parent, childAfter, className, windowName);
    }
    Dword GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) override {
        return inner_.GetWindowThreadProcessId(hwnd, processId);
    }

    bool IsHungAppWindow(Hwnd hwnd) override { return inner_.IsHungAppWindow(hwnd); }
    bool SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags, Dword timeoutMs,
                             Dword* result) override {
        return inner_.SendMessageTimeoutA(hwnd, message, wParam, lParam, flags, timeoutMs, result);
    }
    Long DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) override {
        return inner_.DwmGetWindowAttribute(hwnd, attribute, value, size);
    }

    bool ShowWindow(Hwnd hwnd, Long cmd) override { return inner_.ShowWindow(hwnd, cmd); }
    bool ShowWindowAsync(Hwnd hwnd, Long cmd) override { return inner_.ShowWindowAsync(hwnd, cmd); }
    bool GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) override {
        return inner_.GetWindowPlacement(hwnd, placement);
    }
    bool SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) override {
        return inner_.SetWindowPlacement(hwnd, placement);
    }
    bool GetWindowRect(Hwnd hwnd, Rect* rect) override { return inner_.GetWindowRect(hwnd, rect); }
    bool GetClientRect(Hwnd hwnd, Rect* rect) override { return inner_.GetClientRect(hwnd, rect); }
    Dword BeginDeferWindowPos(Long count) override { return inner_.BeginDeferWindowPos(count); }
    Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                         Dword flags) override {
        return inner_.DeferWindowPos(batch, hwnd, insertAfter, x, y, cx, cy, flags);
    }
    bool EndDeferWindowPos(Dword batch) override { return inner_.EndDeferWindowPos(batch); }
    bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) override {
        return inner_.SetWindowPos(hwnd, insertAfter, x, y, cx, cy, flags);
    }
    bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) override {
        return inner_.SystemParametersInfoA(action, param, pv, winIni);
    }
    Long GetSystemMetrics(Long index) override { return inner_.GetSystemMetrics(index); }
    bool AdjustWindowRect(Rect* rect, Dword style, bool menu) override {
        return inner_.AdjustWindowRect(rect, style, menu);
    }
    bool AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) override {
        return inner_.AdjustWindowRectEx(rect, style, menu, exStyle);
    }
    bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) override {
        return inner_.SetLayeredWindowAttributes(hwnd, colorKey, alpha, flags);
    }
    bool ClientToScreen(Hwnd hwnd, Point* point) override { return inner_.ClientToScreen(hwnd, point); }
    bool ScreenToClient(Hwnd hwnd, Point* point) override { return inner_.ScreenToClient(hwnd, point); }
    Long MapWindowPoints(Hwnd from, Hwnd to, Point* points, Dword count) override {
        return inner_.MapWindowPoints(from, to, points, count);
    }
    std::uint16_t CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override {
        return inner_.CascadeWindows(parent, how, area, count, kids);
    }
    std::uint16_t TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) override {
        return inner_.TileWindows(parent, how, area, count, kids);
    }

    bool RegisterHotKey(Hwnd hwnd, Long id, Dword modifiers, Dword key) override {
        return inner_.RegisterHotKey(hwnd, id, modifiers, key);
    }
    bool UnregisterHotKey(Hwnd hwnd, Long id) override { return inner_.UnregisterHotKey(hwnd, id); }
    Hwnd GetForegroundWindow() override { return inner_.GetForegroundWindow(); }
    bool SetForegroundWindow(Hwnd hwnd) override { return inner_.SetForegroundWindow(hwnd); }
    Hwnd GetAncestor(Hwnd hwnd, Dword flags) override { return inner_.GetAncestor(hwnd, flags); }
    Dword SetWinEventHook(Dword eventMin, Dword eventMax, Dword flags, WinEventHandler handler) override {
        return inner_.SetWinEventHook(eventMin, eventMax, flags, std::move(handler));
    }
    bool UnhookWinEvent(Dword hook) override { return inner_.UnhookWinEvent(hook); }

    bool Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) override {
        return inner_.Shell_NotifyIconA(message, data);
    }
    bool Shell_NotifyIconV2W(Dword message, const engine::NotifyIconDataV2W* data) override {
        return inner_.Shell_NotifyIconV2W(message, data);
    }
    bool GetOpenFileNameW(engine::OpenFileNameW* record) override { return inner_.GetOpenFileNameW(record); }

    Dword MonitorFromWindow(Hwnd hwnd, Dword flags) override { return inner_.MonitorFromWindow(hwnd, flags); }
    Dword MonitorFromPoint(Point point, Dword flags) override { return inner_.MonitorFromPoint(point, flags); }
    bool GetCursorPos(Point* point) override { return inner_.GetCursorPos(point); }

private:
    engine::Platform& inner_;
};

}  // namespace sim
