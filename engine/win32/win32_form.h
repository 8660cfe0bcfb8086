// The forms of the Windows engine: top-level windows of a class of the
// program's own. A form with a dialog frame is a dialog: its keys go through
// IsDialogMessage, and it keeps the focus of its controls.
#pragma once

#include <memory>

#include "engine/peers.h"
#include "engine/win32/focus.h"
#include "engine/win32/window_peer.h"

namespace win32 {

class Win32Engine;

bool IsDialogForm(HWND hwnd);

class Win32FormPeer final : public engine::FormPeer, public WindowPeer {
public:
    Win32FormPeer(Win32Engine& engine, const engine::FormDesign& design, engine::FormEvents& events);

    engine::Hwnd hWnd() const override { return FromHwnd(Window()); }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    void BringToFront() override;
    void SetCaption(const engine::String& caption) override;
    void Move(double leftTwips, double topTwips) override;
    double Width() const override;
    double Height() const override;
    engine::PicturePtr Icon() const override;
    void RunModal(const std::function<bool()>& done) override;
    int TrackPopup(const std::vector<engine::PopupEntry>& entries) override;
    std::unique_ptr<engine::ControlPeer> CreateControl(const engine::ControlDesign& design, engine::ControlPeer* parent,
                                                       engine::ControlEvents& events) override;

    // The window procedure's work for this form, its controls' notifications
    // already handed on.
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    engine::MouseArgs MouseArgsOf(WPARAM wParam, LPARAM lParam) const;
    HICON LoadFormIcon(int size) const;
    // Only a frame that is shown needs its icons; a form that never shows loads
    // at most the small one, which its notification-area icon may borrow.
    void GiveFrameIcons();
    // Windows moved the form to a monitor of another scale.
    void TakeScale(UINT dpi, const RECT& suggested);

    Win32Engine& engine_;
    engine::FormEvents& events_;
    bool dialog_;
    FormFocus focus_;
    engine::Long iconResource_;
    bool frameIcons_ = false;
    UINT dpi_ = 0;  // the scale its controls are laid out at
    mutable engine::PicturePtr icon_;  // the small icon, loaded at first use
};

}  // namespace win32
