#include "engine/sim/monitors.h"

#include <algorithm>
#include <cstdint>

namespace sim {

namespace {
std::int64_t Overlap(const Rect& a, const Rect& b) {
    const std::int64_t w = std::min(a.right, b.right) - std::int64_t{std::max(a.left, b.left)};
    const std::int64_t h = std::min(a.bottom, b.bottom) - std::int64_t{std::max(a.top, b.top)};
    return w > 0 && h > 0 ? w * h : 0;
}

// The square of the distance between the closest points of two rectangles.
std::int64_t Gap(const Rect& a, const Rect& b) {
    const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t{b.left} - a.right, std::int64_t{a.left} - b.right});
    const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t{b.top} - a.bottom, std::int64_t{a.top} - b.bottom});
    return dx * dx + dy * dy;
}
}  // namespace

const Monitor* Monitors::ByHandle(Dword handle) const {
    if (handle < kFirstHandle || handle - kFirstHandle >= all_.size()) return nullptr;
    return &all_[handle - kFirstHandle];
}

const Monitor* Monitors::Under(const Rect& r) const {
    const Monitor* best = nullptr;
    std::int64_t bestOverlap = 0;
    for (const Monitor& m : all_)
        if (const std::int64_t o = Overlap(r, m.rect); o > bestOverlap) {
            best = &m;
            bestOverlap = o;
        }
    return best;
}

const Monitor& Monitors::Nearest(const Rect& r) const {
    if (const Monitor* under = Under(r)) return *under;
    const Monitor* best = &all_.front();
    for (const Monitor& m : all_)
        if (Gap(r, m.rect) < Gap(r, best->rect)) best = &m;
    return *best;
}

Rect Monitors::VirtualScreen() const {
    Rect v = all_.front().rect;
    for (const Monitor& m : all_)
        v = {std::min(v.left, m.rect.left), std::min(v.top, m.rect.top), std::max(v.right, m.rect.right),
             std::max(v.bottom, m.rect.bottom)};
    return v;
}

}  // namespace sim
