// The walk over the top-level windows that a selection makes, with the reads
// Trevo's never-move patterns need.
#pragma once

#include <windows.h>

#include <vector>

namespace winbench {

// Which names of each visible window the walk reads: none (no never-move
// pattern), the title (what a title-and-class pattern that fails on the title
// needs), or both.
enum class NameReads { None, Title, TitleAndClass };

// The walk Trevo makes: from the top, one style read to see visibility, the
// names, then the maximise and minimise tests, each a style read of its own.
// Gives the visible windows; counts those Trevo would restore.
std::vector<HWND> WalkVisibleWindows(NameReads reads, size_t& restorable);

}  // namespace winbench
