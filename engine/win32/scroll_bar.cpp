// Horizontal scroll bars: windows of the SCROLLBAR class, the value the position
// of the box, which the arrows and the page areas move one step.
#include "engine/win32/control_kinds.h"

#include <algorithm>

namespace win32 {
using engine::Long;

Win32ControlPeer::ClassAndStyle HScrollBarPeer::Class() const {
    return {L"SCROLLBAR", WS_GROUP | WS_TABSTOP | SBS_HORZ, 0};
}

void HScrollBarPeer::Prepare() {
    ::SetScrollRange(Window(), SB_CTL, design().min, design().max, FALSE);
    ::SetScrollPos(Window(), SB_CTL, design().value, TRUE);
}

Long HScrollBarPeer::Value() const { return ::GetScrollPos(Window(), SB_CTL); }

void HScrollBarPeer::SetValue(Long value) { ::SetScrollPos(Window(), SB_CTL, value, TRUE); }

void HScrollBarPeer::OnScroll(WORD code) {
    const Long before = Value();
    Long value = before;
    switch (code) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            value = before - 1;
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            value = before + 1;
            break;
        case SB_LEFT:
            value = design().min;
            break;
        case SB_RIGHT:
            value = design().max;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_TRACKPOS;
            if (!::GetScrollInfo(Window(), SB_CTL, &info)) return;
            value = info.nTrackPos;
            break;
        }
        default:
            return;  // SB_ENDSCROLL
    }
    value = std::clamp<Long>(value, design().min, design().max);
    if (value == before) return;
    SetValue(value);
    events().PeerChange();
}

}  // namespace win32
