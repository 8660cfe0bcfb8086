// Windows 11 puts the icons of a newly started program behind the ^ of the task
// bar, where a user may never look. Trevo says once, in a notification from
// desktop 1's icon, where they are and how to keep them in view.
#pragma once

#include "app/language/texts.h"
#include "desktop/frmTrevoTray.h"
#include "lib/ClsKwVer.h"

namespace trevo {

// Windows 11: version 10.0 from build 22000 on (and any later version).
bool HidesNewIcons(const lib::ClsKwVer& version);

// On such a Windows, at the first start, the notification from the icon of
// desktop 1; remembered beside the keys' note, so that later starts say
// nothing. A registry that refuses the mark costs only that: the
// notification comes again at the next start.
void HintWhereIconsAre(engine::Platform& platform, const Texts& texts, const lib::ClsKwVer& version,
                       desktop::FrmTrevoTray& first);

}  // namespace trevo
