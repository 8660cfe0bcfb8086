// The controller form's design: the Properties dialog and every control on it.
#pragma once

#include <array>

#include "app/language/texts.h"
#include "engine/forms.h"

namespace trevo {

struct TrevoDialog {
    engine::Label* lblDesktops = nullptr;
    engine::HScrollBar* HScr = nullptr;
    engine::TextBox* txtDesktops = nullptr;
    engine::Label* lblWallpaper = nullptr;
    std::array<engine::OptionButton*, 5> optNumber{};
    std::array<engine::PictureBox*, 5> Container{};
    std::array<engine::TextBox*, 5> txtWallpaper{};
    std::array<engine::CommandButton*, 5> cmdView{};
    std::array<engine::PictureBox*, 5> Preview{};
    engine::CheckBox* chkSize = nullptr;
    engine::TextBox* txtWidth = nullptr;
    std::array<engine::Label*, 2> lblInfo{};
    engine::TextBox* txtHeight = nullptr;
    engine::CommandButton* cmdOk = nullptr;
    engine::CommandButton* cmdCancel = nullptr;
};

engine::FormDesign TrevoFormDesign();
// Declares every control of the dialog on the form and returns them.
TrevoDialog DeclareTrevoDialog(engine::Form& form);
// The dialog's caption and its controls' texts in the user's language; the
// numbers, "..." and "x" are the same in every one.
void ShowDialogTexts(engine::Form& form, const TrevoDialog& dialog, const Texts& texts);

}  // namespace trevo
