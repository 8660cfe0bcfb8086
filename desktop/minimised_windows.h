// Minimised windows that stay minimised at a switch. Windows puts a restore
// place that lies wholly beside the screen back onto it (SetWindowPlacement
// says so), so their restore places cannot travel with their desktops: Trevo
// remembers the desktop each one belongs to instead, and moves a restored one
// into that desktop's band.
#pragma once

#include <map>
#include <optional>

#include "desktop/window_send.h"

namespace desktop {

class MinimisedWindows {
public:
    // Before a switch: a minimised window met for the first time belongs to the
    // desktop its restore place lies on; one restored since is returned.
    void Update(lib::ClsKwWinInterface& wi, engine::Platform& platform, const std::vector<NeverMoveRule>& rules,
                const PinnedWindows& pinned, const Bands& bands);
    // The desktop of a window kept minimised, or nothing.
    std::optional<engine::Long> HomeOf(engine::Hwnd hwnd) const;
    // A minimised window whose restore place lies `offset` bands beside the
    // screen now belongs to desktop `desk`.
    void Assign(engine::Hwnd hwnd, engine::Long desk, engine::Long offset) { kept_[hwnd] = {desk, desk - offset}; }
    // A kept window restored: moved by whole bands into its desktop's band and
    // forgotten; its desktop, or nothing for a window not kept.
    std::optional<engine::Long> Return(engine::Hwnd hwnd, engine::Platform& platform, const Bands& bands);
    // The desktops above `last` are gone: their windows belong to desktop
    // `last`, each to open at its place within that desktop's band.
    void JoinDesktop(engine::Long last);

private:
    struct Kept {
        engine::Long desk;    // where it belongs
        engine::Long seenOn;  // the desktop whose screen its restore place is a place of
    };
    std::map<engine::Hwnd, Kept> kept_;
};

}  // namespace desktop
