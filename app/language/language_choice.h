// [Options] Language: which language of the string tables Trevo speaks.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "app/settings/settings_check.h"
#include "engine/engine.h"

namespace trevo {

// The languages the string tables hold: each block's code ("en", "ja") and LANGID.
std::vector<std::pair<engine::String, std::uint16_t>> TableLanguages(engine::Engine& engine);

// Windows' display language where the tables hold it (its very form, else one
// of its family: Swiss German for German), else English.
std::uint16_t LanguageOfWindows(engine::Engine& engine);

// The language a value of [Options] Language chooses: nothing for none (the
// texts Trevo first had), Windows' for "auto", else the block of that code;
// raises BadSetting for any other value. Case does not matter.
std::optional<std::uint16_t> ChooseLanguage(engine::Engine& engine, const SettingPlace& place,
                                            const engine::String& value);

}  // namespace trevo
