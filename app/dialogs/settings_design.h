// The Settings dialog's form and every control on it.
#pragma once

#include "app/dialogs/settings_dialog.h"

namespace trevo {

engine::FormDesign SettingsFormDesign();
SettingsControls DeclareSettingsControls(engine::Form& form);

}  // namespace trevo
