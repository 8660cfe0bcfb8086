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

    // Each monitor's HMONITOR, in the order of All(), and the monitor a
    // handle names (nullptr for none).
    static Dword HandleOf(std::size_t index) { return kFirstHandle + static_cast<Dword>(index); }
    Dword HandleOf(const Monitor& m) const { return HandleOf(static_cast<std::size_t>(&m - all_.data())); }
    const Monitor* ByHandle(Dword handle) const;
    // The monitor a rectangle overlaps most; nullptr when it overlaps none.
    const Monitor* Under(const Rect& r) const;
    void SetDpi(std::size_t monitor, Dword dpi) { all_.at(monitor).dpi = dpi; }

private:
    static constexpr Dword kFirstHandle = 0x00650001;
    std::vector<Monitor> all_;
};

}  // namespace sim
