// The tip of a desktop's icon: the version, the desktop's number, its name when
// it has one, and " Active" on the active desktop.
#pragma once

#include "engine/engine.h"

namespace desktop {

// The original record holds 63 bytes of tip and its NUL.
inline constexpr size_t kTipBytes = 63;

// The name gives way, whole characters at a time, until the tip fits in
// kTipBytes of the ANSI code page; the number and " Active" always stay.
engine::String TrayTip(const engine::Platform& platform, const engine::AppInfo& app, engine::Long number,
                       const engine::String& name, bool active);

}  // namespace desktop
