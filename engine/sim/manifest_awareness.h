// The DPI awareness a program's manifest gives it, read the way each Windows
// reads it.
#pragma once

#include <string_view>

#include "engine/sim/dpi_view.h"

namespace sim {

// From Windows 10 1607 on, dpiAwareness decides when it is there (its first
// entry this Windows knows; none known: unaware) and dpiAware is ignored;
// before, dpiAware decides ("true" system aware, "true/pm" and "per monitor"
// per-monitor from 8.1 on, and before that system aware and unaware). Neither
// element: unaware.
Awareness ManifestAwareness(std::string_view manifest, WindowsVersion version);

}  // namespace sim
