#include "engine/win32/win32_platform.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "engine/win32/handles.h"
#include "engine/win32/late_libraries.h"
#include "engine/win32/native_records.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace win32 {
using engine::Dword;
using engine::Hwnd;
using engine::Long;

// The records without handles or pointers are handed to Windows as they are,
// in both builds: their layouts must be those of the headers, field by field.
// The two that carry handles and pointers are copied (native_records.h).
static_assert(sizeof(wchar_t) == sizeof(char16_t));
static_assert(sizeof(RECT) == sizeof(engine::Rect) && offsetof(RECT, bottom) == offsetof(engine::Rect, bottom));
static_assert(sizeof(POINT) == sizeof(engine::Point) && offsetof(POINT, y) == offsetof(engine::Point, y));
static_assert(sizeof(OSVERSIONINFOA) == sizeof(engine::OsVersionInfoA));
static_assert(offsetof(OSVERSIONINFOA, szCSDVersion) == offsetof(engine::OsVersionInfoA, szCSDVersion));
static_assert(sizeof(WINDOWPLACEMENT) == sizeof(engine::WindowPlacement));
static_assert(offsetof(WINDOWPLACEMENT, rcNormalPosition) == offsetof(engine::WindowPlacement, rcNormalPosition));

namespace {
HWND H(Hwnd h) { return ToHwnd(h); }
Hwnd F(HWND h) { return FromHwnd(h); }
RECT* R(engine::Rect* r) { return reinterpret_cast<RECT*>(r); }
// A deferred batch is a window-manager handle like a window's.
HDWP ToHdwp(Dword batch) { return HandleFrom32<HDWP>(batch); }
Dword FromHdwp(HDWP batch) { return HandleTo32(batch); }
}  // namespace

Dword Win32Platform::AnsiCodePage() const { return ::GetACP(); }

// Characters the code page lacks become its default character, as in every A call.
std::string Win32Platform::ToAnsi(std::u16string_view text) const {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, wide, length, out.data(), n, nullptr, nullptr);
    return out;
}

bool Win32Platform::AnsiSpellsExactly(std::u16string_view text) const {
    // UTF-8 spells everything, and refuses the used-default flag.
    if (text.empty() || ::GetACP() == CP_UTF8) return true;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    BOOL usedDefault = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, &usedDefault);
    return n > 0 && !usedDefault;
}

Dword Win32Platform::GetShortPathNameW(const char16_t* longPath, char16_t* buffer, Dword size) {
    return ::GetShortPathNameW(reinterpret_cast<const wchar_t*>(longPath), reinterpret_cast<wchar_t*>(buffer), size);
}

bool Win32Platform::CreateDirectoryW(const char16_t* path) {
    return ::CreateDirectoryW(reinterpret_cast<const wchar_t*>(path), nullptr) != 0;
}

bool Win32Platform::GetFileAttributesExW(const char16_t* path, engine::FileAttributeData* data) {
    static_assert(sizeof(engine::FileAttributeData) == sizeof(WIN32_FILE_ATTRIBUTE_DATA));
    static_assert(offsetof(engine::FileAttributeData, ftLastWriteTime) ==
                  offsetof(WIN32_FILE_ATTRIBUTE_DATA, ftLastWriteTime));
    static_assert(offsetof(engine::FileAttributeData, nFileSizeLow) == offsetof(WIN32_FILE_ATTRIBUTE_DATA, nFileSizeLow));
    return ::GetFileAttributesExW(reinterpret_cast<const wchar_t*>(path), GetFileExInfoStandard, data) != 0;
}

bool Win32Platform::DeleteFileW(const char16_t* path) {
    return ::DeleteFileW(reinterpret_cast<const wchar_t*>(path)) != 0;
}

bool Win32Platform::CopyFileW(const char16_t* from, const char16_t* to, bool failIfExists) {
    return ::CopyFileW(reinterpret_cast<const wchar_t*>(from), reinterpret_cast<const wchar_t*>(to), failIfExists) !=
           0;
}

bool Win32Platform::MoveFileExW(const char16_t* from, const char16_t* to, Dword flags) {
    return ::MoveFileExW(reinterpret_cast<const wchar_t*>(from), reinterpret_cast<const wchar_t*>(to), flags) != 0;
}

Long Win32Platform::SHGetFolderPathW(Long folder, char16_t* path) {
    return ::SHGetFolderPathW(nullptr, folder, nullptr, 0, reinterpret_cast<wchar_t*>(path));
}

engine::String Win32Platform::FromAnsi(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    engine::String out(static_cast<size_t>(n > 0 ? n : 0), u'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

Dword Win32Platform::GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buffer,
                                              Dword size, const char* file) {
    return ::GetPrivateProfileStringA(section, key, def, buffer, size, file);
}
bool Win32Platform::WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                               const char* file) {
    return ::WritePrivateProfileStringA(section, key, value, file) != 0;
}
Dword Win32Platform::GetPrivateProfileSectionA(const char* section, char* buffer, Dword size, const char* file) {
    return ::GetPrivateProfileSectionA(section, buffer, size, file);
}
bool Win32Platform::WritePrivateProfileSectionA(const char* section, const char* text, const char* file) {
    return ::WritePrivateProfileSectionA(section, text, file) != 0;
}
Dword Win32Platform::GetPrivateProfileSectionNamesA(char* buffer, Dword size, const char* file) {
    return ::GetPrivateProfileSectionNamesA(buffer, size, file);
}
Dword Win32Platform::GetSystemDirectoryA(char* buffer, Dword size) { return ::GetSystemDirectoryA(buffer, size); }
Dword Win32Platform::GetTempPathA(Dword size, char* buffer) { return ::GetTempPathA(size, buffer); }
Dword Win32Platform::GetWindowsDirectoryA(char* buffer, Dword size) { return ::GetWindowsDirectoryA(buffer, size); }

bool Win32Platform::GetVersionExA(engine::OsVersionInfoA* info) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(info)) != 0;
#pragma GCC diagnostic pop
}

Dword Win32Platform::GetFileAttributesA(const char* path) { return ::GetFileAttributesA(path); }

namespace {
HANDLE ToHandle(Dword h) { return HandleFrom32<HANDLE>(h); }
HKEY ToHkey(Dword h) { return HandleFrom32<HKEY>(h); }
}  // namespace

Dword Win32Platform::CreateMutexA(const char* name) { return HandleTo32(::CreateMutexA(nullptr, FALSE, name)); }
bool Win32Platform::CloseHandle(Dword handle) { return ::CloseHandle(ToHandle(handle)) != 0; }
Dword Win32Platform::GetLastError() { return ::GetLastError(); }
Dword Win32Platform::GetCurrentProcessId() { return ::GetCurrentProcessId(); }
std::uint16_t Win32Platform::GetUserDefaultUILanguage() { return ::GetUserDefaultUILanguage(); }

Dword Win32Platform::RegCreateKeyExA(Dword root, const char* subKey, Dword options, Dword* key, Dword* disposition) {
    HKEY made = nullptr;
    DWORD how = 0;
    const LONG status = ::RegCreateKeyExA(ToHkey(root), subKey, 0, nullptr, options, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                          nullptr, &made, &how);
    if (key) *key = HandleTo32(made);
    if (disposition) *disposition = how;
    return static_cast<Dword>(status);
}
Dword Win32Platform::RegOpenKeyExA(Dword root, const char* subKey, Dword access, Dword* key) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(root), subKey, 0, access, &opened);
    if (key) *key = HandleTo32(opened);
    return static_cast<Dword>(status);
}
Dword Win32Platform::RegSetValueExA(Dword key, const char* name, Dword type, const void* data, Dword size) {
    return static_cast<Dword>(::RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size));
}
Dword Win32Platform::RegQueryValueExA(Dword key, const char* name, Dword* type, void* data, Dword* size) {
    DWORD kind = 0, length = size ? *size : 0;
    const LONG status =
        ::RegQueryValueExA(ToHkey(key), name, nullptr, &kind, static_cast<BYTE*>(data), size ? &length : nullptr);
    if (type) *type = kind;
    if (size) *size = length;
    return static_cast<Dword>(status);
}
Dword Win32Platform::RegDeleteValueA(Dword key, const char* name) {
    return static_cast<Dword>(::RegDeleteValueA(ToHkey(key), name));
}
Dword Win32Platform::RegCloseKey(Dword key) { return static_cast<Dword>(::RegCloseKey(ToHkey(key))); }

Hwnd Win32Platform::GetDesktopWindow() { return F(::GetDesktopWindow()); }
Hwnd Win32Platform::GetWindow(Hwnd hwnd, Dword cmd) { return F(::GetWindow(H(hwnd), cmd)); }
Long Win32Platform::GetWindowLongA(Hwnd hwnd, Long index) { return ::GetWindowLongA(H(hwnd), index); }
Long Win32Platform::SetWindowLongA(Hwnd hwnd, Long index, Long value) {
    return ::SetWindowLongA(H(hwnd), index, value);
}
Long Win32Platform::GetWindowTextA(Hwnd hwnd, char* buffer, Long max) { return ::GetWindowTextA(H(hwnd), buffer, max); }
Long Win32Platform::GetClassNameA(Hwnd hwnd, char* buffer, Long max) { return ::GetClassNameA(H(hwnd), buffer, max); }
Hwnd Win32Platform::FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) {
    return F(::FindWindowExA(H(parent), H(childAfter), className, windowName));
}
Dword Win32Platform::GetWindowThreadProcessId(Hwnd hwnd, Dword* processId) {
    DWORD process = 0;
    const DWORD thread = ::GetWindowThreadProcessId(H(hwnd), &process);
    if (processId) *processId = process;
    return thread;
}

bool Win32Platform::IsHungAppWindow(Hwnd hwnd) { return ::IsHungAppWindow(H(hwnd)) != 0; }

bool Win32Platform::SendMessageTimeoutA(Hwnd hwnd, Dword message, Dword wParam, Long lParam, Dword flags,
                                        Dword timeoutMs, Dword* result) {
    DWORD_PTR answer = 0;
    const LRESULT ok = ::SendMessageTimeoutA(H(hwnd), message, wParam, lParam, flags, timeoutMs, &answer);
    if (result) *result = static_cast<Dword>(answer);
    return ok != 0;
}

namespace {
// dwmapi is not part of Windows 2000 and XP: it is looked for once, in the
// system folder only, at the first question.
class DwmLibrary {
public:
    using GetAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

    DwmLibrary() {
        char folder[MAX_PATH + 1] = {};
        const UINT n = ::GetSystemDirectoryA(folder, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return;
        module_.reset(::LoadLibraryA((std::string(folder) + "\\dwmapi.dll").c_str()));
        if (module_)
            getAttribute_ = reinterpret_cast<GetAttribute>(
                reinterpret_cast<void*>(::GetProcAddress(module_.get(), "DwmGetWindowAttribute")));
    }
    GetAttribute getAttribute() const { return getAttribute_; }

private:
    UniqueModule module_;
    GetAttribute getAttribute_ = nullptr;
};
}  // namespace

Long Win32Platform::DwmGetWindowAttribute(Hwnd hwnd, Dword attribute, void* value, Dword size) {
    static const DwmLibrary dwm;
    if (!dwm.getAttribute()) return engine::win::HRESULT_MOD_NOT_FOUND;
    return dwm.getAttribute()(H(hwnd), attribute, value, size);
}

bool Win32Platform::ShowWindow(Hwnd hwnd, Long cmd) { return ::ShowWindow(H(hwnd), cmd) != 0; }
bool Win32Platform::ShowWindowAsync(Hwnd hwnd, Long cmd) { return ::ShowWindowAsync(H(hwnd), cmd) != 0; }
bool Win32Platform::SetWindowPlacement(Hwnd hwnd, const engine::WindowPlacement* placement) {
    return ::SetWindowPlacement(H(hwnd), reinterpret_cast<const WINDOWPLACEMENT*>(placement)) != 0;
}
bool Win32Platform::GetWindowPlacement(Hwnd hwnd, engine::WindowPlacement* placement) {
    return ::GetWindowPlacement(H(hwnd), reinterpret_cast<WINDOWPLACEMENT*>(placement)) != 0;
}
bool Win32Platform::GetWindowRect(Hwnd hwnd, engine::Rect* rect) { return ::GetWindowRect(H(hwnd), R(rect)) != 0; }
bool Win32Platform::GetClientRect(Hwnd hwnd, engine::Rect* rect) { return ::GetClientRect(H(hwnd), R(rect)) != 0; }

Dword Win32Platform::BeginDeferWindowPos(Long count) { return FromHdwp(::BeginDeferWindowPos(count)); }
Dword Win32Platform::DeferWindowPos(Dword batch, Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy,
                                    Dword flags) {
    return FromHdwp(::DeferWindowPos(ToHdwp(batch), H(hwnd), H(insertAfter), x, y, cx, cy, flags));
}
bool Win32Platform::EndDeferWindowPos(Dword batch) { return ::EndDeferWindowPos(ToHdwp(batch)) != 0; }
bool Win32Platform::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, Long x, Long y, Long cx, Long cy, Dword flags) {
    return ::SetWindowPos(H(hwnd), H(insertAfter), x, y, cx, cy, flags) != 0;
}
bool Win32Platform::SystemParametersInfoA(Dword action, Dword param, void* pv, Dword winIni) {
    return ::SystemParametersInfoA(action, param, pv, winIni) != 0;
}
bool Win32Platform::SystemParametersInfoW(Dword action, Dword param, void* pv, Dword winIni) {
    return ::SystemParametersInfoW(action, param, pv, winIni) != 0;
}
Long Win32Platform::GetSystemMetrics(Long index) { return ::GetSystemMetrics(index); }
bool Win32Platform::AdjustWindowRect(engine::Rect* rect, Dword style, bool menu) {
    return ::AdjustWindowRect(R(rect), style, menu) != 0;
}
bool Win32Platform::AdjustWindowRectEx(engine::Rect* rect, Dword style, bool menu, Dword exStyle) {
    return ::AdjustWindowRectEx(R(rect), style, menu, exStyle) != 0;
}
bool Win32Platform::SetLayeredWindowAttributes(Hwnd hwnd, Dword colorKey, std::uint8_t alpha, Dword flags) {
    return ::SetLayeredWindowAttributes(H(hwnd), colorKey, alpha, flags) != 0;
}
bool Win32Platform::ClientToScreen(Hwnd hwnd, engine::Point* point) {
    return ::ClientToScreen(H(hwnd), reinterpret_cast<POINT*>(point)) != 0;
}
bool Win32Platform::ScreenToClient(Hwnd hwnd, engine::Point* point) {
    return ::ScreenToClient(H(hwnd), reinterpret_cast<POINT*>(point)) != 0;
}
Long Win32Platform::MapWindowPoints(Hwnd from, Hwnd to, engine::Point* points, Dword count) {
    return ::MapWindowPoints(H(from), H(to), reinterpret_cast<POINT*>(points), count);
}

namespace {
std::vector<HWND> Kids(const Hwnd* kids, Dword count) {
    std::vector<HWND> out;
    for (Dword i = 0; kids && i < count; ++i) out.push_back(ToHwnd(kids[i]));
    return out;
}
}  // namespace

std::uint16_t Win32Platform::CascadeWindows(Hwnd parent, Dword how, const engine::Rect* area, Dword count,
                                            const Hwnd* kids) {
    auto list = Kids(kids, count);
    return ::CascadeWindows(H(parent), how, reinterpret_cast<const RECT*>(area), kids ? count : 0,
                            kids ? list.data() : nullptr);
}
std::uint16_t Win32Platform::TileWindows(Hwnd parent, Dword how, const engine::Rect* area, Dword count,
                                         const Hwnd* kids) {
    auto list = Kids(kids, count);
    return ::TileWindows(H(parent), how, reinterpret_cast<const RECT*>(area), kids ? count : 0,
                         kids ? list.data() : nullptr);
}

bool Win32Platform::RegisterHotKey(Hwnd hwnd, Long id, Dword modifiers, Dword key) {
    return ::RegisterHotKey(H(hwnd), id, modifiers, key) != 0;
}
bool Win32Platform::UnregisterHotKey(Hwnd hwnd, Long id) { return ::UnregisterHotKey(H(hwnd), id) != 0; }
Hwnd Win32Platform::GetForegroundWindow() { return F(::GetForegroundWindow()); }
bool Win32Platform::SetForegroundWindow(Hwnd hwnd) { return ::SetForegroundWindow(H(hwnd)) != 0; }
Hwnd Win32Platform::GetAncestor(Hwnd hwnd, Dword flags) { return F(::GetAncestor(H(hwnd), flags)); }

namespace {
// An out-of-context hook calls back with its handle only: the handlers stand
// in this table, which only the one GUI thread touches.
std::map<HWINEVENTHOOK, engine::Platform::WinEventHandler>& WinEventHandlers() {
    static std::map<HWINEVENTHOOK, engine::Platform::WinEventHandler> handlers;
    return handlers;
}

void CALLBACK OnWinEvent(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    auto found = WinEventHandlers().find(hook);
    if (found == WinEventHandlers().end()) return;
    const engine::Platform::WinEventHandler handler = found->second;  // the handler may unhook itself
    handler(event, F(hwnd), object, child);
}
}  // namespace

Dword Win32Platform::SetWinEventHook(Dword eventMin, Dword eventMax, Dword flags, WinEventHandler handler) {
    HWINEVENTHOOK hook = ::SetWinEventHook(eventMin, eventMax, nullptr, OnWinEvent, 0, 0, flags);
    if (!hook) return 0;
    WinEventHandlers()[hook] = std::move(handler);
    return HandleTo32(hook);
}

bool Win32Platform::UnhookWinEvent(Dword hook) {
    const auto handle = HandleFrom32<HWINEVENTHOOK>(hook);
    WinEventHandlers().erase(handle);
    return ::UnhookWinEvent(handle) != 0;
}

bool Win32Platform::Shell_NotifyIconA(Dword message, const engine::NotifyIconDataA* data) {
    // The original NOTIFYICONDATAA, which the shell still accepts.
    NOTIFYICONDATAA record;
    if (!data || !ToNativeNotifyRecord(*data, record)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return ::Shell_NotifyIconA(message, &record) != 0;
}

bool Win32Platform::Shell_NotifyIconV2W(Dword message, const engine::NotifyIconDataV2W* data) {
    NOTIFYICONDATAW record;
    if (!data || !ToNativeNotifyRecordV2(*data, record)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return ::Shell_NotifyIconW(message, &record) != 0;
}

bool Win32Platform::GetOpenFileNameW(engine::OpenFileNameW* record) {
    OPENFILENAMEW native;
    if (!record || !ToNativeChooserRecord(*record, native)) return false;  // as a chooser that failed to open
    const bool chosen = LateGetOpenFileNameW(&native) != 0;
    CopyChooserAnswer(native, *record);
    return chosen;
}

// A monitor handle is a window-manager handle: it crosses as a 32-bit number.
Dword Win32Platform::MonitorFromWindow(Hwnd hwnd, Dword flags) {
    return HandleTo32(::MonitorFromWindow(H(hwnd), flags));
}

Dword Win32Platform::MonitorFromPoint(engine::Point point, Dword flags) {
    return HandleTo32(::MonitorFromPoint(POINT{point.x, point.y}, flags));
}

bool Win32Platform::GetCursorPos(engine::Point* point) {
    return point && ::GetCursorPos(reinterpret_cast<POINT*>(point)) != 0;
}

}  // namespace win32
