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

void RegisterWindowClasses(HINSTANCE instance);
// A visible form with a dialog frame, whose keys go through IsDialogMessage.
bool IsDialogForm(HWND hwnd);

class Win32FormPeer : public engine::FormPeer {
public:
    Win32FormPeer(Win32Engine& engine, const engine::FormDesign& design, engine::FormEvents& events);
    ~Win32FormPeer() override;

    engine::Hwnd hWnd() const override;
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

    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    Win32Engine& engine_;
    engine::FormEvents& events_;
    UniqueWindow window_;
    engine::PicturePtr icon_;
};

class Win32ControlPeer : public engine::ControlPeer {
public:
    Win32ControlPeer(Win32Engine& engine, HWND parent, const engine::ControlDesign& design,
                     engine::ControlEvents& events);
    ~Win32ControlPeer() override;

    engine::Hwnd hWnd() const override;
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

    // Notifications from the parent window (WM_COMMAND, WM_HSCROLL).
    void Command(WORD code);
    void Scroll(WORD code, WORD position);
    // The picture box's own window procedure.
    LRESULT HandlePicture(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void ResizeImage();
    double Tx() const;
    double Ty() const;

    Win32Engine& engine_;
    engine::ControlDesign design_;
    engine::ControlEvents& events_;
    UniqueWindow window_;
    bool settingText_ = false;
    bool autoRedraw_ = false;
    std::shared_ptr<Win32Picture> image_;  // the picture box's persistent image
};

}  // namespace win32
