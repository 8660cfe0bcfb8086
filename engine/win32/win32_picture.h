// Pictures of the Windows engine: a 32-bit DIB section or an icon, loaded through
// WIC and saved as a real Windows bitmap.
#pragma once

#include <memory>
#include <string>

#include "engine/picture.h"
#include "engine/win32/handles.h"

namespace win32 {

class Win32Picture : public engine::Picture {
public:
    // A top-down 32-bit DIB section of that size, white.
    static std::shared_ptr<Win32Picture> NewBitmap(int width, int height);
    // An icon; owned icons are destroyed with the picture, shared ones are not.
    static std::shared_ptr<Win32Picture> FromIcon(HICON icon, int width, int height, bool owned);

    engine::PictureKind Kind() const override { return icon_ ? engine::PictureKind::Icon : engine::PictureKind::Bitmap; }
    engine::Dword Handle() const override;
    engine::Long PixelWidth() const override { return width_; }
    engine::Long PixelHeight() const override { return height_; }

    HBITMAP Bitmap() const { return bitmap_.get(); }
    std::uint32_t* Bits() const { return bits_; }
    // The whole picture stretched onto the rectangle of dc.
    void StretchTo(HDC dc, int x, int y, int width, int height) const;

private:
    Win32Picture() = default;
    UniqueBitmap bitmap_;
    std::uint32_t* bits_ = nullptr;
    HICON icon_ = nullptr;
    UniqueIcon ownedIcon_;
    int width_ = 0;
    int height_ = 0;
};

// Raises 53 for a missing file and 481 for one WIC cannot decode.
engine::PicturePtr LoadPictureFile(const std::wstring& path);
// A 24-bit bottom-up bitmap file, written beside the target and moved over it;
// raises 75 when it cannot be written (an old file stays whole).
void SaveBitmapFile(const engine::Picture& picture, const std::wstring& path);

}  // namespace win32
