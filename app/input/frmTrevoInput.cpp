// The controller's everyday ways in beside the icons: hotkeys, the focus watch,
// and sending and pinning the foreground window. Each reaches the one
// selection path (Choose), with its guard for the dialog and the yield.
#include "app/frmTrevo.h"

#include "lib/ClsKwVer.h"

namespace trevo {
using engine::Hwnd;
using engine::Long;

void FrmTrevo::StartEverydayInput() {
    engine::Platform& platform = engine_.platform();
    if (everyday_.followFocus) {
        seenForeground_ = ForegroundTopLevel();
        focusWatch_ =
            std::make_unique<FocusWatch>(platform, [this] { engine_.RunEvent([this] { ForegroundChanged(); }); });
    }
    if (!everyday_.keys.empty()) {
        const bool knowsNoRepeat = bas_.gcVer->IsNTAtLeast(6, 1);  // MOD_NOREPEAT came with Windows 7
        hotkeys_ = std::make_unique<HotkeyTable>(platform, form_.hWnd(), everyday_.keys, knowsNoRepeat);
        TellKeysNotTaken(engine_, texts_, hotkeys_->NotTaken());
    }
    // Made after the start's own selection, which it never names.
    if (everyday_.showDesktop) panel_ = std::make_unique<DesktopPanel>(engine_, texts_);
}

void FrmTrevo::StopEverydayInput() {
    focusWatch_.reset();
    hotkeys_.reset();
    panel_.reset();
}

Hwnd FrmTrevo::ForegroundTopLevel() {
    engine::Platform& platform = engine_.platform();
    return desktop::TopLevelOf(platform, platform.GetForegroundWindow());
}

desktop::Bands FrmTrevo::CurrentBands() const {
    return {screenLeft_, bas_.gScreenWidth, bas_.gOldDesk, bas_.gDeskCount};
}

void FrmTrevo::HotKeyPressed(Long id) {
    if (!hotkeys_ || form_.Visible()) return;  // the Properties dialog is open
    const KeyBinding* key = hotkeys_->Find(id);
    if (!key) return;
    // Next and Previous count from the desktop the last selection asked for,
    // also while one still runs.
    const Long from = heldSelection_ != 0 ? heldSelection_ : bas_.gNewDesk;
    switch (key->action) {
        case KeyAction::Desktop:
            if (key->desk <= bas_.gDeskCount) ChooseByKey(key->desk);
            break;
        case KeyAction::Next:
            if (from < bas_.gDeskCount) ChooseByKey(from + 1);
            break;
        case KeyAction::Previous:
            if (from > 1) ChooseByKey(from - 1);
            break;
        case KeyAction::Send: {
            const Long desk = key->desk;
            if (desk <= bas_.gDeskCount) OnWindowOfForeground([this, desk] { SendForeground(desk); });
            break;
        }
        case KeyAction::Pin:
            OnWindowOfForeground([this] { PinForeground(); });
            break;
    }
}

void FrmTrevo::ChooseByKey(Long desk) {
    // A key leaves the foreground where it was: it must not stay with a
    // window that the switch took off the screen.
    foregroundToScreen_ = true;
    tellDesktop_ = true;
    Choose(desk);
}

void FrmTrevo::OnWindowOfForeground(std::function<void()> action) {
    if (selecting_) {
        heldWindowAction_ = std::move(action);  // carried out when the selection is done
        return;
    }
    action();
}

void FrmTrevo::AfterSelection() {
    if (auto action = std::exchange(heldWindowAction_, nullptr); action && !form_.Visible()) action();
    // The switch's moves may have given the foreground to a window they took
    // off the screen: it goes back to the one the user chose.
    if (const Hwnd followed = std::exchange(followed_, 0)) engine_.platform().SetForegroundWindow(followed);
    if (std::exchange(foregroundToScreen_, false)) KeepForegroundOnScreen();
    if (focusWatch_) seenForeground_ = ForegroundTopLevel();
    // Last, once the foreground has settled: the panel goes to its monitor.
    const bool tell = std::exchange(tellDesktop_, false);
    if (!panel_) return;
    if (tell)
        panel_->Tell(bas_.gOldDesk, DesktopName(bas_.gOldDesk));
    else
        panel_->Seen(bas_.gOldDesk);
}

engine::String FrmTrevo::DesktopName(Long desk) const {
    return desk >= 1 && desk <= kMaxDesks ? everyday_.names[static_cast<size_t>(desk - 1)] : engine::String();
}

void FrmTrevo::KeepForegroundOnScreen() {
    engine::Platform& platform = engine_.platform();
    const Hwnd foreground = ForegroundTopLevel();
    if (foreground != 0 && !desktop::IsMovable(*bas_.gcWinInterface, platform, neverMove_, &pinned_, foreground))
        return;  // the task bar, a pinned window, Trevo's own: on the screen
    if (foreground != 0) {
        const std::optional<engine::Rect> where = desktop::WhereItLies(platform, *bas_.gcWinInterface, foreground);
        if (where && desktop::BandOffset(*where, CurrentBands()) == 0) return;
    }
    desktop::ForegroundToScreen(*bas_.gcWinInterface, platform, neverMove_, CurrentBands(), foreground);
}

void FrmTrevo::SendForeground(Long desk) {
    engine::Platform& platform = engine_.platform();
    const Hwnd window = ForegroundTopLevel();
    engine::Rect before;
    const bool known = platform.GetWindowRect(window, &before);
    if (!desktop::SendWindow(*bas_.gcWinInterface, platform, neverMove_, pinned_, window, desk, CurrentBands(),
                             everyday_.keepMinimised ? &minimised_ : nullptr))
        return;
    if (known) sizes_.Moved(platform, window, before, CurrentBands());
    KeepForegroundOnScreen();
    if (focusWatch_) seenForeground_ = ForegroundTopLevel();
}

void FrmTrevo::PinForeground() {
    const Hwnd window = ForegroundTopLevel();
    // A pinned window is asked without its pin, so that the same key unpins it.
    if (desktop::IsMovable(*bas_.gcWinInterface, engine_.platform(), neverMove_, nullptr, window))
        pinned_.Toggle(window);
}

void FrmTrevo::ForegroundChanged() {
    if (!form_.IsLoaded() || form_.Visible() || SettingsOpen() || selecting_ || !bas_.gcWinInterface) return;
    const Hwnd window = ForegroundTopLevel();
    if (window == seenForeground_) return;
    if (minimised_.HomeOf(window)) {
        // Kept minimised: restored, it goes into its desktop's band, and its
        // desktop comes.
        if (bas_.gcWinInterface->IsWindowStyle(window, engine::win::WS_MINIMIZE)) return;  // not restored yet
        seenForeground_ = window;
        const Long home = minimised_.Return(window, engine_.platform(), CurrentBands()).value_or(0);
        if (home == bas_.gOldDesk || home < 1 || home > bas_.gDeskCount) return;
        followed_ = window;
        tellDesktop_ = true;
        Choose(home);
        return;
    }
    seenForeground_ = window;
    const Long desk =
        desktop::OtherDesktopOf(*bas_.gcWinInterface, engine_.platform(), neverMove_, pinned_, window, CurrentBands());
    if (desk == 0) return;
    followed_ = window;
    tellDesktop_ = true;
    Choose(desk);
}

}  // namespace trevo
