#include "reference_wallpaper.h"

#include <wincodec.h>

#include <algorithm>
#include <vector>

#include "engine/win32/handles.h"

namespace winbench {
namespace {

template <class T>
struct Released {
    T* p = nullptr;
    ~Released() {
        if (p) p->Release();
    }
};

// Top-down rows of 24-bit pixels, each padded to four bytes; empty on failure.
std::vector<BYTE> DecodeRows(const std::wstring& picture, UINT& width, UINT& height, UINT& stride) {
    Released<IWICImagingFactory> factory;
    Released<IWICBitmapDecoder> decoder;
    Released<IWICBitmapFrameDecode> frame;
    Released<IWICBitmapSource> converted;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.p))) ||
        FAILED(factory.p->CreateDecoderFromFilename(picture.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, &decoder.p)) ||
        FAILED(decoder.p->GetFrame(0, &frame.p)) ||
        FAILED(WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.p, &converted.p)) ||
        FAILED(converted.p->GetSize(&width, &height)) || width == 0 || height == 0)
        return {};
    stride = (width * 3 + 3) & ~3u;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * height);
    if (FAILED(converted.p->CopyPixels(nullptr, stride, static_cast<UINT>(rows.size()), rows.data()))) return {};
    return rows;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

}  // namespace

bool StartImaging() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

WallpaperPhases WriteWallpaperBitmap(const WallpaperJob& job, const Stopwatch& clock) {
    WallpaperPhases phases;
    const long long start = Stopwatch::Now();
    UINT width = 0, height = 0, stride = 0;
    const std::vector<BYTE> rows = DecodeRows(job.picture, width, height, stride);
    const long long decoded = Stopwatch::Now();
    phases.decodeMs = clock.Ms(start, decoded);
    if (rows.empty()) return phases;

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = static_cast<LONG>(width);
    info.biHeight = static_cast<LONG>(height);  // bottom-up, as Trevo writes it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rows.size());
    info.biXPelsPerMeter = info.biYPelsPerMeter = 3780;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + info.biSizeImage;

    win32::UniqueFile file(CreateFileW(job.bitmap.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    bool ok = file && WriteAll(file.get(), &header, sizeof header) && WriteAll(file.get(), &info, sizeof info);
    // The bottom row first, in writes of about a megabyte.
    const UINT rowsPerWrite = std::max<UINT>(1, (1u << 20) / stride);
    std::vector<BYTE> batch(static_cast<size_t>(stride) * std::min(rowsPerWrite, height));
    for (UINT done = 0; ok && done < height;) {
        const UINT count = std::min(rowsPerWrite, height - done);
        for (UINT r = 0; r < count; ++r)
            std::copy_n(rows.data() + static_cast<size_t>(height - 1 - (done + r)) * stride, stride,
                        batch.data() + static_cast<size_t>(r) * stride);
        ok = WriteAll(file.get(), batch.data(), static_cast<size_t>(count) * stride);
        done += count;
    }
    file.reset();
    phases.writeMs = clock.MsSince(decoded);
    phases.written = ok;
    return phases;
}

}  // namespace winbench
