// The controls of the Windows engine: child windows of the standard control
// classes, and of the picture box's own class. Each kind of control has a peer
// class of its own (control_kinds.h, picture_box.h); what they share is here.
#pragma once

#include <memory>

#include "engine/peers.h"
#include "engine/win32/focus.h"
#include "engine/win32/window_peer.h"

namespace win32 {

class Win32Engine;
class Win32Picture;

class Win32ControlPeer : public engine::ControlPeer, public WindowPeer {
public:
    Win32ControlPeer(Win32Engine& engine, const engine::ControlDesign& design, engine::ControlEvents& events);

    engine::Hwnd hWnd() const override { return FromHwnd(Window()); }
    engine::String Text() const override;
    void SetText(const engine::String& text) override;
    engine::Long Value() const override { return 0; }
    void SetValue(engine::Long) override {}
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
    void Refresh() override;
    // Only picture boxes draw.
    void SetAutoRedraw(bool) override {}
    void Cls() override {}
    void PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                      engine::Dword rop) override;
    engine::PicturePtr Image() const override;

    // Notifications the parent window receives for this control.
    virtual void OnCommand(WORD) {}
    virtual void OnScroll(WORD) {}
    virtual HBRUSH OnColor(HDC) const { return nullptr; }
    // Focus messages of the control's own window.
    void OnFocusLeft(HWND next);
    virtual void OnFocusArrived() {}

protected:
    struct ClassAndStyle {
        const wchar_t* className;
        DWORD style;  // besides WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS
        DWORD exStyle;
        bool ownClass = false;  // a class of the engine's, whose procedure adopts the window
    };
    virtual ClassAndStyle Class() const = 0;
    // The kind's own set-up, once the window stands in the tab order.
    virtual void Prepare() {}
    // The control's number among its siblings (0: none of its own).
    virtual UINT_PTR Id() const { return 0; }
    // SetWidth or SetHeight has changed the window's size.
    virtual void Resized() {}

    const engine::ControlDesign& design() const { return design_; }
    engine::ControlEvents& events() const { return events_; }
    const ControlFocus& focus() const { return focus_; }
    double Tx() const;
    double Ty() const;
    // Labels, check boxes and option buttons stand on the button face.
    HBRUSH ButtonFaceColors(HDC dc) const;
    // The engine's own picture behind a picture; raises 481 for any other.
    static const Win32Picture& Drawable(const engine::Picture& picture);

private:
    friend std::unique_ptr<engine::ControlPeer> MakeControlPeer(Win32Engine&, HWND, const engine::ControlDesign&,
                                                                engine::ControlEvents&);
    void Create(HWND parent);
    void TakeTabPlace(HWND parent);
    RECT OuterRect() const;
    void Resize(int widthPixels, int heightPixels);

    Win32Engine& engine_;
    engine::ControlDesign design_;
    engine::ControlEvents& events_;
    ControlFocus focus_;
    HWND form_ = nullptr;  // the form the control stands on, whose scale it takes
};

// The peer of a control of that design, its window made a child of `parent`.
std::unique_ptr<engine::ControlPeer> MakeControlPeer(Win32Engine& engine, HWND parent,
                                                     const engine::ControlDesign& design,
                                                     engine::ControlEvents& events);

}  // namespace win32
