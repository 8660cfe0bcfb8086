#include "lib/ClsKwWinInterface.h"

#include <algorithm>
#include <vector>

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
constexpr Dword kLwaColorKey = 1;
constexpr Dword kLwaAlpha = 2;
constexpr Dword kTopMostMoveFlags = win::SWP_NOSIZE | win::SWP_NOMOVE | win::SWP_SHOWWINDOW;
constexpr Dword kTileHorizontal = 1;
constexpr Dword kTileSkipDisabled = 2;
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

void ClsKwWinInterface::vbAdjustWindowRect(Hwnd hwnd, bool bMenu, engine::Rect& rect) {
    platform_.AdjustWindowRect(&rect, static_cast<Dword>(GetWindowStyle(hwnd)), bMenu);
}

void ClsKwWinInterface::vbAdjustWindowRectEx(Hwnd hwnd, bool bMenu, engine::Rect& rect) {
    platform_.AdjustWindowRectEx(&rect, static_cast<Dword>(GetWindowStyle(hwnd)), bMenu,
                                 static_cast<Dword>(GetWindowExStyle(hwnd)));
}

void ClsKwWinInterface::MakeLayered(Hwnd hwnd) {
    if (!IsWindowExStyle(hwnd, win::WS_EX_LAYERED)) SetWindowExStyle(hwnd, win::WS_EX_LAYERED);
}

bool ClsKwWinInterface::LayeredColorKey(Hwnd hwnd, Dword crKey) {
    if (!HasLayeredWindows()) return false;
    MakeLayered(hwnd);
    return platform_.SetLayeredWindowAttributes(hwnd, crKey, 0, kLwaColorKey);
}

bool ClsKwWinInterface::LayeredAlpha(Hwnd hwnd, Long dwPer) {
    if (!HasLayeredWindows()) return false;
    MakeLayered(hwnd);
    // In this order, so that 50 percent is 127.5 and goes to the even 128.
    const double alpha = engine::RoundHalfEven(static_cast<double>(dwPer) / 100.0 * 255.0);
    if (alpha < 0 || alpha > 255) engine::Raise(engine::err::kOverflow);
    return platform_.SetLayeredWindowAttributes(hwnd, 0, static_cast<std::uint8_t>(alpha), kLwaAlpha);
}

Long ClsKwWinInterface::GetWindowStyle(Hwnd hwnd) { return platform_.GetWindowLongA(hwnd, win::GWL_STYLE); }
Long ClsKwWinInterface::GetWindowExStyle(Hwnd hwnd) { return platform_.GetWindowLongA(hwnd, win::GWL_EXSTYLE); }

void ClsKwWinInterface::SetWindowStyle(Hwnd hwnd, Dword style) {
    platform_.SetWindowLongA(hwnd, win::GWL_STYLE, static_cast<Long>(style | static_cast<Dword>(GetWindowStyle(hwnd))));
}

void ClsKwWinInterface::SetWindowExStyle(Hwnd hwnd, Dword exStyle) {
    if (exStyle == win::WS_EX_LAYERED && !HasLayeredWindows()) return;
    platform_.SetWindowLongA(hwnd, win::GWL_EXSTYLE,
                             static_cast<Long>(exStyle | static_cast<Dword>(GetWindowExStyle(hwnd))));
}

bool ClsKwWinInterface::TopMost(Hwnd hwnd) {
    return platform_.SetWindowPos(hwnd, win::HWND_TOPMOST, 0, 0, 0, 0, kTopMostMoveFlags);
}

bool ClsKwWinInterface::NoTopMost(Hwnd hwnd) {
    return platform_.SetWindowPos(hwnd, win::HWND_NOTOPMOST, 0, 0, 0, 0, kTopMostMoveFlags);
}

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
        engine::Raise(engine::err::kInvalidCall, u"この関数は[FirstChildWindow()]をCall後呼び出して下さい。");
    cursor_ = platform_.GetWindow(cursor_, win::GW_HWNDNEXT);
    return cursor_;
}

String ClsKwWinInterface::ReadText(Long (engine::Platform::*read)(Hwnd, char*, Long), Hwnd& hwnd) {
    if (hwnd == 0) hwnd = cursor_;
    std::string buffer(kTextRoom + 1, '\0');  // a room of NULs is the same bytes in every code page
    (platform_.*read)(hwnd, buffer.data(), kTextRoom);
    return platform_.FromAnsi(engine::CutAtNul(buffer));
}

String ClsKwWinInterface::WindowText(Hwnd& hwnd) { return ReadText(&engine::Platform::GetWindowTextA, hwnd); }
String ClsKwWinInterface::ClassName(Hwnd& hwnd) { return ReadText(&engine::Platform::GetClassNameA, hwnd); }

Hwnd ClsKwWinInterface::OwnerHWnd(Hwnd& hwnd) {
    if (hwnd == 0) hwnd = cursor_;
    return platform_.GetWindow(hwnd, win::GW_OWNER);
}

namespace {
// A rectangle converted corner by corner, as the point conversions do it.
template <class Convert>
void ConvertCorners(engine::Rect& rect, Convert convert) {
    engine::Point topLeft{rect.left, rect.top}, bottomRight{rect.right, rect.bottom};
    convert(&topLeft);
    convert(&bottomRight);
    rect = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}
}  // namespace

void ClsKwWinInterface::vbClientToScreen(Hwnd hwnd, engine::Rect& rect) {
    ConvertCorners(rect, [&](engine::Point* p) { platform_.ClientToScreen(hwnd, p); });
}

void ClsKwWinInterface::vbClientToScreenByPoint(Hwnd hwnd, engine::Point& point) {
    platform_.ClientToScreen(hwnd, &point);
}

void ClsKwWinInterface::vbScreenToClient(Hwnd hwnd, engine::Rect& rect) {
    ConvertCorners(rect, [&](engine::Point* p) { platform_.ScreenToClient(hwnd, p); });
}

void ClsKwWinInterface::vbScreenToClientByPoint(Hwnd hwnd, engine::Point& point) {
    platform_.ScreenToClient(hwnd, &point);
}

void ClsKwWinInterface::vbMapWindowPoint(Hwnd from, Hwnd to, engine::Point& point) {
    platform_.MapWindowPoints(from, to, &point, 1);
}

void ClsKwWinInterface::vbMapWindowPoints(Hwnd from, Hwnd to, std::span<engine::Point> points, Long nPoint) {
    if (nPoint < 1) engine::Raise(engine::err::kSubscript);
    constexpr Long kMostPoints = 0x7FFFFFFF / static_cast<Long>(sizeof(engine::Point));
    if (nPoint > kMostPoints) engine::Raise(engine::err::kOverflow);
    if (static_cast<std::size_t>(nPoint) > points.size()) engine::Raise(engine::err::kSubscript);
    std::vector<engine::Point> work(points.begin(), points.begin() + nPoint);
    platform_.MapWindowPoints(from, to, work.data(), static_cast<Dword>(nPoint));
    std::copy(work.begin(), work.end(), points.begin());
}

Hwnd ClsKwWinInterface::FindMDIClient(Hwnd hwnd) {
    for (Hwnd child = platform_.GetWindow(hwnd, win::GW_CHILD); child != 0;
         child = platform_.GetWindow(child, win::GW_HWNDNEXT)) {
        Hwnd asked = child;
        if (ClassName(asked) == u"MDIClient") return child;
    }
    return 0;
}

void ClsKwWinInterface::Cascade(Hwnd mdiWnd) {
    if (mdiWnd == 0) return;
    platform_.CascadeWindows(FindMDIClient(mdiWnd), kTileSkipDisabled, nullptr, 0, nullptr);
}

void ClsKwWinInterface::TileHorz(Hwnd mdiWnd) {
    if (mdiWnd == 0) return;
    platform_.TileWindows(FindMDIClient(mdiWnd), kTileHorizontal | kTileSkipDisabled, nullptr, 0, nullptr);
}

void ClsKwWinInterface::TileVert(Hwnd mdiWnd) {
    if (mdiWnd == 0) return;
    platform_.TileWindows(FindMDIClient(mdiWnd), kTileSkipDisabled, nullptr, 0, nullptr);
}

void ClsKwWinInterface::vbTileWindows(Hwnd mdiWnd) {
    if (mdiWnd == 0) return;
    Hwnd parent = FindMDIClient(mdiWnd);
    // Every child, hidden ones too; without an MDIClient the walk starts at the
    // desktop, which parent then names.
    std::vector<Hwnd> kids;
    for (Hwnd kid = FirstChildWindow(parent); kid != 0; kid = NextChildWindow()) kids.push_back(kid);
    if (kids.empty()) return;
    engine::Rect client;
    platform_.GetClientRect(parent, &client);
    constexpr Dword how = kTileHorizontal | kTileSkipDisabled;
    const auto n = static_cast<Dword>(kids.size());
    if (n <= 2) {
        platform_.TileWindows(parent, how, &client, n, kids.data());
        return;
    }
    const Dword left = (n + 1) / 2;
    const Long half = client.right / 2;
    engine::Rect leftColumn = client, rightColumn = client;
    leftColumn.right = half;
    rightColumn.left = half;
    platform_.TileWindows(parent, how, &leftColumn, left, kids.data());
    platform_.TileWindows(parent, how, &rightColumn, n - left, kids.data() + left);
}

}  // namespace lib
