#include "lib/ClsKwWinInterface.h"

#include "engine/error.h"
#include "engine/text.h"

namespace lib {
using engine::Dword;
using engine::Hwnd;
using engine::Long;
using engine::String;
namespace win = engine::win;

namespace {
constexpr Long kTextRoom = 259;  // characters a title or class name is given
}  // namespace

ClsKwWinInterface::ClsKwWinInterface(engine::Platform& platform) : platform_(platform) {
    engine::OsVersionInfoA info;
    info.dwOSVersionInfoSize = sizeof(info);
    platform_.GetVersionExA(&info);
    if (info.dwPlatformId == win::VER_PLATFORM_WIN32_WINDOWS) {
        const Long lw = LowWord(info.dwBuildNumber);
        if (lw >= 3000)
            winME_ = true;
        else if (info.dwMinorVersion < 10)
            win95_ = true;
        else
            win98_ = true;
    } else if (info.dwPlatformId == win::VER_PLATFORM_WIN32_NT) {
        if (info.dwMajorVersion < 5)
            winNT_ = true;
        else if (info.dwMinorVersion < 1)
            win2K_ = true;
        else
            winXP_ = true;
    }
}

Long ClsKwWinInterface::LowWord(Dword value) {
    const Long low = static_cast<Long>(value & 0xFFFF);
    return low >= 0x8000 ? low - 0x10000 : low;
}

Long ClsKwWinInterface::GetWindowStyle(Hwnd hwnd) { return platform_.GetWindowLongA(hwnd, win::GWL_STYLE); }
Long ClsKwWinInterface::GetWindowExStyle(Hwnd hwnd) { return platform_.GetWindowLongA(hwnd, win::GWL_EXSTYLE); }

bool ClsKwWinInterface::IsWindowStyle(Hwnd hwnd, Dword style) {
    return (static_cast<Dword>(GetWindowStyle(hwnd)) & style) == style;
}

bool ClsKwWinInterface::IsWindowExStyle(Hwnd hwnd, Dword exStyle) {
    return (static_cast<Dword>(GetWindowExStyle(hwnd)) & exStyle) == exStyle;
}

bool ClsKwWinInterface::IsWindowVisible(Hwnd hwnd) { return IsWindowStyle(hwnd, win::WS_VISIBLE); }
bool ClsKwWinInterface::IsWindowTopMost(Hwnd hwnd) { return IsWindowExStyle(hwnd, win::WS_EX_TOPMOST); }

Hwnd ClsKwWinInterface::FirstChildWindow(Hwnd& hwnd) {
    if (hwnd == 0) hwnd = platform_.GetDesktopWindow();
    cursor_ = platform_.GetWindow(hwnd, win::GW_CHILD);
    return cursor_;
}

Hwnd ClsKwWinInterface::NextChildWindow() {
    if (cursor_ == 0)
        engine::Raise(engine::err::kInvalidCall,
                      u"この関数は[FirstChildWindow()]をCall後呼び出して下さい。");
    cursor_ = platform_.GetWindow(cursor_, win::GW_HWNDNEXT);
    return cursor_;
}

String ClsKwWinInterface::ReadText(Long (engine::Platform::*read)(Hwnd, char*, Long), Hwnd& hwnd) {
    if (hwnd == 0) hwnd = cursor_;
    std::string buffer = platform_.ToAnsi(String(kTextRoom + 1, u'\0'));
    (platform_.*read)(hwnd, buffer.data(), kTextRoom);
    return platform_.FromAnsi(engine::CutAtNul(buffer));
}

String ClsKwWinInterface::WindowText(Hwnd& hwnd) { return ReadText(&engine::Platform::GetWindowTextA, hwnd); }
String ClsKwWinInterface::ClassName(Hwnd& hwnd) { return ReadText(&engine::Platform::GetClassNameA, hwnd); }

Hwnd ClsKwWinInterface::OwnerHWnd(Hwnd& hwnd) {
    if (hwnd == 0) hwnd = cursor_;
    return platform_.GetWindow(hwnd, win::GW_OWNER);
}

}  // namespace lib
