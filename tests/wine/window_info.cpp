#include "window_info.h"

#include <cwchar>

#include "engine/win32/handles.h"

namespace wintool {

namespace {

constexpr UINT kMessageTimeoutMs = 2000;

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &copied)) {
        return {};
    }
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring ProcessExeName(DWORD process_id) {
    const win32::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    if (!process) return {};
    wchar_t path[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    const std::wstring full(path, size);
    const auto slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

WindowInfo DescribeWindow(HWND window) {
    WindowInfo info;
    info.handle = window;
    info.owner = GetWindow(window, GW_OWNER);
    GetWindowThreadProcessId(window, &info.process_id);
    info.exe = ProcessExeName(info.process_id);
    info.class_name = ClassName(window);
    info.text = WindowText(window);
    info.control_id = GetDlgCtrlID(window);
    info.visible = IsWindowVisible(window) != FALSE;
    info.enabled = IsWindowEnabled(window) != FALSE;
    info.minimized = IsIconic(window) != FALSE;
    GetWindowRect(window, &info.rect);
    return info;
}

JsonLine ToJson(const WindowInfo& info) {
    JsonLine line;
    line.Number("hwnd", HandleValue(info.handle))
        .Number("owner", HandleValue(info.owner))
        .Number("pid", info.process_id)
        .Text("exe", info.exe)
        .Text("class", info.class_name)
        .Text("title", info.text)
        .Number("id", info.control_id)
        .Flag("visible", info.visible)
        .Flag("enabled", info.enabled)
        .Flag("minimized", info.minimized)
        .Numbers("rect", {info.rect.left, info.rect.top, info.rect.right, info.rect.bottom});
    return line;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::int64_t HandleValue(HWND window) { return win32::HandleTo32(window); }

HWND ParseWindow(const std::wstring& text) {
    if (text.empty()) return nullptr;
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(text.c_str(), &end, 0);
    if (end == nullptr || *end != L'\0' || value > 0xFFFFFFFFull) return nullptr;
    const HWND window = win32::HandleFrom32<HWND>(static_cast<std::uint32_t>(value));
    return IsWindow(window) ? window : nullptr;
}

}  // namespace wintool
