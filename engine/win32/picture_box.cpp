#include "engine/win32/picture_box.h"

#include <algorithm>

#include "engine/error.h"
#include "engine/win32/win32_engine.h"
#include "engine/win32/window_procedures.h"

namespace win32 {

namespace {

// The pixels of the system's window background in a persistent image.
COLORREF WindowBackground() { return ::GetSysColor(COLOR_WINDOW); }

}  // namespace

Win32ControlPeer::ClassAndStyle PictureBoxPeer::Class() const {
    return {kPictureClass, WS_GROUP | WS_CLIPCHILDREN | (design().border ? WS_BORDER : 0u), WS_EX_CONTROLPARENT, true};
}

// The persistent image follows the client size; what was drawn stays in place.
void PictureBoxPeer::ResizeImage() {
    RECT r{};
    ::GetClientRect(Window(), &r);
    const int w = std::max<int>(1, r.right), h = std::max<int>(1, r.bottom);
    if (image_ && image_->PixelWidth() == w && image_->PixelHeight() == h) return;
    auto next = Win32Picture::NewBitmap(w, h, WindowBackground());
    if (image_) {
        ::GdiFlush();
        const int keepW = std::min<int>(w, image_->PixelWidth()), keepH = std::min<int>(h, image_->PixelHeight());
        for (int y = 0; y < keepH; ++y) {
            const std::uint32_t* from = image_->Bits() + static_cast<size_t>(y) * image_->PixelWidth();
            std::copy(from, from + keepW, next->Bits() + static_cast<size_t>(y) * w);
        }
    }
    image_ = std::move(next);
    ::InvalidateRect(Window(), nullptr, FALSE);
}

void PictureBoxPeer::Cls() {
    if (!image_) return;
    // Drawing made without AutoRedraw lives only on the screen: a repaint from the
    // persistent image clears it. With AutoRedraw the image itself is cleared.
    if (autoRedraw_) image_->Fill(WindowBackground());
    ::InvalidateRect(Window(), nullptr, FALSE);
}

void PictureBoxPeer::PaintPicture(const engine::Picture& picture, double x, double y, double width, double height,
                                  engine::Dword rop) {
    const Win32Picture& source = Drawable(picture);
    if (!image_) engine::Raise(engine::err::kInvalidCall);
    const int px = Pixels(x, Tx()), py = Pixels(y, Ty()), pw = Pixels(width, Tx()), ph = Pixels(height, Ty());
    if (autoRedraw_) {
        UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        if (!dc) engine::Raise(engine::err::kOutOfMemory);
        {
            Selection selected(dc.get(), image_->Bitmap());
            source.StretchTo(dc.get(), px, py, pw, ph, rop);
        }
        ::GdiFlush();
        ::InvalidateRect(Window(), nullptr, FALSE);
    } else {
        WindowDc dc(Window());
        source.StretchTo(dc.get(), px, py, pw, ph, rop);
    }
}

engine::PicturePtr PictureBoxPeer::Image() const {
    if (!image_) engine::Raise(engine::err::kInvalidCall);
    return image_->CopyAsBitmap();
}

LRESULT PictureBoxPeer::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the persistent image covers the whole client area
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(hwnd, &ps);
            if (image_) {
                UniqueMemoryDc source(::CreateCompatibleDC(dc));
                if (source) {
                    Selection selected(source.get(), image_->Bitmap());
                    ::BitBlt(dc, 0, 0, image_->PixelWidth(), image_->PixelHeight(), source.get(), 0, 0, SRCCOPY);
                }
            }
            ::EndPaint(hwnd, &ps);
            return 0;
        }
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32
