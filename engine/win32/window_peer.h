// The engine's windows and the peers behind them. Every window the engine makes
// is adopted by its peer and found again from its handle in a table of this
// process's own: no other program's data, nor a system class's use of a window
// slot, can make a window look like one of the engine's.
#pragma once

#include "engine/win32/handles.h"

namespace win32 {

class WindowPeer {
public:
    WindowPeer(const WindowPeer&) = delete;
    WindowPeer& operator=(const WindowPeer&) = delete;

    HWND Window() const { return window_.get(); }

    // The peer of one of the engine's windows as a T; nullptr for any other
    // window, for one already gone, and for a peer of another kind.
    template <class T>
    static T* Of(HWND hwnd) {
        return dynamic_cast<T*>(Find(hwnd));
    }

    // The window becomes this peer's: found by Of, destroyed with the peer.
    void Adopt(HWND hwnd);
    // Windows has destroyed the window (WM_NCDESTROY), with its parent or owner.
    void WindowDestroyed();

    // What the windows of the engine's own classes are created with: their
    // procedure adopts the window at WM_NCCREATE, so the peer sees every message.
    void* CreationParameter() { return this; }
    static void AdoptCreated(HWND hwnd, LPARAM createStruct);

protected:
    WindowPeer() = default;
    // The window is forgotten before it is destroyed: its last messages find no
    // peer, so nothing is reported while it goes.
    virtual ~WindowPeer();

private:
    static WindowPeer* Find(HWND hwnd);

    UniqueWindow window_;
};

}  // namespace win32
