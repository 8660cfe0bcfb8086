// Which never-move section the running Windows reads, and in which order the
// desktops' icons are made there.
#pragma once

#include "engine/types.h"
#include "lib/ClsKwVer.h"

namespace trevo {

struct WindowsFamily {
    engine::String code;        // "XP", "2K", "98", or "" for a system with no section
    bool iconsFromTop = false;  // the highest desktop's icon is made first
};

WindowsFamily FamilyOf(const lib::ClsKwVer& ver);

}  // namespace trevo
