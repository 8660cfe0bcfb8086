#include "engine/win32/focus.h"

#include "engine/scoped_flag.h"

namespace win32 {

bool FormFocus::Handle(HWND form, bool dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (!dialog) return false;
            if (LOWORD(wParam) == WA_INACTIVE)
                Save(form);
            else
                Restore(form);
            return true;
        case WM_SETFOCUS:
            if (!dialog) return false;
            Restore(form);
            return true;
        case WM_NEXTDLGCTL: {
            // What the dialog manager asks of a dialog (arrow keys between controls).
            HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                               : ::GetNextDlgTabItem(form, ::GetFocus(), static_cast<BOOL>(wParam != 0));
            if (next && ::IsChild(form, next)) ::SetFocus(next);
            return true;
        }
        default:
            return false;
    }
}

void FormFocus::Save(HWND form) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(form, focus)) last_ = focus;
}

void FormFocus::Restore(HWND form) const {
    HWND target = last_;
    if (!target || !::IsWindow(target) || !::IsChild(form, target) || !::IsWindowVisible(target) ||
        !::IsWindowEnabled(target))
        target = ::GetNextDlgTabItem(form, nullptr, FALSE);  // the first stop of the tab order
    ::SetFocus(target && ::IsChild(form, target) ? target : form);
}

void ControlFocus::Give(HWND control) {
    const engine::ScopedFlag giving(giving_);
    ::SetFocus(control);
}

// Only a move to another control of the same form is the control's LostFocus;
// switching to another program or a message box is not.
bool ControlFocus::LeavesForSameForm(HWND control, HWND next) {
    if (!control || !next || next == control) return false;
    return ::GetAncestor(next, GA_ROOT) == ::GetAncestor(control, GA_ROOT);
}

// The arrow keys move the focus along a group of option buttons, choosing as they
// go; a press of the mouse chooses on its release (BN_CLICKED) instead, and focus
// given by the program chooses nothing.
bool ControlFocus::ArrivalChooses() const { return !giving_ && ::GetKeyState(VK_LBUTTON) >= 0; }

}  // namespace win32
