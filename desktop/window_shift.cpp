#include "desktop/window_shift.h"

#include <algorithm>
#include <limits>

#include "desktop/never_move.h"
#include "engine/error.h"

namespace desktop {
using engine::Hwnd;
using engine::Long;
namespace win = engine::win;

Long CheckedLong(long long value) {
    if (value < std::numeric_limits<Long>::min() || value > std::numeric_limits<Long>::max())
        engine::Raise(engine::err::kOverflow);
    return static_cast<Long>(value);
}

bool MoveWithoutActivating(engine::Platform& platform, Hwnd hwnd, Long x, Long y, bool answers) {
    const engine::Dword flags =
        win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE | (answers ? 0 : win::SWP_ASYNCWINDOWPOS);
    return platform.SetWindowPos(hwnd, 0, x, y, 0, 0, flags);
}

namespace {

constexpr engine::Dword kMoveOnly = win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_SHOWWINDOW;
}  // namespace

Long ShiftDistance(Long oldDesk, Long newDesk, Long screenWidth) {
    return CheckedLong((static_cast<long long>(oldDesk) - newDesk) * screenWidth);
}

std::vector<NeverMoveRule> ScanPatterns(const engine::Collection<engine::String>& entries) {
    std::vector<NeverMoveRule> rules;
    rules.reserve(static_cast<size_t>(entries.Count()));
    for (Long k = 1; k <= entries.Count(); ++k) rules.emplace_back(ScanPattern(entries.Item(k)));
    return rules;
}

namespace {
// A window shown on the screen can still be kept off it by the system (one of
// Windows' own virtual desktops, a suspended app). A failed question — no
// dwmapi, a system without cloaking — means not cloaked.
bool IsCloaked(engine::Platform& platform, Hwnd hwnd) {
    engine::Dword cloaked = 0;
    return platform.DwmGetWindowAttribute(hwnd, win::DWMWA_CLOAKED, &cloaked, sizeof cloaked) == win::S_OK &&
           cloaked != 0;
}

}  // namespace

bool NormalPlacement(engine::Platform& platform, Hwnd hwnd, engine::WindowPlacement* placement,
                     engine::Rect* onScreen) {
    placement->length = sizeof *placement;
    if (!platform.GetWindowPlacement(hwnd, placement)) return false;
    engine::Rect area{0, 0, 0, 0};
    platform.SystemParametersInfoA(win::SPI_GETWORKAREA, 0, &area, 0);
    const engine::Rect& n = placement->rcNormalPosition;
    *onScreen = {n.left + area.left, n.top + area.top, n.right + area.left, n.bottom + area.top};
    return true;
}

bool AnswerProbe::Answers(Hwnd hwnd) {
    const engine::Dword thread = platform_.GetWindowThreadProcessId(hwnd, nullptr);
    if (auto known = answers_.find(thread); known != answers_.end()) return known->second;
    engine::Dword result = 0;
    const bool answers =
        !platform_.IsHungAppWindow(hwnd) &&
        platform_.SendMessageTimeoutA(hwnd, win::WM_NULL, 0, 0, win::SMTO_ABORTIFHUNG, kAnswerWaitMs, &result);
    answers_.emplace(thread, answers);
    return answers;
}

bool PinnedWindows::Toggle(Hwnd hwnd) {
    if (pinned_.erase(hwnd)) return false;
    pinned_.insert(hwnd);
    return true;
}

void PinnedWindows::ForgetClosed(engine::Platform& platform) {
    std::erase_if(pinned_, [&](Hwnd h) { return platform.GetWindowThreadProcessId(h, nullptr) == 0; });
}

WalkVerdict Judge(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                  Hwnd hwnd, const PinnedWindows* pinned) {
    if (!wi.IsWindowVisible(hwnd)) return WalkVerdict::NotVisible;
    // Trevo's own windows (a notice still shown) stay where Trevo puts them.
    engine::Dword process = 0;
    if (platform.GetWindowThreadProcessId(hwnd, &process) != 0 && process == platform.GetCurrentProcessId())
        return WalkVerdict::Own;
    if (IsCloaked(platform, hwnd)) return WalkVerdict::Cloaked;
    if (pinned && pinned->Has(hwnd)) return WalkVerdict::Pinned;
    WindowNames names(
        [&] {
            Hwnd h = hwnd;
            return wi.WindowText(h);
        },
        [&] {
            Hwnd h = hwnd;
            return wi.ClassName(h);
        });
    for (const NeverMoveRule& rule : rules)
        if (rule.Spares(names)) return WalkVerdict::NeverMove;
    return WalkVerdict::Takes;
}

WindowToMove PrepareWindow(lib::ClsKwWinInterface& wi, engine::Platform& platform, AnswerProbe& probe, Hwnd h,
                           bool keepMinimised) {
    WindowToMove window;
    window.hwnd = h;
    window.answers = probe.Answers(h);
    if (keepMinimised && wi.IsWindowStyle(h, win::WS_MINIMIZE)) {
        window.keptMinimised = true;
        return window;
    }
    const bool sized = wi.IsWindowStyle(h, win::WS_MAXIMIZE) || wi.IsWindowStyle(h, win::WS_MINIMIZE);
    if (sized && window.answers) {
        if (wi.IsWindowStyle(h, win::WS_MAXIMIZE)) platform.ShowWindow(h, win::SW_RESTORE);
        if (wi.IsWindowStyle(h, win::WS_MINIMIZE)) platform.ShowWindow(h, win::SW_RESTORE);
    } else if (engine::WindowPlacement placement;
               sized && NormalPlacement(platform, h, &placement, &window.restoredRect)) {
        window.restoring = true;
        platform.ShowWindowAsync(h, win::SW_RESTORE);
    }
    return window;
}

std::vector<WindowToMove> CollectWindows(lib::ClsKwWinInterface& wi, engine::Platform& platform,
                                         const std::vector<NeverMoveRule>& rules, const CollectOptions& options) {
    AnswerProbe probe(platform);
    std::vector<WindowToMove> list;
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        if (Judge(wi, platform, rules, h, options.pinned) != WalkVerdict::Takes) continue;
        list.push_back(PrepareWindow(wi, platform, probe, h, options.keepMinimised));
    }
    return list;
}

namespace {
struct Target {
    Hwnd hwnd;
    Long x, y;
};

// One deferred batch of every move. A move that cannot be deferred ends its
// batch; the batch is then gone, so it is built again without that window until
// every other one is in. A batch that the system refuses as a whole (a window
// the program may not move) is carried out window by window, so that one
// refusal never costs the others their move.
void MoveTogether(engine::Platform& platform, std::vector<Target> targets) {
    while (!targets.empty()) {
        engine::Dword batch = platform.BeginDeferWindowPos(static_cast<Long>(targets.size()));
        if (batch == 0) break;
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
            if (platform.EndDeferWindowPos(batch)) return;
            break;
        }
        const Hwnd refused = targets[failed].hwnd;
        targets.erase(
            std::remove_if(targets.begin(), targets.end(), [&](const Target& t) { return t.hwnd == refused; }),
            targets.end());
    }
    for (const Target& t : targets) platform.SetWindowPos(t.hwnd, 0, t.x, t.y, 0, 0, kMoveOnly);
}
}  // namespace

void ShiftWindows(engine::Platform& platform, const std::vector<WindowToMove>& windows, Long dx,
                  const ShiftWitness& witness) {
    ShiftWindows(platform, AllBy(windows, dx), witness);
}

std::vector<WindowShift> AllBy(const std::vector<WindowToMove>& windows, Long dx) {
    std::vector<WindowShift> shifts;
    shifts.reserve(windows.size());
    for (const WindowToMove& w : windows) shifts.push_back({w, dx});
    return shifts;
}

void ShiftWindows(engine::Platform& platform, const std::vector<WindowShift>& shifts, const ShiftWitness& witness) {
    // Every target comes from where the window is before anything moves.
    std::vector<Target> together, handedOver;
    std::vector<PlannedMove> plan;
    for (const auto& [w, dx] : shifts) {
        if (w.keptMinimised) continue;
        engine::Rect r = w.restoredRect;
        if (!w.restoring && !platform.GetWindowRect(w.hwnd, &r)) continue;  // already gone
        const Long x = CheckedLong(static_cast<long long>(r.left) + dx);
        (w.answers ? together : handedOver).push_back({w.hwnd, x, r.top});
        plan.push_back({w.hwnd, r.left, x});
    }
    if (witness.planned) witness.planned(plan);
    // A window that does not answer still goes to its desktop, without being waited for.
    for (const Target& t : handedOver)
        platform.SetWindowPos(t.hwnd, 0, t.x, t.y, 0, 0, kMoveOnly | win::SWP_ASYNCWINDOWPOS);
    MoveTogether(platform, std::move(together));
    if (witness.moved) witness.moved();
}

}  // namespace desktop
