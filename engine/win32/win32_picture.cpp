#include "engine/win32/win32_picture.h"

#include <wincodec.h>

#include <vector>

#include "engine/error.h"

namespace win32 {

std::shared_ptr<Win32Picture> Win32Picture::NewBitmap(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) engine::Raise(engine::err::kOutOfMemory);
    std::shared_ptr<Win32Picture> p(new Win32Picture());
    p->bitmap_.reset(bitmap);
    p->bits_ = static_cast<std::uint32_t*>(bits);
    p->width_ = width;
    p->height_ = height;
    std::fill(p->bits_, p->bits_ + static_cast<size_t>(width) * height, 0xFFFFFFFFu);
    return p;
}

std::shared_ptr<Win32Picture> Win32Picture::FromIcon(HICON icon, int width, int height, bool owned) {
    std::shared_ptr<Win32Picture> p(new Win32Picture());
    p->icon_ = icon;
    if (owned) p->ownedIcon_.reset(icon);
    p->width_ = width;
    p->height_ = height;
    return p;
}

engine::Dword Win32Picture::Handle() const {
    const void* h = icon_ ? static_cast<const void*>(icon_) : static_cast<const void*>(bitmap_.get());
    return static_cast<engine::Dword>(reinterpret_cast<UINT_PTR>(h));
}

void Win32Picture::StretchTo(HDC dc, int x, int y, int width, int height) const {
    if (icon_) {
        ::DrawIconEx(dc, x, y, icon_, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    UniqueDc source(::CreateCompatibleDC(dc));
    Selection selected(source.get(), bitmap_.get());
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, x, y, width, height, source.get(), 0, 0, width_, height_, SRCCOPY);
}

engine::PicturePtr LoadPictureFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        engine::Raise(engine::err::kFileNotFound);
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.put()))))
        engine::Raise(engine::err::kInvalidPicture);
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICBitmapSource> converted;
    UINT width = 0, height = 0;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) ||
        FAILED(::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.put())) ||
        FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > 32768 || height > 32768)
        engine::Raise(engine::err::kInvalidPicture);
    auto picture = Win32Picture::NewBitmap(static_cast<int>(width), static_cast<int>(height));
    if (FAILED(converted->CopyPixels(nullptr, width * 4, width * height * 4, reinterpret_cast<BYTE*>(picture->Bits()))))
        engine::Raise(engine::err::kInvalidPicture);
    // Transparent parts show white, as on the system's window background.
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        std::uint32_t& px = picture->Bits()[i];
        const std::uint32_t a = px >> 24;
        if (a == 255) continue;
        auto blend = [a](std::uint32_t c) { return (c * a + 255 * (255 - a)) / 255; };
        px = 0xFF000000u | (blend((px >> 16) & 0xFF) << 16) | (blend((px >> 8) & 0xFF) << 8) | blend(px & 0xFF);
    }
    return picture;
}

void SaveBitmapFile(const engine::Picture& picture, const std::wstring& path) {
    const int width = picture.PixelWidth(), height = picture.PixelHeight();
    const auto* source = dynamic_cast<const Win32Picture*>(&picture);
    if (!source || width <= 0 || height <= 0) engine::Raise(engine::err::kInvalidPicture);
    // Render onto a plain bitmap first, so icons are saved as bitmaps too.
    auto canvas = Win32Picture::NewBitmap(width, height);
    {
        UniqueDc dc(::CreateCompatibleDC(nullptr));
        Selection selected(dc.get(), canvas->Bitmap());
        source->StretchTo(dc.get(), 0, 0, width, height);
    }
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        BYTE* row = pixels.data() + static_cast<size_t>(height - 1 - y) * stride;  // bottom-up
        for (int x = 0; x < width; ++x) {
            const std::uint32_t px = canvas->Bits()[static_cast<size_t>(y) * width + x];
            row[x * 3] = static_cast<BYTE>(px);
            row[x * 3 + 1] = static_cast<BYTE>(px >> 8);
            row[x * 3 + 2] = static_cast<BYTE>(px >> 16);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    const std::wstring temp = path + L".trevo-write";
    {
        UniqueFile out(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) engine::Raise(75);
        DWORD written = 0;
        const bool ok = ::WriteFile(out.get(), &file, sizeof(file), &written, nullptr) &&
                        ::WriteFile(out.get(), &info, sizeof(info), &written, nullptr) &&
                        ::WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
                        ::FlushFileBuffers(out.get());
        if (!ok) {
            ::DeleteFileW(temp.c_str());
            engine::Raise(75);
        }
    }
    if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temp.c_str());
        engine::Raise(75);
    }
}

}  // namespace win32
