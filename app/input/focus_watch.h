// Watches the foreground window without entering other programs and without
// polling: two out-of-context WinEvent hooks, the foreground event Windows
// sends and the focus event that Wine sends in its place.
#pragma once

#include <functional>

#include "engine/platform.h"

namespace trevo {

class FocusWatch {
public:
    // changed runs on Trevo's own thread, from its message loop, after a
    // window of another program got the foreground or the keyboard focus.
    FocusWatch(engine::Platform& platform, std::function<void()> changed);
    ~FocusWatch();
    FocusWatch(const FocusWatch&) = delete;
    FocusWatch& operator=(const FocusWatch&) = delete;

    // False when Windows granted neither hook.
    bool Watching() const { return foregroundHook_ != 0 || focusHook_ != 0; }

private:
    engine::Platform& platform_;
    std::function<void()> changed_;
    engine::Dword foregroundHook_ = 0;
    engine::Dword focusHook_ = 0;
};

}  // namespace trevo
