// A panel of the program's own that tells the user something for a moment:
// above every window, never active, never on the task bar or in Alt+Tab, the
// mouse passing through it, and gone by itself once its time is up.
#pragma once

#include "engine/types.h"
#include "engine/win_constants.h"

namespace engine {

class NoticePanel {
public:
    virtual ~NoticePanel() = default;

    // Shows the text (lines split by '\n') centred on the monitor (an
    // HMONITOR; the primary one when that monitor is gone), drawn at that
    // monitor's scale. A panel still shown takes the new text, and its time
    // starts again.
    virtual void Show(const String& text, Dword monitor) = 0;
    virtual void Hide() = 0;
    // Its window, 0 before the first Show.
    virtual Hwnd hWnd() const = 0;
};

}  // namespace engine
