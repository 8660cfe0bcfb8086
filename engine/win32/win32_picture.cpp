#include "engine/win32/win32_picture.h"

#include <wincodec.h>

#include <algorithm>
#include <new>
#include <vector>

#include "engine/error.h"
#include "engine/shrink.h"
#include "engine/win32/late_libraries.h"

namespace win32 {

namespace {

// Larger pictures are refused as the picture boxes refuse such sizes.
constexpr UINT kMaxPictureSide = 16384;

std::uint32_t PixelOf(COLORREF color) {
    return (static_cast<std::uint32_t>(GetRValue(color)) << 16) | (static_cast<std::uint32_t>(GetGValue(color)) << 8) |
           GetBValue(color);
}

// 32 bits a pixel, row 0 first in memory.
BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

std::shared_ptr<Win32Picture> Win32Picture::NewBitmap(int width, int height, COLORREF fill) {
    if (width <= 0 || height <= 0) engine::Raise(engine::err::kInvalidPicture);
    const BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) ::DeleteObject(bitmap);
        engine::Raise(engine::err::kOutOfMemory);
    }
    std::shared_ptr<Win32Picture> picture(new Win32Picture());
    picture->bitmap_.reset(bitmap);
    picture->bits_ = static_cast<std::uint32_t*>(bits);
    picture->width_ = width;
    picture->height_ = height;
    picture->Fill(fill);
    return picture;
}

std::shared_ptr<Win32Picture> Win32Picture::FromIcon(HICON icon, int width, int height, bool owned) {
    std::shared_ptr<Win32Picture> picture(new Win32Picture());
    picture->icon_ = icon;
    if (owned) picture->ownedIcon_.reset(icon);
    picture->width_ = width;
    picture->height_ = height;
    return picture;
}

engine::Dword Win32Picture::Handle() const {
    return icon_ ? HandleTo32(icon_) : HandleTo32(bitmap_.get());
}

void Win32Picture::Fill(COLORREF color) {
    if (!bits_) return;
    ::GdiFlush();  // drawing still queued for the section would land after the fill
    std::fill(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_), PixelOf(color));
}

std::shared_ptr<Win32Picture> Win32Picture::CopyAsBitmap() const {
    auto copy = NewBitmap(width_, height_);
    if (bits_) {
        ::GdiFlush();
        std::copy(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_), copy->bits_);
        return copy;
    }
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) engine::Raise(engine::err::kOutOfMemory);
    {
        Selection selected(dc.get(), copy->Bitmap());
        StretchTo(dc.get(), 0, 0, width_, height_);
    }
    ::GdiFlush();
    return copy;
}

void Win32Picture::StretchTo(HDC dc, int x, int y, int width, int height, DWORD rop) const {
    if (icon_) {
        ::DrawIconEx(dc, x, y, icon_, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    const bool shrinks =
        width > 0 && height > 0 && width <= width_ && height <= height_ && (width < width_ || height < height_);
    if (bits_ && shrinks && rop == SRCCOPY) {
        // A photo made into a wallpaper: averaged here, in one pass over its
        // pixels, rather than by the system's halftone stretch, which costs many
        // times as much for the same picture.
        ShrinkTo(dc, x, y, width, height);
        return;
    }
    UniqueMemoryDc source(::CreateCompatibleDC(dc));
    if (!source) engine::Raise(engine::err::kOutOfMemory);
    Selection selected(source.get(), bitmap_.get());
    const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin{};
    ::SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // HALFTONE wants the origin set after the mode
    ::StretchBlt(dc, x, y, width, height, source.get(), 0, 0, width_, height_, rop);
    ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode) ::SetStretchBltMode(dc, oldMode);
}

void Win32Picture::ShrinkTo(HDC dc, int x, int y, int width, int height) const {
    std::vector<std::uint32_t> shrunk;
    try {
        shrunk.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    } catch (const std::bad_alloc&) {
        engine::Raise(engine::err::kOutOfMemory);
    }
    ::GdiFlush();
    engine::ShrinkByArea(bits_, width_, height_, shrunk.data(), width, height);
    const BITMAPINFO info = TopDown32(width, height);
    ::SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                        static_cast<UINT>(height), shrunk.data(), &info, DIB_RGB_COLORS);
}

// ---------------------------------------------------------------- loading

namespace {

ComPtr<IWICImagingFactory> ImagingFactory() {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(LateCreateImagingFactory(factory.put()))) engine::Raise(engine::err::kInvalidPicture);
    return factory;
}

// The frame to show: the largest image of an icon file, the first of any other.
ComPtr<IWICBitmapFrameDecode> ChosenFrame(IWICBitmapDecoder& decoder) {
    UINT frames = 0;
    if (FAILED(decoder.GetFrameCount(&frames)) || frames == 0) engine::Raise(engine::err::kInvalidPicture);
    GUID container{};
    const bool icon = SUCCEEDED(decoder.GetContainerFormat(&container)) && container == GUID_ContainerFormatIco;
    ComPtr<IWICBitmapFrameDecode> best;
    UINT bestArea = 0;
    for (UINT i = 0; i < (icon ? frames : 1u); ++i) {
        ComPtr<IWICBitmapFrameDecode> frame;
        UINT w = 0, h = 0;
        if (FAILED(decoder.GetFrame(i, frame.put())) || FAILED(frame->GetSize(&w, &h))) continue;
        if (!best || w * h > bestArea) {
            bestArea = w * h;
            best = std::move(frame);
        }
    }
    if (!best) engine::Raise(engine::err::kInvalidPicture);
    return best;
}

// Whether the frame's own pixels may hold transparency. Formats without an
// alpha channel (every JPEG, grey and plain colour pictures) are read with
// alpha 255 everywhere, so flattening them would only cost a pass over every
// pixel; indexed formats may carry it in their palette.
bool MayBeTransparent(IWICBitmapFrameDecode& frame) {
    WICPixelFormatGUID format{};
    if (FAILED(frame.GetPixelFormat(&format))) return true;
    static const WICPixelFormatGUID* const kOpaque[] = {
        &GUID_WICPixelFormatBlackWhite, &GUID_WICPixelFormat2bppGray,   &GUID_WICPixelFormat4bppGray,
        &GUID_WICPixelFormat8bppGray,   &GUID_WICPixelFormat16bppGray,  &GUID_WICPixelFormat16bppBGR555,
        &GUID_WICPixelFormat16bppBGR565, &GUID_WICPixelFormat24bppBGR,  &GUID_WICPixelFormat24bppRGB,
        &GUID_WICPixelFormat32bppBGR,   &GUID_WICPixelFormat48bppRGB,
    };
    for (const WICPixelFormatGUID* opaque : kOpaque)
        if (format == *opaque) return false;
    return true;
}

// Transparent parts lie on white, as the picture would on a window's background.
void FlattenOnWhite(std::uint32_t* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const std::uint32_t px = pixels[i];
        const std::uint32_t a = px >> 24;
        if (a == 255) {
            pixels[i] = px & 0xFFFFFFu;
            continue;
        }
        auto blend = [a](std::uint32_t c) { return (c * a + 255u * (255u - a) + 127u) / 255u; };
        pixels[i] = (blend((px >> 16) & 0xFF) << 16) | (blend((px >> 8) & 0xFF) << 8) | blend(px & 0xFF);
    }
}

}  // namespace

engine::PicturePtr LoadPictureFile(const std::wstring& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        engine::Raise(engine::err::kFileNotFound);

    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())))
        engine::Raise(engine::err::kInvalidPicture);
    ComPtr<IWICBitmapFrameDecode> frame = ChosenFrame(*decoder.get());
    ComPtr<IWICBitmapSource> converted;
    UINT width = 0, height = 0;
    if (FAILED(LateWICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), converted.put())) ||
        FAILED(converted->GetSize(&width, &height)) || width == 0 || height == 0 || width > kMaxPictureSide ||
        height > kMaxPictureSide)
        engine::Raise(engine::err::kInvalidPicture);

    auto picture = Win32Picture::NewBitmap(static_cast<int>(width), static_cast<int>(height));
    const UINT stride = width * 4;
    if (FAILED(converted->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(picture->Bits()))))
        engine::Raise(engine::err::kInvalidPicture);
    if (MayBeTransparent(*frame.get())) FlattenOnWhite(picture->Bits(), static_cast<size_t>(width) * height);
    return picture;
}

// ---------------------------------------------------------------- saving

namespace {

[[noreturn]] void RaiseWriteError(DWORD error) {
    switch (error) {
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            engine::Raise(engine::err::kPathNotFound);
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            engine::Raise(61, u"Disk full");
        default:
            engine::Raise(engine::err::kPathFileAccess);
    }
}

// The temporary file beside the target; removed again unless it was moved over it.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& target)
        : path_(target + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp"),
          file_(
              ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (!file_) RaiseWriteError(::GetLastError());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.reset();
        if (!moved_) ::DeleteFileW(path_.c_str());
    }

    void Write(const void* data, size_t size) {
        const auto* bytes = static_cast<const BYTE*>(data);
        while (size > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
            DWORD written = 0;
            if (!::WriteFile(file_.get(), bytes, chunk, &written, nullptr) || written != chunk)
                RaiseWriteError(::GetLastError());
            bytes += chunk;
            size -= chunk;
        }
    }

    // The finished file takes the target's place in one step, so a program that
    // stops halfway never leaves half a bitmap. It is not forced to the disk
    // first: Trevo.bmp is made again at every switch, and waiting for the disk
    // to take 36 MB would hold every switch to a large picture for as long.
    void MoveOver(const std::wstring& target) {
        file_.reset();
        if (!::MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
            RaiseWriteError(::GetLastError());
        moved_ = true;
    }

private:
    std::wstring path_;
    UniqueFile file_;
    bool moved_ = false;
};

}  // namespace

void SaveBitmapFile(const engine::Picture& picture, const std::wstring& path) {
    const auto* source = dynamic_cast<const Win32Picture*>(&picture);
    if (!source || source->PixelWidth() <= 0 || source->PixelHeight() <= 0) engine::Raise(engine::err::kInvalidPicture);
    // A read-only file or a folder is never replaced.
    const DWORD existing = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(path.c_str());
    if (path.empty() ||
        (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))))
        engine::Raise(engine::err::kPathFileAccess);
    // An icon is drawn onto a bitmap first; a bitmap is read as it is.
    std::shared_ptr<Win32Picture> drawn;
    if (!source->Bits()) {
        drawn = source->CopyAsBitmap();
        source = drawn.get();
    }
    ::GdiFlush();

    const size_t width = static_cast<size_t>(source->PixelWidth());
    const size_t height = static_cast<size_t>(source->PixelHeight());
    const size_t stride = (width * 3 + 3) & ~static_cast<size_t>(3);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = static_cast<LONG>(width);
    info.biHeight = static_cast<LONG>(height);  // positive: bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * height);
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780;  // 96 dots per inch
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + info.biSizeImage;

    TemporaryFile out(path);
    out.Write(&header, sizeof(header));
    out.Write(&info, sizeof(info));
    // Rows go out in batches, bottom row first, so no second copy of a large picture is held.
    const size_t rowsPerBatch = std::max<size_t>(1, (1u << 20) / stride);
    std::vector<BYTE> batch(stride * std::min(rowsPerBatch, height), 0);
    for (size_t done = 0; done < height;) {
        const size_t rows = std::min(rowsPerBatch, height - done);
        for (size_t r = 0; r < rows; ++r) {
            const std::uint32_t* pixel = source->Bits() + (height - 1 - (done + r)) * width;
            BYTE* row = batch.data() + r * stride;
            for (size_t x = 0; x < width; ++x) {
                row[x * 3] = static_cast<BYTE>(pixel[x]);
                row[x * 3 + 1] = static_cast<BYTE>(pixel[x] >> 8);
                row[x * 3 + 2] = static_cast<BYTE>(pixel[x] >> 16);
            }
        }
        out.Write(batch.data(), rows * stride);
        done += rows;
    }
    out.MoveOver(path);
}

}  // namespace win32
