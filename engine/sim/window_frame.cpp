#include "engine/sim/window_frame.h"

namespace sim {
namespace win = engine::win;

namespace {
// The outer frame on each side: sizing border, dialog frame, thin border or
// static edge, whichever is widest.
Long FrameWidth(Dword style, Dword exStyle) {
    if (style & win::WS_THICKFRAME) return kSizingFrame;
    if ((style & win::WS_DLGFRAME) || (exStyle & win::WS_EX_DLGMODALFRAME)) return kDialogFrame;
    if ((style & win::WS_BORDER) || (exStyle & win::WS_EX_STATICEDGE)) return kThinBorder;
    return 0;
}
}  // namespace

bool AddFrame(Rect* rect, Dword style, bool menu, Dword exStyle) {
    if (!rect) return false;
    // The client edge lies inside the menu bar, the frame outside the caption;
    // on a rectangle the order makes no difference.
    const Long frame = FrameWidth(style, exStyle) + ((exStyle & win::WS_EX_CLIENTEDGE) ? kClientEdge : 0);
    rect->left -= frame;
    rect->right += frame;
    rect->top -= frame;
    rect->bottom += frame;
    if ((style & win::WS_CAPTION) == win::WS_CAPTION)
        rect->top -= (exStyle & win::WS_EX_TOOLWINDOW) ? kSmallCaptionHeight : kCaptionHeight;
    if (menu) rect->top -= kMenuHeight;
    return true;
}

engine::Point ClientOrigin(const Window& w) {
    Rect frame{0, 0, 0, 0};
    AddFrame(&frame, w.style, false, w.exStyle);
    return {w.rect.left - frame.left, w.rect.top - frame.top};
}

Rect ClientRect(const Window& w) {
    if (w.style & win::WS_MINIMIZE) return {0, 0, 0, 0};
    Rect frame{0, 0, 0, 0};
    AddFrame(&frame, w.style, false, w.exStyle);
    const Long width = (w.rect.right - w.rect.left) - (frame.right - frame.left);
    const Long height = (w.rect.bottom - w.rect.top) - (frame.bottom - frame.top);
    return {0, 0, width < 0 ? 0 : width, height < 0 ? 0 : height};
}

}  // namespace sim
