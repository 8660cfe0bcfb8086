// Forms and controls of the Windows engine: top-level windows of a class of the
// program's own, and child windows of the standard control classes.
#pragma once

#include <memory>

#include "engine/peers.h"
#include "engine/win32/handles.h"
#include "engine/win32/win32_picture.h"

namespace win32 {

class Win32Engine;

inline constexpr wchar_t kFormClass[] = L"TrevoForm";
inline constexpr wchar_t kPictureClass[] = L"TrevoPicture";
inline constexpr wchar_t kOwnerClass[] = L"TrevoOwner";

void RegisterWindowClasses(HINSTANCE instance);
// A form with a dialog frame: its keys go through IsDialogMessage.
bool IsDialogForm(HWND hwnd);

class Win32FormPeer : public engine::FormPeer {
public:
    Win32FormPeer(Win32Engine& engine, const engine::FormDesign& design, engine::FormEvents& events);
    ~Win32FormPeer() override;
    Win32FormPeer(const Win32FormPeer&) = delete;
    Win32FormPeer& operator=(const Win32FormPeer&) = delete;

    engine::Hwnd hWnd() const override { return FromHwnd(window_.get()); }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    void BringToFront() override;
    void Move(double leftTwips, double topTwips) override;
    double Width() const override;
    double Height() const override;
    engine::PicturePtr Icon() const override { return icon_; }
    void RunModal(const std::function<bool()>& done) override;
    int TrackPopup(const std::vector<engine::String>& captions) override;
    std::unique_ptr<engine::ControlPeer> CreateControl(const engine::ControlDesign& design,
                                                       engine::ControlPeer* parent,
                                                       engine::ControlEvents& events) override;

    // The window procedure's work for this form.
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Windows has destroyed the window (with its owner, at the end).
    void WindowDestroyed() { window_.release(); }

private:
    engine::MouseArgs MouseArgsOf(WPARAM wParam, LPARAM lParam) const;
    void SaveFocus(HWND hwnd);
    void RestoreFocus(HWND hwnd);

    Win32Engine& engine_;
    engine::FormEvents& events_;
    bool dialog_;
    UniqueWindow window_;
    engine::PicturePtr icon_;
    HWND lastFocus_ = nullptr;  // the control to give the focus back to on activation
};

class Win32ControlPeer : public engine::ControlPeer {
public:
    Win32ControlPeer(Win32Engine& engine, HWND parent, const engine::ControlDesign& design,
                     engine::ControlEvents& events);
    ~Win32ControlPeer() override;
    Win32ControlPeer(const Win32ControlPeer&) = delete;
    Win32ControlPeer& operator=(const Win32ControlPeer&) = delete;

    engine::Hwnd hWnd() const override { return FromHwnd(window_.get()); }
    engine::String Text() const override;
    void SetText(const engine::String& text) override;
    engine::Long Value() const override;
    void SetValue(engine::Long value) override;
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
                      engine::Dword rop) override;
    void Refresh() override;
    engine::PicturePtr Image() const override;

    // Notifications the parent window receives for this control.
    void OnCommand(WORD code);
    void OnScroll(WORD code);
    HBRUSH OnColor(HDC dc) const;
    // Messages of the control's own window.
    void OnFocusLeft(HWND next);
    void OnFocusArrived();
    void WindowDestroyed() { window_.release(); }
    LRESULT HandlePicture(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Resize(int widthPixels, int heightPixels);
    void ResizeImage();
    RECT OuterRect() const;
    double Tx() const;
    double Ty() const;

    Win32Engine& engine_;
    engine::ControlDesign design_;
    engine::ControlEvents& events_;
    UniqueWindow window_;
    bool settingText_ = false;   // SetText at work: its EN_CHANGE is not the user's
    bool settingFocus_ = false;  // SetFocus at work
    bool autoRedraw_ = false;
    std::shared_ptr<Win32Picture> image_;  // a picture box's persistent image, its client size
};

}  // namespace win32
