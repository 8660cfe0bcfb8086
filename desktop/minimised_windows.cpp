#include "desktop/minimised_windows.h"

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
    if (dx != 0 && platform.GetWindowRect(hwnd, &r))
        MoveWithoutActivating(platform, hwnd, CheckedLong(r.left + dx), r.top, AnswerProbe(platform).Answers(hwnd));
    return kept.desk;
}

void MinimisedWindows::JoinDesktop(Long last) {
    for (auto& [hwnd, kept] : kept_) {
        if (kept.desk <= last) continue;
        kept.seenOn += last - kept.desk;
        kept.desk = last;
    }
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
