// The non-client area of a simulated window: the frame and caption Windows draws
// around its client area, in the sizes of the classic look at 96 dots per inch.
#pragma once

#include "engine/sim/window_model.h"

namespace sim {

inline constexpr Long kCaptionHeight = 19;       // SM_CYCAPTION
inline constexpr Long kSmallCaptionHeight = 15;  // SM_CYSMCAPTION: the caption of a tool window
inline constexpr Long kMenuHeight = 19;          // SM_CYMENU
inline constexpr Long kSizingFrame = 4;          // SM_CXFRAME
inline constexpr Long kDialogFrame = 3;          // SM_CXDLGFRAME
inline constexpr Long kThinBorder = 1;           // SM_CXBORDER
inline constexpr Long kClientEdge = 2;           // SM_CXEDGE

// The frame and caption that AdjustWindowRectEx adds around a client rectangle.
bool AddFrame(Rect* rect, Dword style, bool menu, Dword exStyle);
// Where a window's client area begins on the screen.
engine::Point ClientOrigin(const Window& w);
// The client area in its own coordinates (a minimised window shows none).
Rect ClientRect(const Window& w);

}  // namespace sim
