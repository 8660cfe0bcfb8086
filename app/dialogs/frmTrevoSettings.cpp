// The controller and the Settings dialog: opening it from the icons' menu,
// OK's checks, its writing and the settings put in force at once, and Cancel.
#include "app/frmTrevo.h"

#include "lib/ansi_path.h"

namespace trevo {
using engine::String;

void FrmTrevo::SettingsClick() {
    if (selecting_) {  // opens once the running switch is done
        settingsHeld_ = true;
        return;
    }
    // One dialog at a time.
    if (form_.Visible()) {
        form_.BringToFront();
        return;
    }
    if (SettingsOpen()) {
        settings_->BringToFront();
        return;
    }
    if (!settings_) {
        settings_ = std::make_unique<SettingsDialog>(engine_);
        settings_->Ok = [this] { SettingsOk(); };
        settings_->Cancel = [this] { SettingsCancel(); };
    }
    settingsShown_ = CurrentEveryday(everyday_, *bas_.gcIni, bas_.IniPath());
    // The user presses the combinations in use into the dialog's controls:
    // while Trevo holds them, Windows would hand them to Trevo instead.
    hotkeys_.reset();
    settings_->Show(settingsShown_, texts_, StartsWithWindows());
}

void FrmTrevo::SettingsOk() {
    const EverydaySettings edited = settings_->Edited();
    if (const std::optional<Phrase> refusal = RefusalOf(edited)) {
        engine_.MsgBox(texts_.Say(*refusal), engine::kMbIconExclamation, u"Trevo");
        return;  // nothing written; the dialog stays with the user's values
    }
    {
        // A combination Windows takes from no program is refused before a
        // word is written; one another program holds is told after, as at a start.
        const HotkeyTable trial(engine_.platform(), form_.hWnd(), BindingsOf(edited), bas_.gcVer->IsNTAtLeast(6, 1));
        const auto [refused, error] = trial.RefusedOutright();
        if (refused) {
            const Phrase why(IDS_RULE_KEY_REFUSED_BY_WINDOWS,
                             {Phrase(IDS_WINDOWS_ERROR, {engine::DecimalText(error)})});
            engine_.MsgBox(texts_.Say(SettingRefused(u"Keys", refused->name, refused->text, why)),
                           engine::kMbIconExclamation, u"Trevo");
            return;
        }
    }
    if (!WriteEveryday(engine_.platform(), *bas_.gcIni, bas_.IniPath(), settingsShown_, edited)) {
        engine_.MsgBox(texts_.Say(Phrase(IDS_NOT_SAVED, {bas_.IniPath()})), engine::kMbIconError, u"");
        return;
    }
    PutInForce(everyday_, edited);
    settings_->Close();
    ApplyEveryday();
}

void FrmTrevo::SettingsCancel() {
    settings_->Close();
    ApplyEveryday();  // the keys back, as they were
}

void FrmTrevo::ApplyEveryday() {
    // As at a start: the keys registered (one another program holds is told),
    // the focus watch and the panel made where their options ask for them.
    StopEverydayInput();
    StartEverydayInput();
    if (everyday_.startWithWindows && !startWithWindows_)
        MakeStartWithWindows();
    else if (!everyday_.startWithWindows)
        startWithWindows_.reset();
    for (size_t i = 0; i < mDesks.size(); ++i) {
        if (!mDesks[i]) continue;
        mDesks[i]->Rename(everyday_.names[i]);
        mDesks[i]->OfferMenuEntries();
    }
}

void FrmTrevo::MakeStartWithWindows() {
    const String exe = lib::AnsiReadyPath(engine_.platform(), bas_.gAppPath + engine_.App().exeFile).value_or(String());
    startWithWindows_ = std::make_unique<StartWithWindows>(engine_, texts_, *bas_.gcIni, bas_.IniPath(), exe);
}

}  // namespace trevo
