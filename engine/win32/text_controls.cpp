// Labels and text boxes.
#include "engine/win32/control_kinds.h"

#include "engine/scoped_flag.h"

namespace win32 {

Win32ControlPeer::ClassAndStyle LabelPeer::Class() const { return {L"STATIC", WS_GROUP | SS_LEFT, 0}; }

Win32ControlPeer::ClassAndStyle TextBoxPeer::Class() const {
    return {L"EDIT", WS_GROUP | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL | (design().readOnly ? ES_READONLY : 0u),
            WS_EX_CLIENTEDGE};
}

void TextBoxPeer::Prepare() { ::SendMessageW(Window(), EM_SETLIMITTEXT, 0, 0); }  // no limit but the system's

void TextBoxPeer::SetText(const engine::String& text) {
    // The change is the program's own: EN_CHANGE is not reported as the user's.
    const engine::ScopedFlag setting(settingText_);
    Win32ControlPeer::SetText(text);
}

void TextBoxPeer::OnCommand(WORD code) {
    if (code == EN_CHANGE && !settingText_) events().PeerChange();
}

HBRUSH TextBoxPeer::OnColor(HDC dc) const {
    // Read-only and disabled boxes keep the background the design gives them.
    const int back = design().buttonFaceBack ? COLOR_BTNFACE : COLOR_WINDOW;
    ::SetBkColor(dc, ::GetSysColor(back));
    ::SetTextColor(dc, ::GetSysColor(Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return ::GetSysColorBrush(back);
}

}  // namespace win32
