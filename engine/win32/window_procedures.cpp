#include "engine/win32/window_procedures.h"

#include <commctrl.h>

#include "engine/win32/notice_window.h"
#include "engine/win32/picture_box.h"
#include "engine/win32/win32_control.h"
#include "engine/win32/win32_form.h"
#include "engine/win32/window_peer.h"

namespace win32 {

namespace {

constexpr UINT_PTR kControlSubclass = 1;

// No exception may cross into Windows: the shared layer reports every error of an
// event, and anything left over ends here, with the message handled as by default.
template <class Handle, class Fallback>
LRESULT Guarded(Handle&& handle, Fallback&& fallback) {
    try {
        return handle();
    } catch (...) {
        return fallback();
    }
}

// Controls tell their parent (the form, or a picture box holding them) what
// happened; the parent hands it on to the control's peer. Only these messages
// carry a control's window in lParam.
bool RouteToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            break;
        default:
            return false;
    }
    auto* control = WindowPeer::Of<Win32ControlPeer>(reinterpret_cast<HWND>(lParam));
    if (!control) return false;
    if (message == WM_COMMAND) {
        control->OnCommand(HIWORD(wParam));
    } else if (message == WM_HSCROLL) {
        control->OnScroll(LOWORD(wParam));
    } else {
        HBRUSH brush = control->OnColor(reinterpret_cast<HDC>(wParam));
        if (!brush) return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    }
    result = 0;
    return true;
}

// The procedure of the engine's own classes, whose peers are adopted at
// WM_NCCREATE: the children's notifications go to the children's peers, the
// rest to the window's own peer.
template <class Peer>
LRESULT CALLBACK OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) WindowPeer::AdoptCreated(hwnd, lParam);
    Peer* peer = WindowPeer::Of<Peer>(hwnd);
    if (!peer) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        peer->WindowDestroyed();
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return Guarded(
        [&] {
            LRESULT routed = 0;
            if (RouteToControl(message, wParam, lParam, routed)) return routed;
            return peer->Handle(hwnd, message, wParam, lParam);
        },
        [&] { return ::DefWindowProcW(hwnd, message, wParam, lParam); });
}

// The standard controls are subclassed for the focus (where it goes when it
// leaves, how it arrives) and the end of the window; the rest is theirs.
LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(hwnd, ControlSubclassProc, kControlSubclass);
            if (auto* peer = WindowPeer::Of<Win32ControlPeer>(hwnd)) peer->WindowDestroyed();
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
        case WM_KILLFOCUS:
        case WM_SETFOCUS: {
            const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
            auto* peer = WindowPeer::Of<Win32ControlPeer>(hwnd);
            if (!peer) return result;
            return Guarded(
                [&] {
                    if (message == WM_KILLFOCUS)
                        peer->OnFocusLeft(reinterpret_cast<HWND>(wParam));
                    else
                        peer->OnFocusArrived();
                    return result;
                },
                [&] { return result; });
        }
        default:
            return ::DefSubclassProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = OwnClassProc<Win32FormPeer>;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    ::RegisterClassExW(&form);

    WNDCLASSEXW picture{};
    picture.cbSize = sizeof(picture);
    picture.lpfnWndProc = OwnClassProc<PictureBoxPeer>;
    picture.hInstance = instance;
    picture.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    picture.lpszClassName = kPictureClass;  // no background brush: the persistent image covers it
    ::RegisterClassExW(&picture);

    WNDCLASSEXW notice{};
    notice.cbSize = sizeof(notice);
    notice.lpfnWndProc = OwnClassProc<Win32NoticePanel>;
    notice.hInstance = instance;
    notice.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    notice.lpszClassName = kNoticeClass;  // no background brush: its painting covers it
    ::RegisterClassExW(&notice);

    WNDCLASSEXW owner{};
    owner.cbSize = sizeof(owner);
    owner.lpfnWndProc = ::DefWindowProcW;
    owner.hInstance = instance;
    owner.lpszClassName = kOwnerClass;
    ::RegisterClassExW(&owner);
}

void SubclassStandardControl(HWND hwnd) { ::SetWindowSubclass(hwnd, ControlSubclassProc, kControlSubclass, 0); }

}  // namespace win32
