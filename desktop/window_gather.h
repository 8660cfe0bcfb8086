// The rescue for windows left beside every screen: each is brought back by
// whole desktop widths, so that it stands where it stood on its own desktop.
#pragma once

#include <vector>

#include "desktop/never_move.h"
#include "desktop/window_shift.h"
#include "engine/platform.h"
#include "lib/ClsKwWinInterface.h"

namespace desktop {

// Brings every shown, uncloaked window that lies wholly left or right of the
// virtual screen back onto it, by whole widths of it; a minimised or maximised
// window's restore position likewise. Windows a rule spares stay. Returns how
// many windows it brought back. The witness hears of every move before the
// first is made and once the last has returned.
int GatherWindows(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                  engine::Rect virtualScreen, const ShiftWitness& witness = {});

}  // namespace desktop
