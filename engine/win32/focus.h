// Where the keyboard focus goes in the engine's forms, and what its moves mean.
// A dialog gives the focus back to the control that had it; a control's
// LostFocus, and an option button chosen by the focus, come only from the user.
#pragma once

#include "engine/win32/handles.h"

namespace win32 {

// The focus of one form.
class FormFocus {
public:
    // WM_ACTIVATE and WM_SETFOCUS of a dialog, WM_NEXTDLGCTL of any form; true
    // when the message was one of those and is handled (its result is 0).
    bool Handle(HWND form, bool dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Save(HWND form);
    void Restore(HWND form) const;

    HWND last_ = nullptr;  // the control to give the focus back to on activation
};

// The focus of one control.
class ControlFocus {
public:
    // The program's SetFocus, marked for its length.
    void Give(HWND control);
    // True while the program's SetFocus runs: a BN_CLICKED then comes from the
    // focus arriving at an option button, not from the user.
    bool Giving() const { return giving_; }
    // WM_KILLFOCUS: whether the move is the control's LostFocus.
    static bool LeavesForSameForm(HWND control, HWND next);
    // WM_SETFOCUS of an option button that is not chosen: whether the arrival
    // chooses it.
    bool ArrivalChooses() const;

private:
    bool giving_ = false;
};

}  // namespace win32
