// What the tests need to know about a window of any process on the desktop.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "json_line.h"

namespace wintool {

struct WindowInfo {
    HWND handle = nullptr;
    HWND owner = nullptr;
    DWORD process_id = 0;
    std::wstring exe;  // file name of the owning process's image, "" if unknown
    std::wstring class_name;
    std::wstring text;
    int control_id = 0;
    bool visible = false;
    bool enabled = false;
    bool minimized = false;
    RECT rect{};
};

// Text through WM_GETTEXT, which also reads other processes' edit controls.
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
std::wstring ProcessExeName(DWORD process_id);
WindowInfo DescribeWindow(HWND window);
JsonLine ToJson(const WindowInfo& info);

std::vector<HWND> TopLevelWindows();
std::vector<HWND> ChildWindows(HWND parent);  // all descendants, in Z order

// Handles are told and taken as the 32-bit numbers that 32- and 64-bit
// programs share (a handle's upper half is its sign).
std::int64_t HandleValue(HWND window);

// Parses a handle given in decimal or 0x hexadecimal; nullptr when malformed
// or when it names no window.
HWND ParseWindow(const std::wstring& text);

}  // namespace wintool
