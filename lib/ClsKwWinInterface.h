// Questions and changes addressed to the window manager: the walk over a window's
// children, styles, titles and class names, style and layered changes, the
// topmost state, coordinate conversions and the arrangement of a document frame's
// children.
#pragma once

#include <span>

#include "engine/platform.h"

namespace lib {

class ClsKwWinInterface {
public:
    explicit ClsKwWinInterface(engine::Platform& platform);

    bool Win95() const { return win95_; }
    bool Win98() const { return win98_; }
    bool WinME() const { return winME_; }
    bool WinNT() const { return winNT_; }
    bool Win2K() const { return win2K_; }
    bool WinXP() const { return winXP_; }

    // The window rectangle that has rect as its client area, for hwnd's styles.
    void vbAdjustWindowRect(engine::Hwnd hwnd, bool bMenu, engine::Rect& rect);
    void vbAdjustWindowRectEx(engine::Hwnd hwnd, bool bMenu, engine::Rect& rect);
    // Layered windows exist on the 2000 and XP families only; elsewhere these
    // return false and change nothing. dwPer is the opacity in percent; outside
    // 0..100 it raises 6 after the window has been made layered.
    bool LayeredColorKey(engine::Hwnd hwnd, engine::Dword crKey);
    bool LayeredAlpha(engine::Hwnd hwnd, engine::Long dwPer);

    engine::Long GetWindowStyle(engine::Hwnd hwnd);
    engine::Long GetWindowExStyle(engine::Hwnd hwnd);
    // Bits are only ever added. The layered bit is not added where layered
    // windows do not exist.
    void SetWindowStyle(engine::Hwnd hwnd, engine::Dword style);
    void SetWindowExStyle(engine::Hwnd hwnd, engine::Dword exStyle);
    bool TopMost(engine::Hwnd hwnd);
    bool NoTopMost(engine::Hwnd hwnd);
    bool IsWindowTopMost(engine::Hwnd hwnd);
    bool IsWindowVisible(engine::Hwnd hwnd);
    // True when every bit asked for is set (so no bits at all gives true).
    bool IsWindowStyle(engine::Hwnd hwnd, engine::Dword style);
    bool IsWindowExStyle(engine::Hwnd hwnd, engine::Dword exStyle);

    // The walk: FirstChildWindow starts it at the top of hwnd's children (the
    // desktop's when hwnd is 0, whose handle is then written back); NextChildWindow
    // goes one window down and raises 5 when no walk is under way.
    engine::Hwnd FirstChildWindow(engine::Hwnd& hwnd);
    engine::Hwnd NextChildWindow();
    // 0 means the walk's current window, whose handle is then written back.
    engine::String WindowText(engine::Hwnd& hwnd);
    engine::String ClassName(engine::Hwnd& hwnd);
    engine::Hwnd OwnerHWnd(engine::Hwnd& hwnd);

    // Client and screen coordinates, in place.
    void vbClientToScreen(engine::Hwnd hwnd, engine::Rect& rect);
    void vbClientToScreenByPoint(engine::Hwnd hwnd, engine::Point& point);
    void vbScreenToClient(engine::Hwnd hwnd, engine::Rect& rect);
    void vbScreenToClientByPoint(engine::Hwnd hwnd, engine::Point& point);
    void vbMapWindowPoint(engine::Hwnd from, engine::Hwnd to, engine::Point& point);
    // The first nPoint points of points, in place. Raises 9 for fewer than one
    // point or more than points holds, 6 when their size in bytes exceeds 32 bits.
    void vbMapWindowPoints(engine::Hwnd from, engine::Hwnd to, std::span<engine::Point> points, engine::Long nPoint);

    // The children of a frame's "MDIClient" child (the top-level windows when it
    // has none) cascaded, tiled one above the other or side by side; a frame of 0
    // does nothing.
    void Cascade(engine::Hwnd mdiWnd);
    void TileHorz(engine::Hwnd mdiWnd);
    void TileVert(engine::Hwnd mdiWnd);
    // Two columns, the left one with the larger half of the children. Runs its own
    // walk, so it moves the walk's cursor.
    void vbTileWindows(engine::Hwnd mdiWnd);

private:
    static engine::Long LowWord(engine::Dword value);
    engine::Hwnd FindMDIClient(engine::Hwnd hwnd);
    bool HasLayeredWindows() const { return win2K_ || winXP_; }
    void MakeLayered(engine::Hwnd hwnd);
    engine::String ReadText(engine::Long (engine::Platform::*read)(engine::Hwnd, char*, engine::Long),
                            engine::Hwnd& hwnd);

    engine::Platform& platform_;
    bool win95_ = false, win98_ = false, winME_ = false, winNT_ = false, win2K_ = false, winXP_ = false;
    engine::Hwnd cursor_ = 0;
};

}  // namespace lib
