// The Windows calls the program makes, with the values and record layouts of
// 32-bit Windows. Narrow ("A") text is passed as bytes in the system's ANSI code
// page; ToAnsi/FromAnsi are the conversions every caller goes through.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/types.h"
#include "engine/win_constants.h"

namespace engine {

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

// NOTIFYICONDATAW as Windows 2000 extended it (NOTIFYICONDATAW_V2_SIZE): a
// longer tip, the icon's state and a balloon, in UTF-16, so that a balloon in
// any language reads as written whatever the system's code page.
struct NotifyIconDataV2W {
    Dword cbSize = 0;
    Dword hWnd = 0;
    Dword uID = 0;
    Dword uFlags = 0;
    Dword uCallbackMessage = 0;
    Dword hIcon = 0;
    char16_t szTip[128] = {};
    Dword dwState = 0;
    Dword dwStateMask = 0;
    char16_t szInfo[256] = {};
    Dword uTimeout = 0;  // uVersion for NIM_SETVERSION
    char16_t szInfoTitle[64] = {};
    Dword dwInfoFlags = 0;
};
static_assert(sizeof(NotifyIconDataV2W) == 936);
static_assert(offsetof(NotifyIconDataV2W, szInfo) == 288 && offsetof(NotifyIconDataV2W, szInfoTitle) == 804);

// OPENFILENAME in its older 76-byte form (the size of 32-bit Windows), of
// either kind of characters.
template <class Char>
struct OpenFileName {
    Dword lStructSize = 0;
    Dword hwndOwner = 0;
    Dword hInstance = 0;
    const Char* lpstrFilter = nullptr;
    Char* lpstrCustomFilter = nullptr;
    Dword nMaxCustFilter = 0;
    Dword nFilterIndex = 0;
    Char* lpstrFile = nullptr;
    Dword nMaxFile = 0;
    Char* lpstrFileTitle = nullptr;
    Dword nMaxFileTitle = 0;
    const Char* lpstrInitialDir = nullptr;
    const Char* lpstrTitle = nullptr;
    Dword Flags = 0;
    std::uint16_t nFileOffset = 0;
    std::uint16_t nFileExtension = 0;
    const Char* lpstrDefExt = nullptr;
    Dword lCustData = 0;
    Dword lpfnHook = 0;
    const Char* lpTemplateName = nullptr;
};
using OpenFileNameW = OpenFileName<char16_t>;
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(OpenFileNameW) == 76);
#endif

// FILETIME and WIN32_FILE_ATTRIBUTE_DATA.
struct FileTime {
    Dword dwLowDateTime = 0;
    Dword dwHighDateTime = 0;
};
struct FileAttributeData {
    Dword dwFileAttributes = 0;
    FileTime ftCreationTime;
    FileTime ftLastAccessTime;
    FileTime ftLastWriteTime;
    Dword nFileSizeHigh = 0;
    Dword nFileSizeLow = 0;
};
static_assert(sizeof(FileAttributeData) == 36);

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

class Platform {
public:
    virtual ~Platform() = default;

    // --- code page (kernel32 WideCharToMultiByte / MultiByteToWideChar with CP_ACP)
    virtual Dword AnsiCodePage() const = 0;
    virtual std::string ToAnsi(std::u16string_view text) const = 0;
    virtual String FromAnsi(std::string_view bytes) const = 0;
    // WideCharToMultiByte with WC_NO_BEST_FIT_CHARS and the used-default flag:
    // false when the code page cannot spell the text exactly (a best fit such as
    // "cafe" for "café" would name another file).
    virtual bool AnsiSpellsExactly(std::u16string_view text) const = 0;

    // --- kernel32: profiles
    virtual Dword GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer,
                                           Dword size, const char* file) = 0;
    virtual bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                            const char* file) = 0;
    virtual Dword GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) = 0;
    virtual bool WritePrivateProfileSectionA(const char* section, const char* text, const char* file) = 0;
    virtual Dword GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) = 0;

    // --- kernel32: folders and version
    virtual Dword GetSystemDirectoryA(char* buffer, Dword size) = 0;
    virtual Dword GetTempPathA(Dword size, char* buffer) = 0;
    virtual Dword GetWindowsDirectoryA(char* buffer, Dword size) = 0;
    virtual bool GetVersionExA(OsVersionInfoA* info) = 0;
    // INVALID_FILE_ATTRIBUTES (all bits set) when nothing is at that path.
    virtual Dword GetFileAttributesA(const char* path) = 0;
    // The path with each long component in its 8.3 form where the volume has one;
    // the length written, or the room needed with its NUL; 0 when nothing is there.
    virtual Dword GetShortPathNameW(const char16_t* longPath, char16_t* buffer, Dword size) = 0;
    virtual bool CreateDirectoryW(const char16_t* path) = 0;  // GetLastError says why not
    // GetFileExInfoStandard: false (GetLastError says why) when nothing is there.
    virtual bool GetFileAttributesExW(const char16_t* path, FileAttributeData* data) = 0;
    virtual bool DeleteFileW(const char16_t* path) = 0;
    // False (GetLastError says why) when the source is missing or the copy may not be written.
    virtual bool CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists) = 0;
    // With MOVEFILE_REPLACE_EXISTING, a file at `to` is replaced in one step:
    // whoever reads `to` finds the old file or the new one, never a part.
    virtual bool MoveFileExW(const char16_t* from, const char16_t* to, Dword flags) = 0;
    // --- shell32 (Windows 2000 and later): a folder of the user's, MAX_PATH
    // characters of room; an HRESULT, S_OK when path holds it.
    virtual Long SHGetFolderPathW(Long folder, char16_t* path) = 0;

    // --- kernel32: named objects of the log-on session
    // A handle to the mutex of that name (made, or opened when it exists: then
    // GetLastError says ERROR_ALREADY_EXISTS); 0 on failure.
    virtual Dword CreateMutexA(const char* name) = 0;
    virtual bool CloseHandle(Dword handle) = 0;
    virtual Dword GetLastError() = 0;
    virtual Dword GetCurrentProcessId() = 0;
    // The language the user reads Windows in (a LANGID: 0x0411 Japanese, 0x0409 U.S. English).
    virtual std::uint16_t GetUserDefaultUILanguage() = 0;

    // --- advapi32: the registry (each returns a Windows error code)
    virtual Dword RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) = 0;
    // An existing key only, with the access asked for (KEY_QUERY_VALUE, KEY_SET_VALUE).
    virtual Dword RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) = 0;
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
    virtual Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) = 0;
    virtual Dword GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) = 0;

    // --- user32: whether a window's thread takes messages
    virtual bool IsHungAppWindow(Hwnd hwnd) = 0;
    // False when the window did not answer within timeoutMs (or at once for a
    // hung one with SMTO_ABORTIFHUNG).
    virtual bool SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags, Dword timeoutMs,
                                     Dword* result) = 0;

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
    virtual Dword DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                                 Dword flags) = 0;
    virtual bool EndDeferWindowPos(Dword batch) = 0;
    virtual bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) = 0;
    virtual bool SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) = 0;
    // The wallpaper's path as Windows holds it, whatever the code page can spell.
    virtual bool SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) = 0;
    virtual Long GetSystemMetrics(Long index) = 0;
    virtual bool AdjustWindowRect(Rect* rect, Dword style, bool menu) = 0;
    virtual bool AdjustWindowRectEx(Rect* rect, Dword style, bool menu, Dword exStyle) = 0;
    virtual bool SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) = 0;
    virtual bool ClientToScreen(Hwnd hwnd, Point* point) = 0;
    virtual bool ScreenToClient(Hwnd hwnd, Point* point) = 0;
    virtual Long MapWindowPoints(Hwnd from, Hwnd to, Point* points, Dword count) = 0;
    virtual std::uint16_t CascadeWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) = 0;
    virtual std::uint16_t TileWindows(Hwnd parent, Dword how, const Rect* area, Dword count, const Hwnd* kids) = 0;

    // --- user32: hotkeys and the foreground
    // False when the combination is taken (GetLastError: ERROR_HOTKEY_ALREADY_REGISTERED)
    // or not valid on this Windows; WM_HOTKEY with wParam = id then reaches hwnd.
    virtual bool RegisterHotKey(Hwnd hwnd, Long id, Dword modifiers, Dword key) = 0;
    virtual bool UnregisterHotKey(Hwnd hwnd, Long id) = 0;
    virtual Hwnd GetForegroundWindow() = 0;
    virtual bool SetForegroundWindow(Hwnd hwnd) = 0;
    virtual Hwnd GetAncestor(Hwnd hwnd, Dword flags) = 0;

    // --- user32: WinEvents, out of context: the handler runs on this thread,
    // from its message loop, never inside another program. 0 when refused.
    using WinEventHandler = std::function<void(Dword event, Hwnd hwnd, Long object, Long child)>;
    virtual Dword SetWinEventHook(Dword eventMin, Dword eventMax, Dword flags, WinEventHandler handler) = 0;
    virtual bool UnhookWinEvent(Dword hook) = 0;

    // --- shell32 and comdlg32
    virtual bool Shell_NotifyIconA(Dword message, const NotifyIconDataA* data) = 0;
    // The wide call with the longer record, whose cbSize says how much of it the shell reads.
    virtual bool Shell_NotifyIconV2W(Dword message, const NotifyIconDataV2W* data) = 0;
    // The file chooser, answering in UTF-16: a name the code page cannot spell comes whole.
    virtual bool GetOpenFileNameW(OpenFileNameW* record) = 0;

    // --- user32: monitors and the pointer, in the program's own pixels
    // The HMONITOR a window lies on most (flags MONITOR_DEFAULTTO*: none, the
    // primary or the nearest when it lies on no monitor); 0 for none.
    virtual Dword MonitorFromWindow(Hwnd hwnd, Dword flags) = 0;
    virtual Dword MonitorFromPoint(Point point, Dword flags) = 0;
    virtual bool GetCursorPos(Point* point) = 0;
};

}  // namespace engine
