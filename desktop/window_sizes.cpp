#include "desktop/window_sizes.h"

namespace desktop {
using engine::Hwnd;
using engine::Long;
namespace win = engine::win;

namespace {
bool OnScreen(const engine::Rect& r, const Bands& screen) { return BandOffset(r, screen) == 0; }

engine::Rect Shifted(engine::Rect r, Long dx) {
    r.left = CheckedLong(static_cast<long long>(r.left) + dx);
    r.right = CheckedLong(static_cast<long long>(r.right) + dx);
    return r;
}

constexpr engine::Dword kResizeOnly = win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE;
}  // namespace

void WindowSizes::ForgetClosed(engine::Platform& platform) {
    // A closed window's handle may be given to a new window.
    std::erase_if(sizes_, [&](const auto& entry) {
        engine::Dword process = 0;
        return platform.GetWindowThreadProcessId(entry.first, &process) == 0;
    });
}

void WindowSizes::BeforeShift(engine::Platform& platform, const std::vector<WindowToMove>& windows,
                              const Bands& screen, Long dx) {
    BeforeShift(platform, AllBy(windows, dx), screen);
}

void WindowSizes::BeforeShift(engine::Platform& platform, const std::vector<WindowShift>& shifts,
                              const Bands& screen) {
    ForgetClosed(platform);
    arriving_.clear();
    for (const auto& [w, dx] : shifts) {
        // A window that does not answer is never waited for, nor resized.
        if (dx == 0 || w.keptMinimised || !w.answers) continue;
        engine::Rect r = w.restoredRect;
        if (!w.restoring && !platform.GetWindowRect(w.hwnd, &r)) continue;
        const bool leaves = OnScreen(r, screen) && !OnScreen(Shifted(r, dx), screen);
        if (leaves) {
            sizes_[w.hwnd] = SizeOf(r);
        } else if (!OnScreen(r, screen) && OnScreen(Shifted(r, dx), screen)) {
            if (auto known = sizes_.find(w.hwnd); known != sizes_.end()) {
                arriving_.push_back(*known);
                sizes_.erase(known);
            }
        }
    }
}

void WindowSizes::GiveBack(engine::Platform& platform, Hwnd hwnd, const Size& size) {
    const auto style = static_cast<engine::Dword>(platform.GetWindowLongA(hwnd, win::GWL_STYLE));
    if (style & (win::WS_MAXIMIZE | win::WS_MINIMIZE)) return;
    engine::Rect r;
    if (!platform.GetWindowRect(hwnd, &r) || SizeOf(r) == size) return;
    platform.SetWindowPos(hwnd, 0, 0, 0, size.width, size.height, kResizeOnly);
}

void WindowSizes::AfterShift(engine::Platform& platform) {
    for (int look = 0; look < 2; ++look)
        for (const auto& [hwnd, size] : arriving_) GiveBack(platform, hwnd, size);
    arriving_.clear();
}

std::vector<WindowSizes::Kept> WindowSizes::KeptSizes() const {
    std::vector<Kept> all;
    for (const auto& [hwnd, size] : sizes_) all.push_back({hwnd, size.width, size.height});
    for (const auto& [hwnd, size] : arriving_) all.push_back({hwnd, size.width, size.height});
    return all;
}

void WindowSizes::Adopt(engine::Platform& platform, const std::vector<Kept>& sizes, const Bands& screen) {
    for (const Kept& kept : sizes) {
        engine::Rect r;
        if (platform.GetWindowThreadProcessId(kept.hwnd, nullptr) == 0 || !platform.GetWindowRect(kept.hwnd, &r))
            continue;  // gone meanwhile
        if (OnScreen(r, screen))
            GiveBack(platform, kept.hwnd, {kept.width, kept.height});
        else
            sizes_[kept.hwnd] = {kept.width, kept.height};
    }
}

void WindowSizes::Moved(engine::Platform& platform, Hwnd hwnd, const engine::Rect& before, const Bands& screen) {
    engine::Rect now;
    if (!platform.GetWindowRect(hwnd, &now)) return;
    if (OnScreen(before, screen) && !OnScreen(now, screen)) {
        sizes_[hwnd] = SizeOf(before);
    } else if (!OnScreen(before, screen) && OnScreen(now, screen)) {
        if (auto known = sizes_.find(hwnd); known != sizes_.end()) {
            const Size size = known->second;
            sizes_.erase(known);
            for (int look = 0; look < 2; ++look) GiveBack(platform, hwnd, size);
        }
    }
}

}  // namespace desktop
