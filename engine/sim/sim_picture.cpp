#include "engine/sim/sim_picture.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>

#include "engine/error.h"
#include "engine/sim/jpeg_guard.h"
#include "engine/sim/png_chunks.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_FAILURE_USERMSG
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb_image.h>
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

std::uint32_t LittleEndianAt(const std::string& bytes, size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// An uncompressed bitmap whose rows do not fit in the file: Windows refuses it,
// and the decoder would read its millions of missing rows for many seconds.
bool BitmapShorterThanItsRows(const std::string& bytes) {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const std::uint32_t offset = LittleEndianAt(bytes, 10, 4), infoSize = LittleEndianAt(bytes, 14, 4);
    long long width = 0, height = 0, bits = 0;
    if (infoSize == 12) {
        width = LittleEndianAt(bytes, 18, 2);
        height = LittleEndianAt(bytes, 20, 2);
        bits = LittleEndianAt(bytes, 24, 2);
    } else if (infoSize >= 40 && bytes.size() >= 34) {
        const std::uint32_t compression = LittleEndianAt(bytes, 30, 4);
        // Run-length and embedded JPEG or PNG data have no fixed size; every
        // other kind is read as plain rows.
        if (compression == 1 || compression == 2 || compression == 4 || compression == 5) return false;
        width = static_cast<std::int32_t>(LittleEndianAt(bytes, 18, 4));
        height = static_cast<std::int32_t>(LittleEndianAt(bytes, 22, 4));
        bits = LittleEndianAt(bytes, 28, 2);
    } else {
        return false;
    }
    const long long stride = (std::llabs(width) * bits + 31) / 32 * 4;  // at most 2^31 x 2^16: no overflow
    const long long rows = std::llabs(height);
    if (stride == 0 || rows == 0) return false;
    if (offset > bytes.size()) return true;
    return rows > static_cast<long long>(bytes.size() - offset) / stride;  // divided: no overflow either
}
}  // namespace

SimPicture::SimPicture(engine::PictureKind kind, Long width, Long height)
    : SimPicture(kind, width, height,
                 std::vector<std::uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFFFFFFFFu)) {}

SimPicture::SimPicture(engine::PictureKind kind, Long width, Long height, std::vector<std::uint32_t> pixels)
    : kind_(kind), width_(width), height_(height), handle_(nextHandle.fetch_add(4)), pixels_(std::move(pixels)) {}

engine::PicturePtr LoadPictureFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) engine::Raise(engine::err::kFileNotFound);
    std::ifstream in(file, std::ios::binary);
    const std::string read{std::istreambuf_iterator<char>(in), {}};
    if (!in.good() && !in.eof()) engine::Raise(engine::err::kFileNotFound);
    const std::string bytes = WithoutEmptyImageData(read);
    if (HasHuffmanTableTooLong(bytes)) engine::Raise(engine::err::kInvalidPicture);
    const auto* start = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = bytes.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(bytes.size());
    int w = 0, h = 0, channels = 0;
    // The size as the header gives it: a bitmap stored from the top has a negative height.
    if (stbi_info_from_memory(start, length, &w, &h, &channels) && std::llabs(w) * std::llabs(h) > kMostPixels)
        engine::Raise(engine::err::kOutOfMemory);
    if (BitmapShorterThanItsRows(bytes)) engine::Raise(engine::err::kInvalidPicture);
    unsigned char* data = stbi_load_from_memory(start, length, &w, &h, &channels, 4);
    if (!data) engine::Raise(engine::err::kInvalidPicture);
    std::unique_ptr<unsigned char, void (*)(void*)> owned(data, stbi_image_free);
    // The decoder lets a bitmap header of width 0 through: no picture has no pixels.
    if (w <= 0 || h <= 0) engine::Raise(engine::err::kInvalidPicture);
    const size_t count = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::vector<std::uint32_t> px;
    px.reserve(count);  // filled once, from the decoder's RGBA
    for (const unsigned char* p = data; p != data + count * 4; p += 4)
        px.push_back((std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2]);
    return std::make_shared<SimPicture>(engine::PictureKind::Bitmap, w, h, std::move(px));
}

namespace {

void PutLittleEndian(unsigned char* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// A 24-bit bitmap as SavePicture writes one: stored from the bottom row up, each
// row padded to four bytes. Written a row at a time, for pictures of many megapixels.
bool WriteBitmap(const SimPicture& picture, const std::filesystem::path& file) {
    const auto width = static_cast<std::uint32_t>(picture.PixelWidth());
    const auto height = static_cast<std::uint32_t>(picture.PixelHeight());
    const std::uint32_t rowBytes = (width * 3 + 3) & ~3u;
    constexpr std::uint32_t kHeaders = 14 + 40;
    unsigned char header[kHeaders] = {'B', 'M'};
    PutLittleEndian(header + 2, kHeaders + rowBytes * height, 4);
    PutLittleEndian(header + 10, kHeaders, 4);
    PutLittleEndian(header + 14, 40, 4);
    PutLittleEndian(header + 18, width, 4);
    PutLittleEndian(header + 22, height, 4);
    PutLittleEndian(header + 26, 1, 2);   // planes
    PutLittleEndian(header + 28, 24, 2);  // bits a pixel
    PutLittleEndian(header + 34, rowBytes * height, 4);

    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header), kHeaders);
    std::vector<char> row(rowBytes, '\0');
    const auto& px = picture.Pixels();
    for (std::uint32_t y = height; y-- > 0 && out;) {
        const std::uint32_t* line = px.data() + static_cast<std::size_t>(y) * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            row[x * 3] = static_cast<char>(line[x]);
            row[x * 3 + 1] = static_cast<char>(line[x] >> 8);
            row[x * 3 + 2] = static_cast<char>(line[x] >> 16);
        }
        out.write(row.data(), rowBytes);
    }
    out.close();
    return !out.fail();
}

}  // namespace

void SaveBitmapFile(const engine::Picture& picture, const std::filesystem::path& file) {
    const auto* sim = dynamic_cast<const SimPicture*>(&picture);
    if (!sim || sim->PixelWidth() <= 0 || sim->PixelHeight() <= 0) engine::Raise(engine::err::kInvalidPicture);
    std::filesystem::path temp = file;
    temp += ".tmp-write";
    std::error_code ec;
    if (!WriteBitmap(*sim, temp)) {
        std::filesystem::remove(temp, ec);
        engine::Raise(75);
    }
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
