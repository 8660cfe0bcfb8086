// A change of the number of desktops while Trevo runs: the windows of desktops
// that go join the highest one that stays, and the active desktop may change.
#pragma once

#include <vector>

#include "desktop/window_send.h"

namespace desktop {

// What becomes of the desktops: every window of a desktop above `lastKept`
// joins desktop `lastKept`, at its place within its band, and desktop
// `active` is shown on the screen afterwards.
struct CountChange {
    engine::Long lastKept = 1;
    engine::Long active = 1;
};

// The windows a switch would move that the change moves, each made ready as a
// switch makes it ready and with its own distance. A window belongs to the band
// of its left edge here: one wholly beyond desktop `lastKept` joins it. Windows
// kept minimised are left to their record; windows left of desktop 1 keep
// their distance to it.
std::vector<WindowShift> PlanCountChange(lib::ClsKwWinInterface& wi, engine::Platform& platform,
                                         const std::vector<NeverMoveRule>& rules, const CollectOptions& options,
                                         const Bands& now, const CountChange& change);

}  // namespace desktop
