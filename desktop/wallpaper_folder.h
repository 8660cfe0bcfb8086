// Where Trevo.bmp goes when the program folder refuses it: Trevo's folder in
// the user's own local application data.
#pragma once

#include "engine/platform.h"

namespace desktop {

// "...\AppData\Local\Trevo\", made when missing and ready for the "A" calls;
// "" when the system has no such folder (before Windows 2000), it cannot be
// made, or its name cannot be handed to them.
engine::String UserWallpaperFolder(engine::Platform& platform);

}  // namespace desktop
