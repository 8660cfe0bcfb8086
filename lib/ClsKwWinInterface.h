// Questions to the window manager: the walk over a window's children, styles,
// titles and class names.
#pragma once

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

    engine::Long GetWindowStyle(engine::Hwnd hwnd);
    engine::Long GetWindowExStyle(engine::Hwnd hwnd);
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

private:
    static engine::Long LowWord(engine::Dword value);
    engine::String ReadText(engine::Long (engine::Platform::*read)(engine::Hwnd, char*, engine::Long),
                            engine::Hwnd& hwnd);

    engine::Platform& platform_;
    bool win95_ = false, win98_ = false, winME_ = false, winNT_ = false, win2K_ = false, winXP_ = false;
    engine::Hwnd cursor_ = 0;
};

}  // namespace lib
