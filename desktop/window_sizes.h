// The size each window had when a switch took it off the screen, given back
// when a switch brings it back. A per-monitor-aware program resizes itself to
// the scale of the monitor nearest to where it lies, and beside monitors of
// different scale two such resizes need not give back the size it had (301
// pixels at 150 % become 201 at 100 % and 302 back at 150 %). Which desktop a
// window belongs to is still its band alone: this only restores sizes.
#pragma once

#include <map>
#include <vector>

#include "desktop/window_send.h"

namespace desktop {

class WindowSizes {
public:
    struct Kept {
        engine::Hwnd hwnd = 0;
        engine::Long width = 0, height = 0;
    };
    // Before a shift by dx: remembers the size of each window the shift takes
    // off the screen and notes each one it brings back.
    void BeforeShift(engine::Platform& platform, const std::vector<WindowToMove>& windows, const Bands& screen,
                     engine::Long dx);
    // The same when each window goes its own distance.
    void BeforeShift(engine::Platform& platform, const std::vector<WindowShift>& shifts, const Bands& screen);
    // After the shift: each window brought back that is neither maximised nor
    // minimised gets the size it left with, and is looked at once more, as a
    // program may resize itself late.
    void AfterShift(engine::Platform& platform);

    // One window moved by hand (a send) from `before` to where it lies now.
    void Moved(engine::Platform& platform, engine::Hwnd hwnd, const engine::Rect& before, const Bands& screen);

    size_t Remembered() const { return sizes_.size(); }

    // Every size remembered, those of windows a shift is bringing back too:
    // what a later Trevo needs when this one ends in the middle of a switch.
    std::vector<Kept> KeptSizes() const;
    // A Trevo that ended left these: a window on the screen among them came
    // back without its size, which it is given now; the others wait beside it.
    void Adopt(engine::Platform& platform, const std::vector<Kept>& sizes, const Bands& screen);

private:
    struct Size {
        engine::Long width = 0, height = 0;
        bool operator==(const Size&) const = default;
    };
    static Size SizeOf(const engine::Rect& r) { return {r.right - r.left, r.bottom - r.top}; }
    void ForgetClosed(engine::Platform& platform);
    void GiveBack(engine::Platform& platform, engine::Hwnd hwnd, const Size& size);

    std::map<engine::Hwnd, Size> sizes_;
    std::vector<std::pair<engine::Hwnd, Size>> arriving_;
};

}  // namespace desktop
