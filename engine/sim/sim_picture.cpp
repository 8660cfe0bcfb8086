#include "engine/sim/sim_picture.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "engine/error.h"
#include "engine/sim/jpeg_guard.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO_WRITE
#define STBI_FAILURE_USERMSG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace sim {
using engine::Long;

namespace {
std::atomic<engine::Dword> nextHandle{0x50000};

// 64 megapixels: more than any camera's photo (a 4000 x 3000 one has 12). A bitmap
// header of a few bytes may claim 20000 x 20000 pixels, which the decoder would
// allocate (and fill, for many seconds) before finding the file short: such a
// picture fails as out of memory instead.
constexpr long long kMostPixels = 1LL << 26;
}

SimPicture::SimPicture(engine::PictureKind kind, Long width, Long height)
    : kind_(kind), width_(width), height_(height), handle_(nextHandle.fetch_add(4)),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFFFFu) {}

engine::PicturePtr LoadPictureFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) engine::Raise(engine::err::kFileNotFound);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof()) engine::Raise(engine::err::kFileNotFound);
    if (HasHuffmanTableTooLong(bytes)) engine::Raise(engine::err::kInvalidPicture);
    const auto* start = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = bytes.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(bytes.size());
    int w = 0, h = 0, channels = 0;
    // The size as the header gives it: a bitmap stored from the top has a negative height.
    if (stbi_info_from_memory(start, length, &w, &h, &channels) && std::llabs(w) * std::llabs(h) > kMostPixels)
        engine::Raise(engine::err::kOutOfMemory);
    unsigned char* data = stbi_load_from_memory(start, length, &w, &h, &channels, 4);
    if (!data) engine::Raise(engine::err::kInvalidPicture);
    std::unique_ptr<unsigned char, void (*)(void*)> owned(data, stbi_image_free);
    // The decoder lets a bitmap header of width 0 through: no picture has no pixels.
    if (w <= 0 || h <= 0) engine::Raise(engine::err::kInvalidPicture);
    auto picture = std::make_shared<SimPicture>(engine::PictureKind::Bitmap, w, h);
    auto& px = picture->Pixels();
    for (size_t i = 0; i < px.size(); ++i) {
        const unsigned char* p = data + i * 4;
        px[i] = (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
    return picture;
}

void SaveBitmapFile(const engine::Picture& picture, const std::filesystem::path& file) {
    const auto* sim = dynamic_cast<const SimPicture*>(&picture);
    if (!sim) engine::Raise(engine::err::kInvalidPicture);
    std::vector<unsigned char> rgb(static_cast<size_t>(sim->PixelWidth()) * sim->PixelHeight() * 3);
    const auto& px = sim->Pixels();
    for (size_t i = 0; i < px.size(); ++i) {
        rgb[i * 3] = static_cast<unsigned char>(px[i] >> 16);
        rgb[i * 3 + 1] = static_cast<unsigned char>(px[i] >> 8);
        rgb[i * 3 + 2] = static_cast<unsigned char>(px[i]);
    }
    std::filesystem::path temp = file;
    temp += ".tmp-write";
    if (!stbi_write_bmp(temp.c_str(), sim->PixelWidth(), sim->PixelHeight(), 3, rgb.data())) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
        engine::Raise(75);
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        engine::Raise(75);
    }
}

void StretchOnto(const SimPicture& source, SimPicture& target, long x, long y, long width, long height) {
    if (width <= 0 || height <= 0 || source.PixelWidth() <= 0 || source.PixelHeight() <= 0) return;
    for (long ty = std::max(0L, y); ty < std::min<long>(target.PixelHeight(), y + height); ++ty) {
        const long sy = (ty - y) * source.PixelHeight() / height;
        for (long tx = std::max(0L, x); tx < std::min<long>(target.PixelWidth(), x + width); ++tx) {
            const long sx = (tx - x) * source.PixelWidth() / width;
            target.Pixels()[static_cast<size_t>(ty * target.PixelWidth() + tx)] = source.At(sx, sy) | 0xFF000000u;
        }
    }
}

}  // namespace sim
