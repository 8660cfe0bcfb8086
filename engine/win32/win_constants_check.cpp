// Every value of engine/win_constants.h is the one <windows.h> gives its name,
// or this file does not compile. The engine's values are read before <windows.h>
// turns the names into its macros.
#include "engine/win_constants.h"

#include <type_traits>

#define TREVO_CHECKED_CONSTANTS(X)                                                                                    \
    X(GW_HWNDNEXT)                                                                                                    \
    X(GW_OWNER)                                                                                                       \
    X(GW_CHILD)                                                                                                       \
    X(GWL_STYLE) X(GWL_EXSTYLE) X(WS_VISIBLE) X(WS_MINIMIZE) X(WS_MAXIMIZE) X(WS_CHILD) X(WS_DISABLED) X(             \
        WS_CAPTION) X(WS_BORDER) X(WS_DLGFRAME) X(WS_SYSMENU) X(WS_THICKFRAME) X(WS_OVERLAPPEDWINDOW)                 \
        X(WS_EX_DLGMODALFRAME) X(WS_EX_TOPMOST) X(WS_EX_TOOLWINDOW) X(WS_EX_CLIENTEDGE) X(WS_EX_STATICEDGE) X(        \
            WS_EX_LAYERED) X(ES_UPPERCASE) X(ES_LOWERCASE) X(ES_READONLY) X(ES_NUMBER) X(SW_HIDE) X(SW_SHOWNORMAL)    \
            X(SW_SHOWMINIMIZED) X(SW_SHOWMAXIMIZED) X(SW_SHOW) X(SW_RESTORE) X(SWP_NOSIZE) X(SWP_NOMOVE) X(           \
                SWP_NOZORDER) X(SWP_NOACTIVATE) X(SWP_SHOWWINDOW) X(SWP_ASYNCWINDOWPOS) X(MDITILE_HORIZONTAL)         \
                X(MDITILE_SKIPDISABLED) X(SM_CXSCREEN) X(SM_XVIRTUALSCREEN) X(SM_YVIRTUALSCREEN) X(                   \
                    SM_CXVIRTUALSCREEN) X(SM_CYVIRTUALSCREEN) X(SM_CMONITORS) X(SPI_GETWORKAREA)                      \
                    X(SPI_SETDESKWALLPAPER) X(SPI_GETDESKWALLPAPER) X(NIM_ADD) X(NIM_MODIFY) X(NIM_DELETE) X(         \
                        NIF_MESSAGE) X(NIF_ICON) X(NIF_TIP) X(WM_NULL) X(WM_MOUSEMOVE) X(WM_LBUTTONDOWN)              \
                        X(WM_LBUTTONUP) X(WM_LBUTTONDBLCLK) X(WM_RBUTTONDOWN) X(WM_RBUTTONUP) X(WM_RBUTTONDBLCLK) X(  \
                            WM_MBUTTONDOWN) X(WM_MBUTTONUP) X(WM_MBUTTONDBLCLK) X(WM_HOTKEY)                          \
                            X(MOD_ALT) X(MOD_CONTROL) X(MOD_SHIFT) X(MOD_WIN) X(MOD_NOREPEAT) X(VK_PRIOR) X(          \
                                VK_NEXT) X(VK_END)                                                                    \
                                X(VK_HOME) X(VK_LEFT) X(VK_UP) X(VK_RIGHT) X(VK_DOWN) X(VK_INSERT) X(VK_DELETE) X(    \
                                    VK_NUMPAD0) X(VK_F1) X(GA_ROOT) X(EVENT_SYSTEM_FOREGROUND)                        \
                                    X(EVENT_OBJECT_FOCUS) X(WINEVENT_OUTOFCONTEXT) X(WINEVENT_SKIPOWNPROCESS) X(      \
                                        ERROR_INVALID_FLAGS) X(ERROR_HOTKEY_ALREADY_REGISTERED) X(SMTO_ABORTIFHUNG)   \
                                        X(DWMWA_CLOAKED) X(DWM_CLOAKED_SHELL) X(S_OK) X(E_NOTIMPL) X(E_INVALIDARG)    \
                                            X(INVALID_FILE_ATTRIBUTES) X(FILE_ATTRIBUTE_DIRECTORY)                    \
                                                X(FILE_ATTRIBUTE_ARCHIVE) X(ERROR_SUCCESS) X(ERROR_FILE_NOT_FOUND) X( \
                                                    ERROR_INVALID_HANDLE) X(ERROR_ALREADY_EXISTS)                     \
                                                    X(ERROR_MORE_DATA) X(ERROR_CHILD_MUST_BE_VOLATILE)                \
                                                        X(REG_OPTION_NON_VOLATILE) X(REG_OPTION_VOLATILE)             \
                                                            X(REG_CREATED_NEW_KEY) X(REG_OPENED_EXISTING_KEY)         \
                                                                X(REG_DWORD) X(REG_SZ) X(SW_SHOWMINNOACTIVE)          \
                                                                X(REG_EXPAND_SZ) X(REG_BINARY) X(KEY_QUERY_VALUE)     \
                                                                X(KEY_SET_VALUE)                                      \
                                                                    X(ERROR_PATH_NOT_FOUND)                           \
                                                                        X(ERROR_ACCESS_DENIED) X(CSIDL_LOCAL_APPDATA) \
                                                                            X(CSIDL_FLAG_CREATE) X(MAX_PATH)          \
                                                                                X(VER_PLATFORM_WIN32_WINDOWS)         \
                                                                                    X(VER_PLATFORM_WIN32_NT)          \
                                                                                        X(NIF_INFO) X(NIIF_INFO) X(MOVEFILE_REPLACE_EXISTING) X(MOVEFILE_WRITE_THROUGH) X(ERROR_FILE_EXISTS) \
    X(VK_BACK) X(VK_TAB) X(VK_RETURN) X(VK_SHIFT) X(VK_CONTROL) X(VK_MENU) X(VK_ESCAPE) X(VK_SPACE) X(HOTKEYF_SHIFT) \
        X(HOTKEYF_CONTROL) X(HOTKEYF_ALT) X(HOTKEYF_EXT)

namespace {
#define TREVO_KEEP(name) constexpr auto ours_##name = engine::win::name;
TREVO_CHECKED_CONSTANTS(TREVO_KEEP)
// HWND_TOPMOST, HWND_NOTOPMOST and the predefined keys are pointers in
// <windows.h>, which no constant expression can read: the library probe
// checks them under Wine, in both builds.
constexpr auto ours_HRESULT_MOD_NOT_FOUND = engine::win::HRESULT_MOD_NOT_FOUND;
// The notice panel's values, held apart from the list above.
#define TREVO_CHECKED_NOTICE_CONSTANTS(X)                                                                 \
    X(WS_POPUP) X(WS_EX_TRANSPARENT) X(WS_EX_APPWINDOW) X(WS_EX_NOACTIVATE) X(LWA_ALPHA) X(MONITOR_DEFAULTTONULL) \
        X(MONITOR_DEFAULTTOPRIMARY) X(MONITOR_DEFAULTTONEAREST)
TREVO_CHECKED_NOTICE_CONSTANTS(TREVO_KEEP)
#undef TREVO_KEEP
}  // namespace

#include <windows.h>
#include <dwmapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#define TREVO_SAME(name)                                                                     \
    static_assert(ours_##name == static_cast<std::remove_cv_t<decltype(ours_##name)>>(name), \
                  #name " differs from <windows.h>");
TREVO_CHECKED_CONSTANTS(TREVO_SAME)
TREVO_CHECKED_NOTICE_CONSTANTS(TREVO_SAME)
#undef TREVO_SAME

static_assert(ours_HRESULT_MOD_NOT_FOUND == HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
