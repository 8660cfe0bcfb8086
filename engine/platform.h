// The Windows calls the program makes, with the values and record layouts of
// 32-bit Windows. Narrow ("A") text is passed as bytes in the system's ANSI code
// page; ToAnsi/FromAnsi are the conversions every caller goes through.
#pragma once

// The constants below carry their Windows names, which <windows.h> defines as
// macros: in the Windows implementation the engine's headers come first.
#if defined(_WINDOWS_) || defined(_INC_WINDOWS)
#error "include the engine headers before <windows.h>"
#endif

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/types.h"

namespace engine {

using Dword = std::uint32_t;

// OSVERSIONINFOA, narrow form.
struct OsVersionInfoA {
    Dword dwOSVersionInfoSize = 0;
    Dword dwMajorVersion = 0;
    Dword dwMinorVersion = 0;
    Dword dwBuildNumber = 0;
    Dword dwPlatformId = 0;
    char szCSDVersion[128] = {};
};
static_assert(sizeof(OsVersionInfoA) == 148);

// NOTIFYICONDATAA in its original 88-byte layout.
struct NotifyIconDataA {
    Dword cbSize = 0;
    Dword hWnd = 0;
    Dword uID = 0;
    Dword uFlags = 0;
    Dword uCallbackMessage = 0;
    Dword hIcon = 0;
    char szTip[64] = {};
};
static_assert(sizeof(NotifyIconDataA) == 88);

// OPENFILENAMEA in its older 76-byte form (the size of 32-bit Windows).
struct OpenFileNameA {
    Dword lStructSize = 0;
    Dword hwndOwner = 0;
    Dword hInstance = 0;
    const char* lpstrFilter = nullptr;
    char* lpstrCustomFilter = nullptr;
    Dword nMaxCustFilter = 0;
    Dword nFilterIndex = 0;
    char* lpstrFile = nullptr;
    Dword nMaxFile = 0;
    char* lpstrFileTitle = nullptr;
    Dword nMaxFileTitle = 0;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    Dword Flags = 0;
    std::uint16_t nFileOffset = 0;
    std::uint16_t nFileExtension = 0;
    const char* lpstrDefExt = nullptr;
    Dword lCustData = 0;
    Dword lpfnHook = 0;
    const char* lpTemplateName = nullptr;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(OpenFileNameA) == 76);
#endif

// WINDOWPLACEMENT.
struct WindowPlacement {
    Dword length = 0;
    Dword flags = 0;
    Dword showCmd = 0;
    Point ptMinPosition;
    Point ptMaxPosition;
    Rect rcNormalPosition;
};
static_assert(sizeof(WindowPlacement) == 44);

namespace win {
// GetWindow
inline constexpr Dword GW_HWNDNEXT = 2;
inline constexpr Dword GW_OWNER = 4;
inline constexpr Dword GW_CHILD = 5;
// GetWindowLong
inline constexpr Long GWL_STYLE = -16;
inline constexpr Long GWL_EXSTYLE = -20;
// styles
inline constexpr Dword WS_VISIBLE = 0x10000000;
inline constexpr Dword WS_MINIMIZE = 0x20000000;
inline constexpr Dword WS_MAXIMIZE = 0x01000000;
inline constexpr Dword WS_CHILD = 0x40000000;
inline constexpr Dword WS_EX_TOPMOST = 0x8;
inline constexpr Dword WS_EX_LAYERED = 0x80000;
inline constexpr Dword ES_UPPERCASE = 0x0008;
inline constexpr Dword ES_LOWERCASE = 0x0010;
inline constexpr Dword ES_NUMBER = 0x2000;
// ShowWindow
inline constexpr Long SW_HIDE = 0;
inline constexpr Long SW_SHOWNORMAL = 1;
inline constexpr Long SW_SHOWMINIMIZED = 2;
inline constexpr Long SW_SHOWMAXIMIZED = 3;
inline constexpr Long SW_SHOW = 5;
inline constexpr Long SW_RESTORE = 9;
// SetWindowPos / DeferWindowPos
inline constexpr Dword SWP_NOSIZE = 0x1;
inline constexpr Dword SWP_NOMOVE = 0x2;
inline constexpr Dword SWP_NOZORDER = 0x4;
inline constexpr Dword SWP_NOACTIVATE = 0x10;
inline constexpr Dword SWP_SHOWWINDOW = 0x40;
inline constexpr Dword SWP_ASYNCWINDOWPOS = 0x4000;
inline constexpr Hwnd HWND_TOPMOST = 0xFFFFFFFFu;    // (HWND)-1
inline constexpr Hwnd HWND_NOTOPMOST = 0xFFFFFFFEu;  // (HWND)-2
// GetSystemMetrics
inline constexpr Long SM_CXSCREEN = 0;
inline constexpr Long SM_XVIRTUALSCREEN = 76;
inline constexpr Long SM_YVIRTUALSCREEN = 77;
inline constexpr Long SM_CXVIRTUALSCREEN = 78;
inline constexpr Long SM_CYVIRTUALSCREEN = 79;
inline constexpr Long SM_CMONITORS = 80;
// SystemParametersInfo
inline constexpr Dword SPI_GETWORKAREA = 48;
inline constexpr Dword SPI_SETDESKWALLPAPER = 20;
inline constexpr Dword SPI_GETDESKWALLPAPER = 115;
// Shell_NotifyIcon
inline constexpr Dword NIM_ADD = 0;
inline constexpr Dword NIM_MODIFY = 1;
inline constexpr Dword NIM_DELETE = 2;
inline constexpr Dword NIF_MESSAGE = 1;
inline constexpr Dword NIF_ICON = 2;
inline constexpr Dword NIF_TIP = 4;
// mouse messages
inline constexpr Dword WM_MOUSEMOVE = 0x200;
inline constexpr Dword WM_LBUTTONDOWN = 0x201;
inline constexpr Dword WM_LBUTTONUP = 0x202;
inline constexpr Dword WM_LBUTTONDBLCLK = 0x203;
inline constexpr Dword WM_RBUTTONDOWN = 0x204;
inline constexpr Dword WM_RBUTTONUP = 0x205;
inline constexpr Dword WM_RBUTTONDBLCLK = 0x206;
inline constexpr Dword WM_MBUTTONDOWN = 0x207;
inline constexpr Dword WM_MBUTTONUP = 0x208;
inline constexpr Dword WM_MBUTTONDBLCLK = 0x209;
inline constexpr Dword INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr Dword FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr Dword WM_NULL = 0;
// SendMessageTimeout
inline constexpr Dword SMTO_ABORTIFHUNG = 0x2;
// DwmGetWindowAttribute
inline constexpr Dword DWMWA_CLOAKED = 14;
inline constexpr Long S_OK = 0;
inline constexpr Long E_NOTIMPL = static_cast<Long>(0x80004001u);
inline constexpr Long E_INVALIDARG = static_cast<Long>(0x80070057u);
inline constexpr Long HRESULT_MOD_NOT_FOUND = static_cast<Long>(0x8007007Eu);  // from ERROR_MOD_NOT_FOUND
// kernel32 and advapi32
inline constexpr Dword ERROR_SUCCESS = 0;
inline constexpr Dword ERROR_FILE_NOT_FOUND = 2;
inline constexpr Dword ERROR_INVALID_HANDLE = 6;
inline constexpr Dword ERROR_ALREADY_EXISTS = 183;
inline constexpr Dword ERROR_MORE_DATA = 234;
inline constexpr Dword ERROR_CHILD_MUST_BE_VOLATILE = 1021;
inline constexpr Dword HKEY_CURRENT_USER = 0x80000001u;
inline constexpr Dword REG_OPTION_NON_VOLATILE = 0;
inline constexpr Dword REG_OPTION_VOLATILE = 1;
inline constexpr Dword REG_DWORD = 4;
// GetVersionEx platform ids
inline constexpr Dword VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr Dword VER_PLATFORM_WIN32_NT = 2;
}  // namespace win

class Platform {
public:
    virtual ~Platform() = default;

    // --- code page (kernel32 WideCharToMultiByte / MultiByteToWideChar with CP_ACP)
    virtual Dword AnsiCodePage() const = 0;
    virtual std::string ToAnsi(std::u16string_view text) const = 0;
    virtual String FromAnsi(std::string_view bytes) const = 0;

    // --- kernel32: profiles
    virtual Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def,
                                           char* buffer, Dword size, const char* file) = 0;
    virtual bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                            const char* file) = 0;
    virtual Dword GetPrivateProfileSectionA(const char* section, char* buffer, Dword size,
                                            const char* file) = 0;
    virtual bool WritePrivateProfileSectionA(const char* section, const char* text,
                                             const char* file) = 0;
    virtual Dword GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) = 0;

    // --- kernel32: folders and version
    virtual Dword GetSystemDirectoryA(char* buffer, Dword size) = 0;
    virtual Dword GetTempPathA(Dword size, char* buffer) = 0;
    virtual Dword GetWindowsDirectoryA(char* buffer, Dword size) = 0;
    virtual bool GetVersionExA(OsVersionInfoA* info) = 0;
    // INVALID_FILE_ATTRIBUTES (all bits set) when nothing is at that path.
    virtual Dword GetFileAttributesA(const char* path) = 0;

    // --- kernel32: named objects of the log-on session
    // A handle to the mutex of that name (made, or opened when it exists: then
    // GetLastError says ERROR_ALREADY_EXISTS); 0 on failure.
    virtual Dword CreateMutexA(const char* name) = 0;
    virtual bool CloseHandle(Dword handle) = 0;
    virtual Dword GetLastError() = 0;

    // --- advapi32: the registry (each returns a Windows error code)
    virtual Dword RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key,
                                  Dword* disposition) = 0;
    virtual Dword RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) = 0;
    virtual Dword RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) = 0;
    virtual Dword RegDeleteValueA(Dword key, const char* name) = 0;
    virtual Dword RegCloseKey(Dword key) = 0;

    // --- user32: walking and queries
    virtual Hwnd GetDesktopWindow() = 0;
    virtual Hwnd GetWindow(Hwnd hwnd, Dword cmd) = 0;
    virtual Long GetWindowLongA(Hwnd hwnd, Long index) = 0;
    virtual Long SetWindowLongA(Hwnd hwnd, Long index, Long value) = 0;
    virtual Long GetWindowTextA(Hwnd hwnd, char* buffer, Long max) = 0;
    virtual Long GetClassNameA(Hwnd hwnd, char* buffer, Long max) = 0;
    virtual Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className,
                               const char* windowName) = 0;
    virtual Dword GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) = 0;

    // --- user32: whether a window's thread takes messages
    virtual bool IsHungAppWindow(Hwnd hwnd) = 0;
    // False when the window did not answer within timeoutMs (or at once for a
    // hung one with SMTO_ABORTIFHUNG).
    virtual bool SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags,
                                     Dword timeoutMs, Dword* result) = 0;

    // --- dwmapi (loaded when present): an HRESULT, S_OK when the value was read
    virtual Long DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) = 0;

    // --- user32: changes
    virtual bool ShowWindow(Hwnd hwnd, Long cmd) = 0;
    // Hands the change to the window's own thread and returns at once.
    virtual bool ShowWindowAsync(Hwnd hwnd, Long cmd) = 0;
    virtual bool GetWindowPlacement(Hwnd hwnd, WindowPlacement* placement) = 0;
    virtual bool SetWindowPlacement(Hwnd hwnd, const WindowPlacement* placement) = 0;
    virtual bool GetWindowRect(Hwnd hwnd, Rect* rect) = 0;
    virtual bool GetClientRect(Hwnd hwnd, Rect* rect) = 0;
    virtual Dword BeginDeferWindowPos(Long count) = 0;
    virtual Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx,
                                 Long cy, Dword flags) = 0;
    virtual bool EndDeferWindowPos(Dword batch) = 0;
    virtual bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                              Dword flags) = 0;
    virtual bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) = 0;
    virtual Long GetSystemMetrics(Long index) = 0;
    virtual bool AdjustWindowRect(Rect* rect, Dword style, bool menu) = 0;
    virtual bool AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) = 0;
    virtual bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha,
                                            Dword flags) = 0;
    virtual bool ClientToScreen(Hwnd hwnd, Point* point) = 0;
    virtual bool ScreenToClient(Hwnd hwnd, Point* point) = 0;
    virtual Long MapWindowPoints(Hwnd from, Hwnd to, Point* points, Dword count) = 0;
    virtual std::uint16_t CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count,
                                         const Hwnd* kids) = 0;
    virtual std::uint16_t TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count,
                                      const Hwnd* kids) = 0;

    // --- shell32 and comdlg32
    virtual bool Shell_NotifyIconA(Dword message, const NotifyIconDataA* data) = 0;
    virtual bool GetOpenFileNameA(OpenFileNameA* record) = 0;
};

}  // namespace engine
