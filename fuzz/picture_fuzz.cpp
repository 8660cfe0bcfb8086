// Picture files of any content, loaded as the simulated Windows loads them. A file
// that is no picture raises 481, one too large to hold raises 7; one that loads has
// a size and as many pixels as that size says, and saved as a bitmap and loaded
// again it keeps its size and its colours.
#include <cstdint>
#include <fstream>

#include "engine/error.h"
#include "engine/sim/sim_picture.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kMostPixelsToSave = 1 << 16;  // keeps the runs fast

void Put(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}

const sim::SimPicture& Pixels(const engine::PicturePtr& picture) {
    const auto* pixels = dynamic_cast<const sim::SimPicture*>(picture.get());
    FUZZ_CHECK(pixels != nullptr);
    return *pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path file = fuzz::ProcessFolder() / "picture";
    static const std::filesystem::path saved = fuzz::ProcessFolder() / "saved.bmp";
    Put(file, data, size);
    engine::PicturePtr picture;
    try {
        picture = sim::LoadPictureFile(file);
    } catch (const engine::RuntimeError& e) {
        FUZZ_CHECK(e.Number() == engine::err::kInvalidPicture || e.Number() == engine::err::kOutOfMemory);
        return 0;
    }
    const sim::SimPicture& loaded = Pixels(picture);
    FUZZ_CHECK(loaded.Kind() == engine::PictureKind::Bitmap);
    FUZZ_CHECK(loaded.PixelWidth() > 0 && loaded.PixelHeight() > 0);
    const auto count = static_cast<std::size_t>(loaded.PixelWidth()) * static_cast<std::size_t>(loaded.PixelHeight());
    FUZZ_CHECK(loaded.Pixels().size() == count);
    if (count > kMostPixelsToSave) return 0;

    sim::SaveBitmapFile(*picture, saved);
    const engine::PicturePtr reloaded = sim::LoadPictureFile(saved);
    const sim::SimPicture& again = Pixels(reloaded);
    FUZZ_CHECK(again.PixelWidth() == loaded.PixelWidth() && again.PixelHeight() == loaded.PixelHeight());
    for (std::size_t i = 0; i < count; ++i)
        FUZZ_CHECK((again.Pixels()[i] & 0xFFFFFFu) == (loaded.Pixels()[i] & 0xFFFFFFu));  // a bitmap keeps no alpha
    return 0;
}
