// The wallpaper Windows showed before Trevo first changed it in this log-on
// session: an Exit that brings the windows home puts it back too.
#pragma once

#include "app/session/session_state.h"
#include "engine/platform.h"

namespace trevo {

// Once a session: a later start, also after a crash, finds Trevo's own
// bitmap on the screen and must not take it for the user's.
void RememberWallpaperBefore(engine::Platform& platform, DesktopRecord& record);
// Nothing when none was remembered; a wallpaper put back is forgotten.
void PutBackWallpaperBefore(engine::Platform& platform, DesktopRecord& record);

}  // namespace trevo
