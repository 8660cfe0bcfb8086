#include "desktop/window_shift.h"

#include <algorithm>
#include <limits>

#include "desktop/never_move.h"
#include "engine/error.h"

namespace desktop {
using engine::Hwnd;
using engine::Long;
namespace win = engine::win;

namespace {
Long Checked(long long value) {
    if (value < std::numeric_limits<Long>::min() || value > std::numeric_limits<Long>::max())
        engine::Raise(engine::err::kOverflow);
    return static_cast<Long>(value);
}

constexpr engine::Dword kMoveOnly = win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_SHOWWINDOW;
}  // namespace

Long ShiftDistance(Long oldDesk, Long newDesk, Long screenWidth) {
    return Checked((static_cast<long long>(oldDesk) - newDesk) * screenWidth);
}

std::vector<NeverMoveRule> ScanPatterns(const engine::Collection<engine::String>& entries) {
    std::vector<NeverMoveRule> rules;
    rules.reserve(static_cast<size_t>(entries.Count()));
    for (Long k = 1; k <= entries.Count(); ++k) rules.emplace_back(ScanPattern(entries.Item(k)));
    return rules;
}

WalkVerdict Judge(lib::ClsKwWinInterface& wi, const std::vector<NeverMoveRule>& rules, Hwnd hwnd) {
    if (!wi.IsWindowVisible(hwnd)) return WalkVerdict::NotVisible;
    WindowNames names([&] {
        Hwnd h = hwnd;
        return wi.WindowText(h);
    }, [&] {
        Hwnd h = hwnd;
        return wi.ClassName(h);
    });
    for (const NeverMoveRule& rule : rules)
        if (rule.Spares(names)) return WalkVerdict::NeverMove;
    return WalkVerdict::Takes;
}

std::vector<Hwnd> CollectWindows(trevo::BasTrevo& bas, engine::Platform& platform) {
    lib::ClsKwWinInterface& wi = *bas.gcWinInterface;
    // The entries are cut and compiled once per switch, not once per window.
    const std::vector<NeverMoveRule> rules = ScanPatterns(*bas.gNoChange);
    std::vector<Hwnd> list;
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        if (Judge(wi, rules, h) != WalkVerdict::Takes) continue;
        if (wi.IsWindowStyle(h, win::WS_MAXIMIZE)) platform.ShowWindow(h, win::SW_RESTORE);
        if (wi.IsWindowStyle(h, win::WS_MINIMIZE)) platform.ShowWindow(h, win::SW_RESTORE);
        list.push_back(h);
    }
    return list;
}

void ShiftWindows(engine::Platform& platform, const std::vector<Hwnd>& windows, Long dx) {
    if (windows.empty()) return;
    struct Target {
        Hwnd hwnd;
        Long x, y;
    };
    // Every target comes from where the window is before anything moves.
    std::vector<Target> targets;
    targets.reserve(windows.size());
    for (Hwnd h : windows) {
        engine::Rect r;
        if (!platform.GetWindowRect(h, &r)) continue;  // already gone
        targets.push_back({h, Checked(static_cast<long long>(r.left) + dx), r.top});
    }
    // A move that cannot be deferred ends its batch; the batch is then gone, so it
    // is built again without that window until every other one is in.
    while (!targets.empty()) {
        engine::Dword batch = platform.BeginDeferWindowPos(static_cast<Long>(targets.size()));
        if (batch == 0) {
            for (const Target& t : targets) platform.SetWindowPos(t.hwnd, 0, t.x, t.y, 0, 0, kMoveOnly);
            return;
        }
        size_t failed = targets.size();
        for (size_t i = 0; i < targets.size(); ++i) {
            const engine::Dword next =
                platform.DeferWindowPos(batch, targets[i].hwnd, 0, targets[i].x, targets[i].y, 0, 0, kMoveOnly);
            if (next == 0) {
                failed = i;
                break;
            }
            batch = next;
        }
        if (failed == targets.size()) {
            platform.EndDeferWindowPos(batch);
            return;
        }
        const Hwnd refused = targets[failed].hwnd;
        targets.erase(std::remove_if(targets.begin(), targets.end(), [&](const Target& t) { return t.hwnd == refused; }),
                      targets.end());
    }
}

}  // namespace desktop
