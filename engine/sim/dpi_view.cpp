#include "engine/sim/dpi_view.h"

#include <cstdint>
#include <limits>

namespace sim {

Long MulDiv(Long number, Long numerator, Long denominator) {
    if (denominator == 0) return -1;
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
    if (result > std::numeric_limits<Long>::max() || result < -std::numeric_limits<Long>::max()) return -1;
    return static_cast<Long>(result);
}

Long SmallIconPixels(Dword dpi) { return MulDiv(16, Long(dpi), Long(kUnscaledDpi)) & ~Long{1}; }

Awareness DpiView::Effective(Awareness declared, WindowsVersion version) {
    if (declared == Awareness::Unaware || declared == Awareness::System) return declared;
    if (!version.PerMonitorScales()) return Awareness::System;
    // Per-monitor v2 came with Windows 10 1703; a program cannot ask for it before.
    if (declared == Awareness::PerMonitorV2 && !version.AtLeast(10, 0, 15063)) return Awareness::PerMonitor;
    return declared;
}

Dword DpiView::SeenDpi(Dword monitorDpi) const {
    switch (awareness_) {
        case Awareness::PerMonitor:
        case Awareness::PerMonitorV2:
            return monitorDpi;
        case Awareness::System:
            return systemDpi_;
        case Awareness::Unaware:
            break;
    }
    // Windows stretches an unaware program from Vista on; Vista, 7 and 8 use
    // the XP-style scaling below 150 %, where every program sees physical pixels.
    if (!version_.AtLeast(6, 0)) return monitorDpi;
    if (!version_.PerMonitorScales() && monitorDpi < 144) return monitorDpi;
    return kUnscaledDpi;
}

Rect DpiView::ToProgram(const Rect& physical, Dword monitorDpi) const {
    return {ToProgram(physical.left, monitorDpi), ToProgram(physical.top, monitorDpi),
            ToProgram(physical.right, monitorDpi), ToProgram(physical.bottom, monitorDpi)};
}

Rect DpiView::ToScreen(const Rect& seen, Dword monitorDpi) const {
    return {ToScreen(seen.left, monitorDpi), ToScreen(seen.top, monitorDpi), ToScreen(seen.right, monitorDpi),
            ToScreen(seen.bottom, monitorDpi)};
}

}  // namespace sim
