// The picture formats a wallpaper may come in, decoded on the simulated Windows.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "engine/sim/sim_picture.h"
#include "sim_fixture.h"

namespace {

// 4 x 3 pictures of one colour (#2050A0), as an image editor writes them.
const unsigned char kPng[] = {0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
                              0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x01, 0x03, 0x00, 0x00,
                              0x00, 0x8e, 0x3a, 0x3c, 0x85, 0x00, 0x00, 0x00, 0x03, 0x50, 0x4c, 0x54, 0x45, 0x20,
                              0x50, 0xa0, 0xf3, 0x5a, 0x85, 0x86, 0x00, 0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54,
                              0x08, 0xd7, 0x63, 0x60, 0x00, 0x01, 0x00, 0x00, 0x06, 0x00, 0x01, 0x66, 0xf4, 0xc9,
                              0x6c, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
const unsigned char kGif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x03, 0x00, 0xf0, 0x00, 0x00, 0x20, 0x50,
                              0xa0, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
                              0x00, 0x00, 0x04, 0x00, 0x03, 0x00, 0x00, 0x02, 0x03, 0x84, 0x8f, 0x56, 0x00, 0x3b};
const unsigned char kJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01, 0x00, 0x01,
    0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x03, 0x02, 0x02, 0x02, 0x02, 0x02, 0x03, 0x02, 0x02, 0x02, 0x03,
    0x03, 0x03, 0x03, 0x04, 0x06, 0x04, 0x04, 0x04, 0x04, 0x04, 0x08, 0x06, 0x06, 0x05, 0x06, 0x09, 0x08, 0x0a,
    0x0a, 0x09, 0x08, 0x09, 0x09, 0x0a, 0x0c, 0x0f, 0x0c, 0x0a, 0x0b, 0x0e, 0x0b, 0x09, 0x09, 0x0d, 0x11, 0x0d,
    0x0e, 0x0f, 0x10, 0x10, 0x11, 0x10, 0x0a, 0x0c, 0x12, 0x13, 0x12, 0x10, 0x13, 0x0f, 0x10, 0x10, 0x10, 0xff,
    0xdb, 0x00, 0x43, 0x01, 0x03, 0x03, 0x03, 0x04, 0x03, 0x04, 0x08, 0x04, 0x04, 0x08, 0x10, 0x0b, 0x09, 0x0b,
    0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
    0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10,
    0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0xff, 0xc0, 0x00, 0x11,
    0x08, 0x00, 0x03, 0x00, 0x04, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01, 0xff, 0xc4, 0x00,
    0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x08, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4, 0x00, 0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x08, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c,
    0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x39, 0x28, 0x01, 0x63, 0xff, 0xd9};

struct Format {
    const char* name;
    const unsigned char* bytes;
    size_t size;
    int tolerance;  // JPEG is lossy
};

TEST(PictureFormats, PngGifAndJpegLoadWithTheirSizeAndColour) {
    testing_support::TempDir dir;
    for (const Format& f : {Format{"png", kPng, sizeof(kPng), 0}, Format{"gif", kGif, sizeof(kGif), 0},
                            Format{"jpg", kJpeg, sizeof(kJpeg), 12}}) {
        const auto path = dir.path() / (std::string("picture.") + f.name);
        testing_support::WriteFile(path, std::string(reinterpret_cast<const char*>(f.bytes), f.size));
        const auto picture = sim::LoadPictureFile(path);
        ASSERT_EQ(picture->PixelWidth(), 4) << f.name;
        ASSERT_EQ(picture->PixelHeight(), 3) << f.name;
        const std::uint32_t px = static_cast<const sim::SimPicture&>(*picture).At(3, 2);
        EXPECT_NEAR(static_cast<int>((px >> 16) & 0xFF), 0x20, f.tolerance) << f.name;
        EXPECT_NEAR(static_cast<int>((px >> 8) & 0xFF), 0x50, f.tolerance) << f.name;
        EXPECT_NEAR(static_cast<int>(px & 0xFF), 0xA0, f.tolerance) << f.name;
    }
    // An empty image-data chunk is allowed anywhere among the others, also first.
    std::string png(reinterpret_cast<const char*>(kPng), sizeof(kPng));
    png.insert(png.find(std::string("\0\0\0\x0bIDAT", 8)), std::string("\0\0\0\0IDAT\x35\xaf\x06\x1e", 12));
    testing_support::WriteFile(dir.path() / "empty_chunk.png", png);
    const auto picture = sim::LoadPictureFile(dir.path() / "empty_chunk.png");
    EXPECT_EQ(picture->PixelWidth(), 4);
    EXPECT_EQ(static_cast<const sim::SimPicture&>(*picture).At(3, 2) & 0xFFFFFFu, 0x2050A0u);
}

TEST(PictureFormats, WhatIsNoPictureOrNoFileRaisesTheirErrors) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir.path() / "text.png", "this is no picture");
    for (auto [path, number] : {std::pair{dir.path() / "text.png", engine::err::kInvalidPicture},
                                std::pair{dir.path() / "missing.png", engine::err::kFileNotFound},
                                std::pair{dir.path(), engine::err::kFileNotFound}}) {
        try {
            sim::LoadPictureFile(path);
            ADD_FAILURE() << path;
        } catch (const engine::RuntimeError& e) {
            EXPECT_EQ(e.Number(), number) << path;
        }
    }
}

// A bitmap file header (54 bytes, 24 bits a pixel) that claims a size and holds no pixels.
std::string BitmapHeader(std::int32_t width, std::int32_t height) {
    std::string b = std::string("BM") + std::string(52, '\0');
    const auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    put(10, 54);
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    b[26] = 1;
    b[28] = 24;
    return b;
}

TEST(PictureFormats, HeadersClaimingNoPixelsOrFarTooManyAreRefusedAtOnce) {
    testing_support::TempDir dir;
    for (auto [width, height, number] :
         {std::tuple{20000, 20000, engine::err::kOutOfMemory}, std::tuple{20000, -20000, engine::err::kOutOfMemory},
          std::tuple{0, 515, engine::err::kInvalidPicture}, std::tuple{4, 0, engine::err::kInvalidPicture}}) {
        const auto path = dir.path() / "claims.bmp";
        testing_support::WriteFile(path, BitmapHeader(width, height));
        try {
            sim::LoadPictureFile(path);
            ADD_FAILURE() << width << " x " << height;
        } catch (const engine::RuntimeError& e) {
            EXPECT_EQ(e.Number(), number) << width << " x " << height;
        }
    }
    // Rows the file does not hold: no picture, and no wait for millions of them.
    testing_support::WriteFile(dir.path() / "short.bmp", BitmapHeader(3, 13'000'000));
    EXPECT_EQ(testing_support::ErrorNumber([&] { sim::LoadPictureFile(dir.path() / "short.bmp"); }),
              engine::err::kInvalidPicture);
    // A camera's size is no reason to refuse a picture.
    testing_support::WriteFile(dir.path() / "photo.bmp", BitmapHeader(4000, 3000));
    EXPECT_NE(testing_support::ErrorNumber([&] { sim::LoadPictureFile(dir.path() / "photo.bmp"); }),
              engine::err::kOutOfMemory);
}

TEST(PictureFormats, AJpegHuffmanTableOfMoreThan256CodesIsNoPicture) {
    testing_support::TempDir dir;
    std::string jpeg(reinterpret_cast<const char*>(kJpeg), sizeof(kJpeg));
    const std::size_t table = jpeg.find("\xFF\xC4");
    ASSERT_NE(table, std::string::npos);
    // The first table's counts of codes for each length, 1 to 16 bits.
    for (std::size_t k = 0; k < 16; ++k) jpeg[table + 5 + k] = static_cast<char>(0xFF);
    for (const std::string& bytes : {jpeg, std::string(40, '\xFF') + jpeg.substr(1)}) {  // fill bytes before it too
        testing_support::WriteFile(dir.path() / "tables.jpg", bytes);
        EXPECT_EQ(testing_support::ErrorNumber([&] { sim::LoadPictureFile(dir.path() / "tables.jpg"); }),
                  engine::err::kInvalidPicture);
    }
}

TEST(PictureFormats, SavedBitmapsReadBackTheSame) {
    testing_support::TempDir dir;
    sim::SimPicture p(engine::PictureKind::Bitmap, 5, 2);
    for (size_t i = 0; i < p.Pixels().size(); ++i)
        p.Pixels()[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x102030);
    sim::SaveBitmapFile(p, dir.path() / "out.bmp");
    const std::string bytes = testing_support::ReadFile(dir.path() / "out.bmp");
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    const auto back = sim::LoadPictureFile(dir.path() / "out.bmp");
    EXPECT_EQ(static_cast<const sim::SimPicture&>(*back).Pixels(), p.Pixels());
}

}  // namespace
