// Forms and controls of the simulated engine: windows of the simulated window
// manager, with the user's actions a test can take on them.
#pragma once

#include <memory>

#include "engine/peers.h"
#include "engine/sim/sim_picture.h"
#include "engine/sim/sim_world.h"

namespace sim {

class SimControlPeer;

class SimFormPeer : public engine::FormPeer {
public:
    SimFormPeer(World& world, const engine::FormDesign& design, engine::FormEvents& events);
    ~SimFormPeer() override;

    Hwnd hWnd() const override { return hwnd_; }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    void BringToFront() override;
    void SetCaption(const engine::String& caption) override;
    void Move(double leftTwips, double topTwips) override;
    double Width() const override;
    double Height() const override;
    engine::PicturePtr Icon() const override { return icon_; }
    void RunModal(const std::function<bool()>& done) override;
    int TrackPopup(const std::vector<engine::PopupEntry>& entries) override;
    std::unique_ptr<engine::ControlPeer> CreateControl(const engine::ControlDesign& design, engine::ControlPeer* parent,
                                                       engine::ControlEvents& events) override;

    // What the shell and the user do to the form.
    void DeliverMouseMove(const engine::MouseArgs& args) { events_.PeerMouseMove(args); }
    void DeliverCloseRequest() { events_.PeerCloseRequest(); }
    void DeliverShellRestarted() { events_.PeerShellRestarted(); }
    void DeliverSessionEnding() { events_.PeerSessionEnding(); }
    void DeliverDisplayChanged() { events_.PeerDisplayChanged(); }
    void DeliverHotKey(Long id) { events_.PeerHotKey(id); }
    // Enter and Esc in the form: the dialog manager presses its default or
    // its cancel button, wherever the focus is; a form without one hears nothing.
    void UserPressEnter();
    void UserPressEscape();
    const engine::FormDesign& Design() const { return design_; }
    int modalRuns = 0;
    // The user drags the form by its caption until its top-left corner is at
    // (x, y), in physical pixels. At a monitor of another scale a per-monitor
    // program's form is laid out again at that scale, as Windows does with a
    // per-monitor-v2 dialog, and the form hears it.
    void UserDragTo(Long x, Long y);

private:
    // WM_DPICHANGED: the form and every control on it laid out at the new scale.
    void LayOutAt(Dword dpi, const Rect& suggested);

    World& world_;
    engine::FormDesign design_;
    engine::FormEvents& events_;
    Hwnd hwnd_ = 0;
    engine::PicturePtr icon_;
};

class SimControlPeer : public engine::ControlPeer {
public:
    SimControlPeer(World& world, Hwnd parent, const engine::ControlDesign& design, engine::ControlEvents& events);
    ~SimControlPeer() override;

    Hwnd hWnd() const override { return hwnd_; }
    engine::String Text() const override;
    void SetText(const engine::String& text) override;
    Long Value() const override { return value_; }
    void SetValue(Long value) override { value_ = value; }
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    bool Visible() const override;
    void SetVisible(bool visible) override;
    void SetFocus() override;

    double Width() const override;
    double Height() const override;
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    void SetAutoRedraw(bool on) override { autoRedraw_ = on; }
    void Cls() override;
    void PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                      Dword rop) override;
    void Refresh() override { ++refreshes_; }
    engine::PicturePtr Image() const override;

    // What the user does: typing replaces the text, a click toggles a check box.
    void UserType(const engine::String& text);
    void UserClick();
    void UserScroll(Long value);
    void UserLeave();
    void DeliverLostFocus();
    void DeliverClick() { events_.PeerClick(); }
    // The user presses a combination in a hot-key control: HOTKEYF_ modifiers
    // (Win is not among them: the control never sees it) and a virtual key.
    void UserPressKeys(Dword modifiers, Dword key);

    const engine::ControlDesign& Design() const { return design_; }
    Hwnd Form() const { return form_; }
    // Lays the control out again from its design at its form's scale.
    void LayOut();
    const SimPicture& Canvas() const { return *canvas_; }
    bool AutoRedraw() const { return autoRedraw_; }
    int Refreshes() const { return refreshes_; }
    int PaintsOffImage() const { return paintsOffImage_; }

private:
    void ResizeCanvas(Long widthPx, Long heightPx);
    Long Border() const { return design_.border ? 1 : 0; }
    Rect PlacedRect() const;  // where its design and size put it now
    void FitCanvas();

    World& world_;
    engine::ControlDesign design_;
    engine::ControlEvents& events_;
    Hwnd parent_ = 0;
    Hwnd form_ = 0;
    double widthTwips_ = 0, heightTwips_ = 0;
    Hwnd hwnd_ = 0;
    Long value_ = 0;
    bool autoRedraw_ = false;
    int refreshes_ = 0;
    int paintsOffImage_ = 0;
    std::unique_ptr<SimPicture> canvas_;
};

}  // namespace sim
