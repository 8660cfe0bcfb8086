// Scales on the simulated Windows: Windows' rounding, a program's DPI awareness,
// and the pixels a program of each awareness sees of a monitor.
#pragma once

#include "engine/types.h"
#include "engine/win_constants.h"

namespace sim {

using engine::Dword;
using engine::Long;
using engine::Rect;

inline constexpr Dword kUnscaledDpi = 96;

// What a program (or one window of it) declared it knows of scale.
enum class Awareness { Unaware, System, PerMonitor, PerMonitorV2 };

struct WindowsVersion {
    Dword major = 6, minor = 1, build = 7601;
    bool AtLeast(Dword ma, Dword mi, Dword b = 0) const {
        if (major != ma) return major > ma;
        if (minor != mi) return minor > mi;
        return build >= b;
    }
    // Windows 8.1 gave each monitor a scale of its own; before, one scale served all.
    bool PerMonitorScales() const { return AtLeast(6, 3); }
};

// kernel32's MulDiv: a 64-bit product, rounded to the nearest, halves away
// from zero; -1 on overflow or for a divisor of 0.
Long MulDiv(Long number, Long numerator, Long denominator);

// The size of the notification area's icons (SM_CXSMICON) at a scale:
// 16 pixels at 96 DPI, scaled and rounded down to even.
Long SmallIconPixels(Dword dpi);

// How a program of one awareness sees the pixels of a monitor. Windows
// converts every rectangle and metric it hands over; a per-monitor program
// sees physical pixels. Rectangles are scaled coordinate by coordinate about
// the screen's origin: where Windows anchors a scaled rectangle is not
// documented, and this is the model's assumption.
class DpiView {
public:
    DpiView(Awareness declared, WindowsVersion version, Dword systemDpi)
        : awareness_(Effective(declared, version)), version_(version), systemDpi_(systemDpi) {}

    // Before 8.1 a program that declares per-monitor awareness is system aware.
    static Awareness Effective(Awareness declared, WindowsVersion version);
    Awareness awareness() const { return awareness_; }

    // The scale at which the program sees a monitor of that scale.
    Dword SeenDpi(Dword monitorDpi) const;
    Long ToProgram(Long physical, Dword monitorDpi) const {
        return MulDiv(physical, Long(SeenDpi(monitorDpi)), Long(monitorDpi));
    }
    Long ToScreen(Long seen, Dword monitorDpi) const {
        return MulDiv(seen, Long(monitorDpi), Long(SeenDpi(monitorDpi)));
    }
    Rect ToProgram(const Rect& physical, Dword monitorDpi) const;
    Rect ToScreen(const Rect& seen, Dword monitorDpi) const;

private:
    Awareness awareness_;
    WindowsVersion version_;
    Dword systemDpi_;
};

}  // namespace sim
