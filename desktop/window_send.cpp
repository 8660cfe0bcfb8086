#include "desktop/window_send.h"

#include "desktop/minimised_windows.h"

namespace desktop {
using engine::Hwnd;
using engine::Long;
namespace win = engine::win;

Hwnd TopLevelOf(engine::Platform& platform, Hwnd hwnd) {
    return hwnd == 0 ? 0 : platform.GetAncestor(hwnd, win::GA_ROOT);
}

std::optional<engine::Rect> WhereItLies(engine::Platform& platform, lib::ClsKwWinInterface& wi, Hwnd hwnd) {
    engine::Rect r;
    if (wi.IsWindowStyle(hwnd, win::WS_MINIMIZE)) {
        engine::WindowPlacement placement;
        if (!NormalPlacement(platform, hwnd, &placement, &r)) return std::nullopt;
        return r;
    }
    if (!platform.GetWindowRect(hwnd, &r)) return std::nullopt;
    return r;
}

Long BandOffset(const engine::Rect& r, const Bands& bands) {
    return BandOf((static_cast<long long>(r.left) + r.right) / 2, bands);
}

Long BandOf(long long x, const Bands& bands) {
    if (bands.width <= 0) return 0;
    const long long offset = x - bands.left;
    return CheckedLong(offset >= 0 ? offset / bands.width : -((-offset + bands.width - 1) / bands.width));
}

bool IsMovable(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
               const PinnedWindows* pinned, Hwnd hwnd) {
    if (hwnd == 0) return false;
    engine::Dword process = 0;
    if (platform.GetWindowThreadProcessId(hwnd, &process) == 0 || process == platform.GetCurrentProcessId())
        return false;
    return Judge(wi, platform, rules, hwnd, pinned) == WalkVerdict::Takes;
}

Long OtherDesktopOf(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                    const PinnedWindows& pinned, Hwnd hwnd, const Bands& bands) {
    if (!IsMovable(wi, platform, rules, &pinned, hwnd)) return 0;
    const std::optional<engine::Rect> r = WhereItLies(platform, wi, hwnd);
    if (!r) return 0;
    const long long screenRight = static_cast<long long>(bands.left) + bands.width;
    if (r->right > bands.left && r->left < screenRight) return 0;  // on the screen, if only in part
    const long long desk = static_cast<long long>(bands.active) + BandOffset(*r, bands);
    return desk >= 1 && desk <= bands.count ? static_cast<Long>(desk) : 0;
}

bool SendWindow(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                const PinnedWindows& pinned, Hwnd hwnd, Long to, const Bands& bands, MinimisedWindows* keptMinimised) {
    if (to < 1 || to > bands.count || !IsMovable(wi, platform, rules, &pinned, hwnd)) return false;
    const std::optional<engine::Rect> r = WhereItLies(platform, wi, hwnd);
    if (!r) return false;
    if (keptMinimised && wi.IsWindowStyle(hwnd, win::WS_MINIMIZE)) {
        keptMinimised->Assign(hwnd, to, BandOffset(*r, bands));
        return true;
    }
    const long long bandsToGo = static_cast<long long>(to) - bands.active - BandOffset(*r, bands);
    if (bandsToGo == 0) return false;
    AnswerProbe probe(platform);
    const WindowToMove window = PrepareWindow(wi, platform, probe, hwnd, false);
    ShiftWindows(platform, {window}, CheckedLong(bandsToGo * bands.width));
    return true;
}

void ForegroundToScreen(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                        const Bands& bands, Hwnd except) {
    Hwnd start = 0;
    for (Hwnd h = wi.FirstChildWindow(start); h != 0; h = wi.NextChildWindow()) {
        if (h == except || wi.IsWindowStyle(h, win::WS_MINIMIZE)) continue;
        // A pinned window is on the screen too: it may have the foreground.
        if (!IsMovable(wi, platform, rules, nullptr, h)) continue;
        engine::Rect r;
        if (!platform.GetWindowRect(h, &r) || BandOffset(r, bands) != 0) continue;
        platform.SetForegroundWindow(h);
        return;
    }
    if (const Hwnd taskbar = platform.FindWindowExA(0, 0, "Shell_TrayWnd", nullptr))
        platform.SetForegroundWindow(taskbar);
}

}  // namespace desktop
