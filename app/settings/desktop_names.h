// [Names]: each desktop's own name, shown in its icon's tip.
#pragma once

#include <array>

#include "app/BasTrevo.h"
#include "lib/ClsKwini.h"

namespace trevo {

// A name is cut to this many characters (UTF-16 units, never half a pair).
inline constexpr size_t kMaxNameLength = 24;

// A tab, a line break or another control character would break the tip's line.
bool HasControlCharacter(const engine::String& text);

// Desktop n's name is element n - 1, "" for none; raises BadSetting for a name
// with a control character.
std::array<engine::String, kMaxDesks> ReadDesktopNames(lib::ClsKwini& ini, const engine::String& iniPath,
                                                       bool fileExists);

}  // namespace trevo
