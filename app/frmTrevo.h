// The controller: start-up, the choice of the active desktop, shut-down, and the
// Properties dialog, which is this same form shown.
#pragma once

#include <memory>
#include <vector>

#include "app/BasTrevo.h"
#include "app/input/desktop_panel.h"
#include "app/input/focus_watch.h"
#include "app/input/hotkeys.h"
#include "app/settings/keys_and_options.h"
#include "app/dialogs/frmTrevoDesign.h"
#include "app/dialogs/settings_dialog.h"
#include "app/session/session_state.h"
#include "app/session/start_with_windows.h"
#include "app/language/texts.h"
#include "app/settings/settings_check.h"
#include "desktop/controller.h"
#include "desktop/desktop_count.h"
#include "desktop/frmTrevoTray.h"
#include "desktop/minimised_windows.h"
#include "desktop/window_sizes.h"
#include "desktop/never_move.h"
#include "desktop/window_send.h"
#include "engine/forms.h"

namespace trevo {

class FrmTrevo : public desktop::Controller {
public:
    explicit FrmTrevo(engine::Engine& engine);
    FrmTrevo(const FrmTrevo&) = delete;
    FrmTrevo& operator=(const FrmTrevo&) = delete;
    ~FrmTrevo();

    void CloseAll() override;
    void PropertiesClick() override;
    void TrayLClick(engine::Long desk) override;
    bool OffersStartWithWindows() const override { return startWithWindows_ != nullptr; }
    bool StartsWithWindows() override;
    void StartWithWindowsClick() override;
    engine::String MenuCaption(desktop::MenuEntry entry) const override;
    bool OffersSettings() const override { return offersSettings_; }
    void SettingsClick() override;

    engine::Form& form() { return form_; }
    BasTrevo& bas() { return bas_; }
    const TrevoDialog& dialog() const { return dlg_; }
    const Texts& texts() const { return texts_; }
    // Null until the Settings dialog was first opened.
    SettingsDialog* settings() const { return settings_.get(); }
    // Desktop n is element n - 1; empty after Exit.
    desktop::FrmTrevoTray* desk(engine::Long n) const;
    engine::Long DeskSlots() const { return static_cast<engine::Long>(mDesks.size()); }

private:
    void Form_Load();
    void CreateSupportObjects();
    // The texts in the language Trevo.ini asks for, read now if the start has
    // not come to it (a setting before it stopped the start).
    Texts SettledTexts();
    void ReadNeverMoveList(const engine::String& familyCode);
    void Gather();
    // Every window beside the screen onto it, at its place within its desktop.
    void GatherOntoScreen();
    void BringEveryWindowHome();
    void FinishMoveUnderWay();
    void BringBackDesktopOne();
    // Keeps the record with the windows through a shift to desktop `to`.
    desktop::ShiftWitness RecordWitness(engine::Long to, engine::Long width);
    void StartUp();
    engine::Long DesktopWidth();
    void Adopt(const StartSettings& settings);
    void FillDialog(const StartSettings& settings);
    void CreateDesktops(bool iconsFromTop);
    void SessionEnding();
    void Choose(engine::Long desk);
    // Runs the step, then what came meanwhile: settings to apply, the last click.
    void WhileSelecting(const std::function<void()>& step);
    void Form_Unload();
    void Select(engine::Long desk);
    // What a desktop needs to become the active one, from the active one now.
    desktop::SwitchOrder OrderTo(engine::Long desk);
    void AfterSelection();
    void RunHeldMenuChoice();

    // [Options] ApplyAtOnce (apply_at_once.cpp): Trevo.ini as Properties' OK
    // wrote it, in force without a new start.
    void ApplyWrittenSettings();
    void ChangeDeskCount(engine::Long count);
    // Every window beyond desktop `change.lastKept` joins it, and desktop
    // `change.active` comes onto the screen, the record kept with them.
    void MoveForCount(const desktop::Bands& now, const desktop::CountChange& change);

    // Keys, the foreground and windows chosen by hand (frmTrevoInput.cpp).
    void StartEverydayInput();
    void StopEverydayInput();
    void HotKeyPressed(engine::Long id);
    void ChooseByKey(engine::Long desk);
    void OnWindowOfForeground(std::function<void()> action);
    void SendForeground(engine::Long desk);
    void PinForeground();
    void ForegroundChanged();
    void KeepForegroundOnScreen();
    engine::Hwnd ForegroundTopLevel();
    desktop::Bands CurrentBands() const;
    engine::String DesktopName(engine::Long desk) const;  // "" for none

    // The Settings dialog's OK and Cancel, and the settings put in force (frmTrevoSettings.cpp).
    bool SettingsOpen() const { return settings_ && settings_->Open(); }
    void SettingsOk();
    void SettingsCancel();
    void ApplyEveryday();
    void MakeStartWithWindows();

    // The dialog's own handling of its controls.
    void CountChanged();
    void SelectPanel(int n);
    void WallpaperTextChanged(int i);
    void SizeRuleChanged();
    void PaintPreview(int i, const engine::String& path);
    void ChoosePicture(int i);
    void WidthLeft();
    void HeightLeft();
    void Commit();
    void Cancel();

    engine::Engine& engine_;
    BasTrevo bas_;
    Texts texts_;
    bool textsSettled_ = false;  // [Options] Language has been read
    engine::Form form_;
    TrevoDialog dlg_;
    std::vector<std::unique_ptr<desktop::FrmTrevoTray>> mDesks;
    // Closed desktops stay in memory until the controller goes: the Exit that
    // closed them may still be running inside one of them.
    std::vector<std::unique_ptr<desktop::FrmTrevoTray>> closedDesks_;
    std::vector<desktop::NeverMoveRule> neverMove_;
    std::unique_ptr<SessionLock> lock_;
    std::unique_ptr<DesktopRecord> record_;
    // While Trevo.ini names the option.
    std::unique_ptr<StartWithWindows> startWithWindows_;
    engine::Long screenLeft_ = 0;  // the left edge of every monitor together
    KeysAndOptions everyday_;
    std::unique_ptr<HotkeyTable> hotkeys_;
    std::unique_ptr<FocusWatch> focusWatch_;
    desktop::PinnedWindows pinned_;
    desktop::MinimisedWindows minimised_;
    desktop::WindowSizes sizes_;
    engine::Hwnd followed_ = 0;  // the window whose desktop the focus watch asked for
    // The foreground as the last selection left it, or as last looked at: the
    // focus watch acts on a change only, never on what Trevo's own switch did.
    engine::Hwnd seenForeground_ = 0;
    bool foregroundToScreen_ = false;         // a key asked for the selection
    // [Options] ShowDesktop: the panel, and whether the running selection was
    // asked for by a key or the followed foreground, which it then names.
    std::unique_ptr<DesktopPanel> panel_;
    bool tellDesktop_ = false;
    std::function<void()> heldWindowAction_;  // a Send or Pin that came while a selection ran
    bool selecting_ = false;
    engine::Long heldSelection_ = 0;  // a click that came while a selection ran
    // Menu entries chosen while a selection ran, carried out after it.
    bool exitHeld_ = false;
    bool propertiesHeld_ = false;
    bool applyHeld_ = false;  // OK asked for its settings at once
    bool settingsHeld_ = false;
    // [Keys], [Options] or [Names] in Trevo.ini: the menu offers the Settings dialog.
    bool offersSettings_ = false;
    std::unique_ptr<SettingsDialog> settings_;
    EverydaySettings settingsShown_;  // what the Settings dialog opened with
};

}  // namespace trevo
