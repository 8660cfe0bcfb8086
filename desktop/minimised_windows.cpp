#include "desktop/minimised_windows.h"

#include <limits>

#include "engine/error.h"

namespace desktop {
using engine::Hwnd;
using engine::Long;
namespace win = engine::win;

std::optional<Long> MinimisedWindows::HomeOf(Hwnd hwnd) const {
    auto it = kept_.find(hwnd);
    if (it == kept_.end()) return std::nullopt;
    return it->second.desk;
}

std::optional<Long> MinimisedWindows::Return(Hwnd hwnd, engine::Platform& platform, const Bands& bands) {
    auto it = kept_.find(hwnd);
    if (it == kept_.end()) return std::nullopt;
    const Kept kept = it->second;
    kept_.erase(it);
    // It opened where it lay on the screen of the desktop it was seen on.
    const long long dx = (static_cast<long long>(kept.seenOn) - bands.active) * bands.width;
    engine::Rect r;
    if (dx != 0 && platform.GetWindowRect(hwnd, &r)) {
        if (dx + r.left < std::numeric_limits<Long>::min() || dx + r.left > std::numeric_limits<Long>::max())
            engine::Raise(engine::err::kOverflow);
        AnswerProbe probe(platform);
        const engine::Dword flags = win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE |
                                    (probe.Answers(hwnd) ? 0 : win::SWP_ASYNCWINDOWPOS);
        platform.SetWindowPos(hwnd, 0, static_cast<Long>(r.left + dx), r.top, 0, 0, flags);
    }
    return kept.desk;
}

void MinimisedWindows::Update(lib::ClsKwWinInterface& wi, engine::Platform& platform,
                              const std::vector<NeverMoveRule>& rules, const PinnedWindows& pinned,
                              const Bands& bands) {
    std::map<Hwnd, Kept> still;
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        const bool minimised = wi.IsWindowStyle(h, win::WS_MINIMIZE);
        if (auto known = kept_.find(h); known != kept_.end()) {
            if (minimised)
                still.insert(*known);
            else
                Return(h, platform, bands);
            continue;
        }
        if (!minimised || !IsMovable(wi, platform, rules, &pinned, h)) continue;
        if (const std::optional<engine::Rect> where = WhereItLies(platform, wi, h))
            still[h] = {bands.active + BandOffset(*where, bands), bands.active};
    }
    kept_ = std::move(still);  // closed windows are gone with the walk
}

}  // namespace desktop
