#include "desktop/desktop_count.h"

#include <algorithm>
#include <set>

namespace desktop {
using engine::Hwnd;
using engine::Long;

std::vector<WindowShift> PlanCountChange(lib::ClsKwWinInterface& wi, engine::Platform& platform,
                                         const std::vector<NeverMoveRule>& rules, const CollectOptions& options,
                                         const Bands& now, const CountChange& change) {
    AnswerProbe probe(platform);
    std::vector<WindowShift> shifts;
    std::set<Hwnd> planned;  // a restore may bring a window up again in the walk
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        if (planned.count(h) || Judge(wi, platform, rules, h, options.pinned) != WalkVerdict::Takes) continue;
        if (options.keepMinimised && wi.IsWindowStyle(h, engine::win::WS_MINIMIZE)) continue;
        const std::optional<engine::Rect> where = WhereItLies(platform, wi, h);
        if (!where) continue;
        // Its left edge's band: a window that reaches onto a desktop that
        // stays is within reach already, and where it goes it keeps its place.
        const long long desk = static_cast<long long>(now.active) + BandOf(where->left, now);
        const long long home = std::min<long long>(desk, change.lastKept);
        const Long dx = CheckedLong((home - desk + now.active - change.active) * now.width);
        if (dx == 0) continue;
        planned.insert(h);
        shifts.push_back({PrepareWindow(wi, platform, probe, h, options.keepMinimised), dx});
    }
    return shifts;
}

}  // namespace desktop
