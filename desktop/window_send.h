// Windows chosen by hand: the desktop a window lies on, sending the foreground
// window to another desktop, and giving the foreground to a window on the
// screen so that typing never goes to a window beside it.
#pragma once

#include <optional>

#include "desktop/window_shift.h"

namespace desktop {

// The desktops as bands beside the screen's left edge.
struct Bands {
    engine::Long left = 0;   // the screen's left edge
    engine::Long width = 0;  // one desktop
    engine::Long active = 1;
    engine::Long count = 1;
};

// The top-level window of a window, or 0.
engine::Hwnd TopLevelOf(engine::Platform& platform, engine::Hwnd hwnd);

// Where a window is, or would be restored to when minimised.
std::optional<engine::Rect> WhereItLies(engine::Platform& platform, lib::ClsKwWinInterface& wi, engine::Hwnd hwnd);

// How many bands right of the screen a rectangle lies, by its centre.
engine::Long BandOffset(const engine::Rect& rect, const Bands& bands);
// How many bands right of the screen a point lies.
engine::Long BandOf(long long x, const Bands& bands);

// The other desktop a window lies on, wholly beside the screen: 0 for a window
// a switch would not move (hidden, cloaked, never-move, pinned, Trevo's own),
// one on or partly on the screen, and one beyond the first or last desktop.
engine::Long OtherDesktopOf(lib::ClsKwWinInterface& wi, engine::Platform& platform,
                            const std::vector<NeverMoveRule>& rules, const PinnedWindows& pinned, engine::Hwnd hwnd,
                            const Bands& bands);

// Whether the window is one a switch would move and not Trevo's own.
bool IsMovable(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
               const PinnedWindows* pinned, engine::Hwnd hwnd);

// Moves the window to desktop `to` by whole bands, keeping its place within
// its band, as a switch would move it; a minimised one that stays so is only
// given to that desktop. False when it is not one to move.
bool SendWindow(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                const PinnedWindows& pinned, engine::Hwnd hwnd, engine::Long to, const Bands& bands,
                class MinimisedWindows* keptMinimised);

// Gives the foreground to the topmost window on the screen other than
// `except`, or to the task bar when there is none.
void ForegroundToScreen(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                        const Bands& bands, engine::Hwnd except = 0);

}  // namespace desktop
