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

int GatherWindows(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                  engine::Rect screen) {
    if (screen.right <= screen.left) return 0;
    const long long width = static_cast<long long>(screen.right) - screen.left;
    AnswerProbe probe(platform);
    int brought = 0;
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        if (Judge(wi, platform, rules, h) != WalkVerdict::Takes) continue;
        const bool answers = probe.Answers(h);
        if (wi.IsWindowStyle(h, win::WS_MINIMIZE) || wi.IsWindowStyle(h, win::WS_MAXIMIZE)) {
            // Where it goes when restored; placing it waits for its thread.
            engine::WindowPlacement placement;
            engine::Rect onScreen;
            if (!answers || !NormalPlacement(platform, h, &placement, &onScreen) || !Beside(onScreen, screen)) continue;
            engine::Rect& n = placement.rcNormalPosition;
            const long long dx = BandsBack(onScreen.left, screen) * width;
            n = {static_cast<Long>(n.left + dx), n.top, static_cast<Long>(n.right + dx), n.bottom};
            if (platform.SetWindowPlacement(h, &placement)) ++brought;
            continue;
        }
        engine::Rect r;
        if (!platform.GetWindowRect(h, &r) || !Beside(r, screen)) continue;
        const long long x = r.left + BandsBack(r.left, screen) * width;
        if (MoveWithoutActivating(platform, h, static_cast<Long>(x), r.top, answers)) ++brought;
    }
    return brought;
}

}  // namespace desktop
