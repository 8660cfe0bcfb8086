// The monitors of the simulated Windows, each with its own scale, the primary
// first; where a window lies decides the scale it takes.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "engine/sim/dpi_view.h"

namespace sim {

struct Monitor {
    Rect rect;  // physical pixels
    Dword dpi = kUnscaledDpi;
};

class Monitors {
public:
    explicit Monitors(std::vector<Monitor> all) : all_(std::move(all)) {}  // the primary first

    const std::vector<Monitor>& All() const { return all_; }
    const Monitor& Primary() const { return all_.front(); }
    // The monitor a rectangle takes its scale from: the one it overlaps most,
    // else the nearest. Which monitor's scale a window lying beside every
    // monitor takes is not documented: the nearest one is the model's assumption.
    const Monitor& Nearest(const Rect& r) const;
    // The smallest rectangle around every monitor.
    Rect VirtualScreen() const;
    void SetDpi(std::size_t monitor, Dword dpi) { all_.at(monitor).dpi = dpi; }

private:
    std::vector<Monitor> all_;
};

}  // namespace sim
