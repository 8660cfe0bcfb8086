// The program's numbers for the handles <windows.h> spells as pointer macros,
// read before those macros exist.
#include "engine/win_constants.h"
namespace {
constexpr engine::Hwnd kTopMost = engine::win::HWND_TOPMOST;
constexpr engine::Hwnd kNoTopMost = engine::win::HWND_NOTOPMOST;
constexpr engine::Dword kCurrentUser = engine::win::HKEY_CURRENT_USER;
}  // namespace

#include "width_checks.h"

#include <cstring>
#include <cwchar>
#include <string>

#include "engine/win32/native_records.h"

namespace libprobe {
namespace {
using engine::Dword;

std::string Hex64(unsigned long long value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%llX", value);
    return buffer;
}
unsigned long long Bits(const void* handle) { return reinterpret_cast<UINT_PTR>(handle); }

// The two records with handles and pointers arrive in this build's layout with
// every field the program set; what it cannot hold is refused.
void CheckRecords(Report& report, HWND window, HICON icon) {
    engine::NotifyIconDataA icon32;
    icon32.cbSize = sizeof icon32;
    icon32.hWnd = win32::FromHwnd(window);
    icon32.uID = 3;
    icon32.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon32.uCallbackMessage = WM_APP + 7;
    icon32.hIcon = win32::HandleTo32(icon);
    std::strcpy(icon32.szTip, "Velmora Ver 1.0.4  #3 Active");
    NOTIFYICONDATAA native{};
    const bool made = win32::ToNativeNotifyRecord(icon32, native);
    report.Check(made && native.cbSize == NOTIFYICONDATAA_V1_SIZE && native.hWnd == window && native.uID == 3 &&
                     native.uFlags == icon32.uFlags && native.uCallbackMessage == WM_APP + 7 && native.hIcon == icon &&
                     std::strcmp(native.szTip, icon32.szTip) == 0,
                 "NotifyRecordInNativeLayout",
                 "size " + std::to_string(native.cbSize) + ", window " + Hex64(Bits(native.hWnd)) + ", icon " +
                     Hex64(Bits(native.hIcon)) + ", tip " + native.szTip);
    icon32.cbSize = NOTIFYICONDATAA_V1_SIZE + 4;
    report.Check(!win32::ToNativeNotifyRecord(icon32, native), "NotifyRecordOfAnotherSizeRefused", "taken");

    engine::NotifyIconDataV2W balloon32;
    balloon32.cbSize = win32::kNotifyRecordV2Size32;
    balloon32.hWnd = win32::FromHwnd(window);
    balloon32.uID = 3;
    balloon32.uFlags = NIF_INFO;
    balloon32.uTimeout = 15000;
    balloon32.dwInfoFlags = NIIF_INFO;
    std::u16string(u"Trevo のアイコン").copy(balloon32.szInfoTitle, 63);
    std::u16string(u"behind ^").copy(balloon32.szInfo, 255);
    NOTIFYICONDATAW balloon{};
    const bool copied = win32::ToNativeNotifyRecordV2(balloon32, balloon);
    report.Check(copied && balloon.cbSize == NOTIFYICONDATAW_V2_SIZE && balloon.hWnd == window && balloon.uID == 3 &&
                     balloon.uFlags == NIF_INFO && balloon.uTimeout == 15000 && balloon.dwInfoFlags == NIIF_INFO &&
                     std::wcscmp(balloon.szInfoTitle, L"Trevo のアイコン") == 0 &&
                     std::wcscmp(balloon.szInfo, L"behind ^") == 0,
                 "BalloonRecordInNativeLayout",
                 "size " + std::to_string(balloon.cbSize) + ", window " + Hex64(Bits(balloon.hWnd)) + ", title of " +
                     std::to_string(std::wcslen(balloon.szInfoTitle)) + " units");
    balloon32.cbSize = win32::kNotifyRecordSize32;
    report.Check(!win32::ToNativeNotifyRecordV2(balloon32, balloon), "BalloonRecordOfAnotherSizeRefused", "taken");

    wchar_t file[64] = L"C:\\pictures\\sea.bmp";
    const wchar_t filter[] = L"(bmp)\0*.bmp\0";
    engine::OpenFileNameW chooser32;
    chooser32.lStructSize = win32::kChooserRecordSize32;
    chooser32.hwndOwner = win32::FromHwnd(window);
    chooser32.lpstrFilter = reinterpret_cast<const char16_t*>(filter);
    chooser32.lpstrFile = reinterpret_cast<char16_t*>(file);
    chooser32.nMaxFile = 64;
    chooser32.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    OPENFILENAMEW chooser{};
    const bool carried = win32::ToNativeChooserRecord(chooser32, chooser);
    report.Check(carried && chooser.lStructSize == OPENFILENAME_SIZE_VERSION_400W && chooser.hwndOwner == window &&
                     chooser.lpstrFile == file && chooser.nMaxFile == 64 && chooser.lpstrFilter == filter &&
                     chooser.Flags == chooser32.Flags && chooser.hInstance == nullptr && chooser.lpfnHook == nullptr,
                 "ChooserRecordInNativeLayout", "size " + std::to_string(chooser.lStructSize));
    chooser.nFileOffset = 12;
    chooser.nFileExtension = 16;
    chooser.nFilterIndex = 1;
    chooser.Flags |= OFN_EXTENSIONDIFFERENT;
    win32::CopyChooserAnswer(chooser, chooser32);
    report.Check(chooser32.nFileOffset == 12 && chooser32.nFileExtension == 16 && chooser32.nFilterIndex == 1 &&
                     (chooser32.Flags & OFN_EXTENSIONDIFFERENT) != 0,
                 "ChooserAnswerCopiedBack", "offset " + std::to_string(chooser32.nFileOffset));
    engine::OpenFileNameW hooked = chooser32;
    hooked.lpfnHook = 0x401000;  // an address a 32-bit field cannot carry in a 64-bit process
    engine::OpenFileNameW resized = chooser32;
    resized.lStructSize = 88;
    report.Check(!win32::ToNativeChooserRecord(hooked, chooser) && !win32::ToNativeChooserRecord(resized, chooser),
                 "ChooserRecordWithHookOrOtherSizeRefused", "taken");
}

// Handles travel as 32-bit numbers and come back sign-extended: the special
// values the program spells as numbers must be Windows' own, and real handles
// must survive the trip into the calls that use them.
void CheckHandles(Report& report, win32::Win32Platform& platform, HWND window) {
    report.Check(win32::HandleFrom32<HWND>(kTopMost) == HWND_TOPMOST &&
                     win32::HandleFrom32<HWND>(kNoTopMost) == HWND_NOTOPMOST &&
                     win32::HandleFrom32<HKEY>(kCurrentUser) == HKEY_CURRENT_USER,
                 "SpecialHandlesSignExtended", "HWND_TOPMOST as " + Hex64(Bits(win32::HandleFrom32<HWND>(kTopMost))));

    const engine::Hwnd number = win32::FromHwnd(window);
    engine::Rect rect;
    const Dword batch = platform.BeginDeferWindowPos(1);
    const Dword queued = batch ? platform.DeferWindowPos(batch, number, 0, 37, 41, 300, 200,
                                                         SWP_NOZORDER | SWP_NOACTIVATE) : 0;
    const bool moved = queued && platform.EndDeferWindowPos(queued) && platform.GetWindowRect(number, &rect);
    report.Check(moved && rect.left == 37 && rect.top == 41, "WindowAndBatchHandlesRoundTrip",
                 "batch " + Hex64(batch) + ", window at " + std::to_string(rect.left) + "," + std::to_string(rect.top));

    Dword key = 0, made = 0, type = 0, value = 0, size = sizeof value;
    const Dword stored = 0x5A17;
    const bool opened = platform.RegCreateKeyExA(kCurrentUser, "Software\\TrevoProbe",
                                                 REG_OPTION_VOLATILE, &key, &made) == ERROR_SUCCESS;
    const bool kept = opened && platform.RegSetValueExA(key, "Width", REG_DWORD, &stored, sizeof stored) == 0 &&
                      platform.RegQueryValueExA(key, "Width", &type, &value, &size) == 0 && value == stored;
    if (opened) {
        platform.RegDeleteValueA(key, "Width");
        platform.RegCloseKey(key);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\TrevoProbe");
    }
    report.Check(kept, "RegistryKeyHandlesRoundTrip", "opened " + std::to_string(opened));

    const Dword hook = platform.SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, WINEVENT_OUTOFCONTEXT,
                                                [](Dword, engine::Hwnd, engine::Long, engine::Long) {});
    report.Check(hook != 0 && platform.UnhookWinEvent(hook), "WinEventHookHandleRoundTrip", "hook " + Hex64(hook));

    Dword answer = 1;
    report.Check(platform.SendMessageTimeoutA(number, WM_NULL, 0, -1, SMTO_ABORTIFHUNG, 1000, &answer) && answer == 0,
                 "MessageWithNegativeParameterAnswered", "answer " + std::to_string(answer));
}

}  // namespace

void CheckWidths(Report& report, win32::Win32Platform& platform, HWND window) {
    HICON icon = ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    CheckRecords(report, window, icon);
    CheckHandles(report, platform, window);
}

}  // namespace libprobe
