// Paths for the "A" calls: every settings, bitmap and wallpaper call passes its
// path through the ANSI code page, which cannot spell every name.
#pragma once

#include <optional>

#include "engine/platform.h"

namespace lib {

// The path itself where the code page spells it exactly, else its short (8.3)
// form where that one is spelled (it is plain ASCII); nothing when neither is,
// as on a volume without short names. Never a best fit: "cafe" for "café"
// names another folder.
std::optional<engine::String> AnsiReadyPath(engine::Platform& platform, const engine::String& path);

}  // namespace lib
