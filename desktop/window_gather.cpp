#include "desktop/window_gather.h"

#include "desktop/window_shift.h"

namespace desktop {
using engine::Hwnd;
using engine::Long;
namespace win = engine::win;

namespace {
// The whole widths that bring a left edge into [screen.left, screen.right).
long long BandsBack(Long left, const engine::Rect& screen) {
    const long long width = static_cast<long long>(screen.right) - screen.left;
    const long long offset = static_cast<long long>(left) - screen.left;
    const long long bands = offset >= 0 ? offset / width : -((-offset + width - 1) / width);
    return -bands;
}

bool Beside(const engine::Rect& r, const engine::Rect& screen) {
    return r.right <= screen.left || r.left >= screen.right;
}
}  // namespace

namespace {
struct Return {
    Hwnd hwnd;
    bool answers;
    bool placed;  // minimised or maximised: its restore position moves
    engine::WindowPlacement placement;
    Long fromLeft, toLeft, top;
};
}  // namespace

int GatherWindows(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                  engine::Rect screen, const ShiftWitness& witness) {
    if (screen.right <= screen.left) return 0;
    const long long width = static_cast<long long>(screen.right) - screen.left;
    AnswerProbe probe(platform);
    std::vector<Return> returns;
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        if (Judge(wi, platform, rules, h) != WalkVerdict::Takes) continue;
        const bool answers = probe.Answers(h);
        if (wi.IsWindowStyle(h, win::WS_MINIMIZE) || wi.IsWindowStyle(h, win::WS_MAXIMIZE)) {
            // Where it goes when restored; placing it waits for its thread.
            engine::WindowPlacement placement;
            engine::Rect onScreen;
            if (!answers || !NormalPlacement(platform, h, &placement, &onScreen) || !Beside(onScreen, screen)) continue;
            const long long dx = BandsBack(onScreen.left, screen) * width;
            returns.push_back({h, answers, true, placement, onScreen.left, static_cast<Long>(onScreen.left + dx), 0});
            continue;
        }
        engine::Rect r;
        if (!platform.GetWindowRect(h, &r) || !Beside(r, screen)) continue;
        const long long x = r.left + BandsBack(r.left, screen) * width;
        returns.push_back({h, answers, false, {}, r.left, static_cast<Long>(x), r.top});
    }
    if (witness.planned) {
        std::vector<PlannedMove> plan;
        for (const Return& r : returns) plan.push_back({r.hwnd, r.fromLeft, r.toLeft});
        witness.planned(plan);
    }
    int brought = 0;
    for (Return& r : returns) {
        if (r.placed) {
            engine::Rect& n = r.placement.rcNormalPosition;
            const Long dx = r.toLeft - r.fromLeft;
            n = {n.left + dx, n.top, n.right + dx, n.bottom};
            if (platform.SetWindowPlacement(r.hwnd, &r.placement)) ++brought;
        } else if (MoveWithoutActivating(platform, r.hwnd, r.toLeft, r.top, r.answers)) {
            ++brought;
        }
    }
    if (witness.moved) witness.moved();
    return brought;
}

}  // namespace desktop
