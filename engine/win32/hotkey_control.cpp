// The hot-key control: a window of comctl32's class, which the engine makes
// available with the other common controls at its start.
#include "engine/win32/control_kinds.h"

#include <commctrl.h>

namespace win32 {
using engine::Long;

Win32ControlPeer::ClassAndStyle HotKeyPeer::Class() const { return {HOTKEY_CLASSW, WS_GROUP | WS_TABSTOP, 0}; }

// The extended-key mark only tells the control how to name the key; the
// combination is the same without it.
Long HotKeyPeer::Value() const {
    const auto word = static_cast<Long>(::SendMessageW(Window(), HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    return word & ~(static_cast<Long>(HOTKEYF_EXT) << 8);
}

void HotKeyPeer::SetValue(Long value) {
    // Keys of the navigation block share their scan codes with the number
    // pad's: marked extended, the control names them as the user knows them.
    const auto key = static_cast<BYTE>(value & 0xFF);
    const bool extended = (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
    const Long word = extended && key != 0 ? value | (static_cast<Long>(HOTKEYF_EXT) << 8) : value;
    ::SendMessageW(Window(), HKM_SETHOTKEY, static_cast<WPARAM>(word & 0xFFFF), 0);
}

void HotKeyPeer::OnCommand(WORD code) {
    if (code == EN_CHANGE) events().PeerChange();
}

}  // namespace win32
