// The values of 32-bit Windows that the program and the simulated Windows use,
// under their Windows names. engine/win32/win_constants_check.cpp holds each one
// against <windows.h>, so a wrong value cannot reach either implementation.
#pragma once

// <windows.h> defines these names as macros: the engine's headers come first.
#if defined(_WINDOWS_) || defined(_INC_WINDOWS)
#error "include the engine headers before <windows.h>"
#endif

#include <cstdint>

#include "engine/types.h"

namespace engine {

using Dword = std::uint32_t;

namespace win {
// GetWindow
inline constexpr Dword GW_HWNDNEXT = 2;
inline constexpr Dword GW_OWNER = 4;
inline constexpr Dword GW_CHILD = 5;
// GetWindowLong
inline constexpr Long GWL_STYLE = -16;
inline constexpr Long GWL_EXSTYLE = -20;
// window styles
inline constexpr Dword WS_VISIBLE = 0x10000000;
inline constexpr Dword WS_MINIMIZE = 0x20000000;
inline constexpr Dword WS_MAXIMIZE = 0x01000000;
inline constexpr Dword WS_CHILD = 0x40000000;
inline constexpr Dword WS_DISABLED = 0x08000000;
inline constexpr Dword WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr Dword WS_BORDER = 0x00800000;
inline constexpr Dword WS_DLGFRAME = 0x00400000;
inline constexpr Dword WS_SYSMENU = 0x00080000;
inline constexpr Dword WS_THICKFRAME = 0x00040000;
inline constexpr Dword WS_OVERLAPPEDWINDOW = 0x00CF0000;
// extended window styles
inline constexpr Dword WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr Dword WS_EX_TOPMOST = 0x00000008;
inline constexpr Dword WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr Dword WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr Dword WS_EX_STATICEDGE = 0x00020000;
inline constexpr Dword WS_EX_LAYERED = 0x00080000;
// edit control styles
inline constexpr Dword ES_UPPERCASE = 0x0008;
inline constexpr Dword ES_LOWERCASE = 0x0010;
inline constexpr Dword ES_READONLY = 0x0800;
inline constexpr Dword ES_NUMBER = 0x2000;
// ShowWindow
inline constexpr Long SW_HIDE = 0;
inline constexpr Long SW_SHOWNORMAL = 1;
inline constexpr Long SW_SHOWMINIMIZED = 2;
inline constexpr Long SW_SHOWMAXIMIZED = 3;
inline constexpr Long SW_SHOW = 5;
inline constexpr Long SW_SHOWMINNOACTIVE = 7;
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
// CascadeWindows / TileWindows
inline constexpr Dword MDITILE_HORIZONTAL = 1;
inline constexpr Dword MDITILE_SKIPDISABLED = 2;
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
inline constexpr Dword NIF_INFO = 0x10;  // the balloon of the longer record
inline constexpr Dword NIIF_INFO = 1;    // the balloon's information icon
// messages
inline constexpr Dword WM_NULL = 0;
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
inline constexpr Dword WM_HOTKEY = 0x312;
// RegisterHotKey
inline constexpr Dword MOD_ALT = 0x1;
inline constexpr Dword MOD_CONTROL = 0x2;
inline constexpr Dword MOD_SHIFT = 0x4;
inline constexpr Dword MOD_WIN = 0x8;
inline constexpr Dword MOD_NOREPEAT = 0x4000;  // Windows 7 and later
// virtual keys
inline constexpr Dword VK_PRIOR = 0x21;
inline constexpr Dword VK_NEXT = 0x22;
inline constexpr Dword VK_END = 0x23;
inline constexpr Dword VK_HOME = 0x24;
inline constexpr Dword VK_LEFT = 0x25;
inline constexpr Dword VK_UP = 0x26;
inline constexpr Dword VK_RIGHT = 0x27;
inline constexpr Dword VK_DOWN = 0x28;
inline constexpr Dword VK_INSERT = 0x2D;
inline constexpr Dword VK_DELETE = 0x2E;
inline constexpr Dword VK_NUMPAD0 = 0x60;
inline constexpr Dword VK_F1 = 0x70;
inline constexpr Dword VK_BACK = 0x08;
inline constexpr Dword VK_TAB = 0x09;
inline constexpr Dword VK_RETURN = 0x0D;
inline constexpr Dword VK_SHIFT = 0x10;
inline constexpr Dword VK_CONTROL = 0x11;
inline constexpr Dword VK_MENU = 0x12;
inline constexpr Dword VK_ESCAPE = 0x1B;
inline constexpr Dword VK_SPACE = 0x20;
// The hot-key control's modifiers (HKM_GETHOTKEY's high byte)
inline constexpr Dword HOTKEYF_SHIFT = 0x1;
inline constexpr Dword HOTKEYF_CONTROL = 0x2;
inline constexpr Dword HOTKEYF_ALT = 0x4;
inline constexpr Dword HOTKEYF_EXT = 0x8;
// GetAncestor
inline constexpr Dword GA_ROOT = 2;
// SetWinEventHook
inline constexpr Dword EVENT_SYSTEM_FOREGROUND = 0x0003;
inline constexpr Dword EVENT_OBJECT_FOCUS = 0x8005;
inline constexpr Dword WINEVENT_OUTOFCONTEXT = 0x0;
inline constexpr Dword WINEVENT_SKIPOWNPROCESS = 0x2;
// SendMessageTimeout
inline constexpr Dword SMTO_ABORTIFHUNG = 0x2;
// DwmGetWindowAttribute
inline constexpr Dword DWMWA_CLOAKED = 14;
inline constexpr Dword DWM_CLOAKED_SHELL = 0x2;
// HRESULTs
inline constexpr Long S_OK = 0;
inline constexpr Long E_NOTIMPL = static_cast<Long>(0x80004001u);
inline constexpr Long E_INVALIDARG = static_cast<Long>(0x80070057u);
inline constexpr Long HRESULT_MOD_NOT_FOUND = static_cast<Long>(0x8007007Eu);  // from ERROR_MOD_NOT_FOUND
// files and the user's folders
inline constexpr Long CSIDL_LOCAL_APPDATA = 0x001C;
inline constexpr Long CSIDL_FLAG_CREATE = 0x8000;
inline constexpr Dword MAX_PATH = 260;
inline constexpr Dword INVALID_FILE_ATTRIBUTES = 0xFFFFFFFFu;
inline constexpr Dword FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr Dword FILE_ATTRIBUTE_ARCHIVE = 0x20;
// error codes of kernel32 and advapi32
inline constexpr Dword ERROR_SUCCESS = 0;
inline constexpr Dword ERROR_FILE_NOT_FOUND = 2;
inline constexpr Dword ERROR_PATH_NOT_FOUND = 3;
inline constexpr Dword ERROR_ACCESS_DENIED = 5;
inline constexpr Dword ERROR_INVALID_HANDLE = 6;
inline constexpr Dword ERROR_FILE_EXISTS = 80;
inline constexpr Dword ERROR_ALREADY_EXISTS = 183;
inline constexpr Dword MOVEFILE_REPLACE_EXISTING = 0x1;
inline constexpr Dword MOVEFILE_WRITE_THROUGH = 0x8;
inline constexpr Dword ERROR_MORE_DATA = 234;
inline constexpr Dword ERROR_CHILD_MUST_BE_VOLATILE = 1021;
inline constexpr Dword ERROR_INVALID_FLAGS = 1004;
inline constexpr Dword ERROR_HOTKEY_ALREADY_REGISTERED = 1409;
// the registry
inline constexpr Dword HKEY_CURRENT_USER = 0x80000001u;
inline constexpr Dword HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr Dword REG_OPTION_NON_VOLATILE = 0;
inline constexpr Dword REG_OPTION_VOLATILE = 1;
inline constexpr Dword REG_CREATED_NEW_KEY = 1;
inline constexpr Dword REG_OPENED_EXISTING_KEY = 2;
inline constexpr Dword REG_SZ = 1;
inline constexpr Dword REG_EXPAND_SZ = 2;
inline constexpr Dword REG_BINARY = 3;
inline constexpr Dword REG_DWORD = 4;
inline constexpr Dword KEY_QUERY_VALUE = 0x1;
inline constexpr Dword KEY_SET_VALUE = 0x2;
// GetVersionEx platform ids
inline constexpr Dword VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr Dword VER_PLATFORM_WIN32_NT = 2;
// a notice panel: its window's styles, its translucency, the monitor it goes to
inline constexpr Dword WS_POPUP = 0x80000000u;
inline constexpr Dword WS_EX_TRANSPARENT = 0x00000020;
inline constexpr Dword WS_EX_APPWINDOW = 0x00040000;
inline constexpr Dword WS_EX_NOACTIVATE = 0x08000000;
inline constexpr Dword LWA_ALPHA = 0x2;
inline constexpr Dword MONITOR_DEFAULTTONULL = 0;
inline constexpr Dword MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr Dword MONITOR_DEFAULTTONEAREST = 2;
}  // namespace win

}  // namespace engine
