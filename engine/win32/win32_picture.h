// Pictures of the Windows engine: a 32-bit DIB section or an icon, loaded through
// WIC and saved as a real Windows bitmap file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/picture.h"
#include "engine/win32/handles.h"

namespace win32 {

class Win32Picture : public engine::Picture {
public:
    // A top-down 32-bit DIB section of that size, every pixel `fill` (a COLORREF);
    // raises 7 when Windows has no room for it.
    static std::shared_ptr<Win32Picture> NewBitmap(int width, int height, COLORREF fill = RGB(255, 255, 255));
    // An icon; an owned one is destroyed with the picture, a shared one is not.
    static std::shared_ptr<Win32Picture> FromIcon(HICON icon, int width, int height, bool owned);

    engine::PictureKind Kind() const override {
        return icon_ ? engine::PictureKind::Icon : engine::PictureKind::Bitmap;
    }
    engine::Dword Handle() const override;
    engine::Long PixelWidth() const override { return width_; }
    engine::Long PixelHeight() const override { return height_; }

    HBITMAP Bitmap() const { return bitmap_.get(); }
    // Rows top to bottom, 0x00RRGGBB in each pixel; only bitmaps have them.
    std::uint32_t* Bits() const { return bits_; }
    // A bitmap of the same pixels, drawn afresh for an icon.
    std::shared_ptr<Win32Picture> CopyAsBitmap() const;
    void Fill(COLORREF color);
    // The whole picture stretched onto that rectangle of dc.
    void StretchTo(HDC dc, int x, int y, int width, int height, DWORD rop = SRCCOPY) const;

private:
    Win32Picture() = default;
    void ShrinkTo(HDC dc, int x, int y, int width, int height) const;
    UniqueBitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    HICON icon_ = nullptr;
    UniqueIcon ownedIcon_;
    int width_ = 0;
    int height_ = 0;
};

// Raises 53 for a missing file and 481 for one WIC cannot decode (BMP, JPEG,
// GIF, PNG, ICO); the result is a bitmap, transparent parts laid on white.
engine::PicturePtr LoadPictureFile(const std::wstring& path);

// A 24-bit bottom-up bitmap file of the picture's own size, written beside the
// target and moved over it, so an old file stays whole when anything fails:
// raises 76 when the folder does not exist and 75 when the file cannot be written.
void SaveBitmapFile(const engine::Picture& picture, const std::wstring& path);

}  // namespace win32
