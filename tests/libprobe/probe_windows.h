// The real windows the library probe works on: a registered class, top-level
// windows owned for a scope, and a document frame with an "MDIClient" child.
#pragma once

#include <vector>

#include "engine/win32/handles.h"

namespace libprobe {

// A window class registered for the probe's lifetime.
class WindowClass {
public:
    WindowClass(const char* name, WNDPROC procedure);
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    ~WindowClass();
    const char* name() const { return name_; }
    bool ok() const { return atom_ != 0; }

private:
    const char* name_;
    ATOM atom_ = 0;
};

// A plain shown top-level window of the probe's own class.
win32::UniqueWindow OpenTopLevel(const WindowClass& cls, const char* title);

// A frame window with an "MDIClient" child that holds document windows. The
// children belong to the frame and go with it.
class DocumentFrame {
public:
    DocumentFrame(const WindowClass& frameClass, const WindowClass& documentClass, int documents);
    bool ok() const { return frame_ && client_ && static_cast<int>(documents_.size()) == wanted_; }
    HWND frame() const { return frame_.get(); }
    HWND client() const { return client_; }

private:
    win32::UniqueWindow frame_;
    HWND client_ = nullptr;
    std::vector<HWND> documents_;
    int wanted_;
};

// The children of parent as the window manager stacks them, the top first.
std::vector<HWND> ChildrenInStackingOrder(HWND parent);

// Lets the window manager deliver what the last calls queued.
void HandlePendingMessages();

LRESULT CALLBACK PlainWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DocumentWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace libprobe
