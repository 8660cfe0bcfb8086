// Command buttons, check boxes and option buttons: windows of the BUTTON class.
#include "engine/win32/control_kinds.h"

namespace win32 {
using engine::Long;

Win32ControlPeer::ClassAndStyle CommandButtonPeer::Class() const {
    const DWORD kind = design().defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    return {L"BUTTON", WS_GROUP | WS_TABSTOP | kind, 0};
}

UINT_PTR CommandButtonPeer::Id() const {
    if (design().defaultButton) return IDOK;
    return design().cancelButton ? IDCANCEL : 0;
}

void CommandButtonPeer::OnCommand(WORD code) {
    if (code == BN_CLICKED) events().PeerClick();
}

// Three states, so that the grayed value 2 shows; the clicks are toggled here.
Win32ControlPeer::ClassAndStyle CheckBoxPeer::Class() const {
    return {L"BUTTON", WS_GROUP | WS_TABSTOP | BS_3STATE, 0};
}

Long CheckBoxPeer::Value() const {
    switch (::SendMessageW(Window(), BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return 1;
        case BST_INDETERMINATE:
            return 2;
        default:
            return 0;
    }
}

void CheckBoxPeer::SetValue(Long value) {
    ::SendMessageW(Window(), BM_SETCHECK, value == 2 ? BST_INDETERMINATE : value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBoxPeer::OnCommand(WORD code) {
    if (code != BN_CLICKED) return;
    SetValue(Value() == 0 ? 1 : 0);  // grayed goes to clear, as a click on it does
    events().PeerClick();
}

// Only the chosen button of a group is a tab stop (see SetValue).
Win32ControlPeer::ClassAndStyle OptionButtonPeer::Class() const {
    return {L"BUTTON", BS_RADIOBUTTON | (design().buttonStyle ? BS_PUSHLIKE : 0u) | (design().value ? WS_TABSTOP : 0u),
            0};
}

Long OptionButtonPeer::Value() const { return ::SendMessageW(Window(), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }

void OptionButtonPeer::SetValue(Long value) {
    HWND hwnd = Window();
    ::SendMessageW(hwnd, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    // Tab reaches a group at its chosen button: focus coming to an unchosen one
    // from the keyboard would choose it.
    const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
    ::SetWindowLongW(hwnd, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void OptionButtonPeer::OnCommand(WORD code) {
    if (code == BN_CLICKED && !focus().Giving()) events().PeerClick();
}

void OptionButtonPeer::OnFocusArrived() {
    if (focus().ArrivalChooses() && Value() == 0) events().PeerClick();
}

}  // namespace win32
