// How long a notice stays and how it fades: one schedule for both engines.
// Each step is one timer tick; between notices no timer runs at all.
#pragma once

#include <cstdint>

#include "engine/win_constants.h"

namespace engine {

class NoticeFade {
public:
    static constexpr Dword kHoldMs = 1000;
    static constexpr Dword kStepMs = 30;
    static constexpr int kSteps = 10;
    // Slightly translucent even at its fullest, so the wallpaper shows through.
    static constexpr std::uint8_t kFullAlpha = 230;

    // Shown (again), at kFullAlpha: the time until the first tick.
    Dword Restart() {
        step_ = 0;
        return kHoldMs;
    }
    // A tick: the alpha for now, and the time until the next tick; 0 when
    // the fade is over and the panel goes.
    Dword Tick(std::uint8_t* alpha) {
        if (step_ < kSteps) ++step_;
        *alpha = static_cast<std::uint8_t>(kFullAlpha * (kSteps - step_) / kSteps);
        return step_ >= kSteps ? 0 : kStepMs;
    }

private:
    int step_ = 0;
};

}  // namespace engine
