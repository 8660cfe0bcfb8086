// Picture boxes: windows of the engine's own class that draw. Each keeps a
// persistent image of its client size, which its painting shows; drawing with
// AutoRedraw goes into the image, drawing without it onto the screen only.
#pragma once

#include <memory>

#include "engine/win32/win32_control.h"
#include "engine/win32/win32_picture.h"

namespace win32 {

class PictureBoxPeer final : public Win32ControlPeer {
public:
    using Win32ControlPeer::Win32ControlPeer;

    void SetAutoRedraw(bool on) override { autoRedraw_ = on; }
    void Cls() override;
    void PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                      engine::Dword rop) override;
    engine::PicturePtr Image() const override;

    // The window procedure's work for the picture box, the notifications of the
    // controls it holds already handed on.
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    ClassAndStyle Class() const override;
    void Prepare() override { ResizeImage(); }
    void Resized() override { ResizeImage(); }
    void ResizeImage();

    bool autoRedraw_ = false;
    std::shared_ptr<Win32Picture> image_;
};

}  // namespace win32
