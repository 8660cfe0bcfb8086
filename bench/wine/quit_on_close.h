// The window procedure of the start-up references' hidden windows: a close
// (what ending the program from outside sends) ends the message loop.
#pragma once

#include <windows.h>

namespace winbench {

inline LRESULT CALLBACK QuitOnCloseProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace winbench
