// Checks that the records and handles the program carries in 32-bit form
// reach Windows intact in this build, whatever its width.
#pragma once

#include "engine/win32/handles.h"
#include "engine/win32/win32_platform.h"

#include "report.h"

namespace libprobe {

void CheckWidths(Report& report, win32::Win32Platform& platform, HWND window);

}  // namespace libprobe
