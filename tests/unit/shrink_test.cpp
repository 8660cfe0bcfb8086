// Shrinking a picture by averaging the area each target pixel covers.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/shrink.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

Pixels Shrink(const Pixels& source, int w, int h, int tw, int th) {
    Pixels out(static_cast<size_t>(tw) * static_cast<size_t>(th), 0xDEADBEEF);
    engine::ShrinkByArea(source.data(), w, h, out.data(), tw, th);
    return out;
}

int Channel(std::uint32_t px, int shift) { return static_cast<int>((px >> shift) & 0xFF); }

TEST(ShrinkByArea, EachTargetPixelIsTheMeanOfTheAreaItCovers) {
    // One colour stays that colour, at any ratio, also a prime one.
    const Pixels plain(101 * 67, 0x123456);
    for (const std::uint32_t px : Shrink(plain, 101, 67, 13, 7)) ASSERT_EQ(px, 0x123456u);

    // Halving: each target pixel is the mean of its 2 x 2 block, rounded.
    const Pixels blocks{0x000000, 0xFF0000, 0x00FF00, 0x0000FF,  //
                        0xFFFFFF, 0x000000, 0x00FF00, 0x0000FF};
    const Pixels halved = Shrink(blocks, 4, 2, 2, 1);
    EXPECT_EQ(halved[0], 0x804040u);  // (0 + 255 + 255 + 0) / 4 = 127.5 up; 255 / 4 = 63.75 up
    EXPECT_EQ(halved[1], 0x008080u);

    // Three to two: the middle pixel counts half for each side.
    const Pixels three{0x000000, 0x900000, 0xF00000};
    const Pixels two = Shrink(three, 3, 1, 2, 1);
    EXPECT_EQ(Channel(two[0], 16), (2 * 0x00 + 0x90) / 3);
    EXPECT_EQ(Channel(two[1], 16), (0x90 + 2 * 0xF0) / 3);

    // The same size copies the picture; the spare top byte is left out.
    const Pixels same{0xFF102030, 0x00405060};
    EXPECT_EQ(Shrink(same, 2, 1, 2, 1), (Pixels{0x102030, 0x405060}));
}

TEST(ShrinkByArea, APhotoKeepsItsMeanTone) {
    // Every source pixel counts: the mean of a noisy picture survives a shrink
    // by an awkward ratio along both axes, as it would not if rows were dropped.
    std::mt19937 rng(7);
    const int w = 403, h = 301, tw = 192, th = 108;
    Pixels photo(static_cast<size_t>(w) * h);
    long long sourceSum = 0;
    for (auto& px : photo) {
        const std::uint32_t v = rng() % 256;
        px = v << 8;
        sourceSum += v;
    }
    long long targetSum = 0;
    for (const std::uint32_t px : Shrink(photo, w, h, tw, th)) {
        ASSERT_EQ(px & 0xFF00FFu, 0u);
        targetSum += Channel(px, 8);
    }
    EXPECT_NEAR(static_cast<double>(targetSum) / (tw * th), static_cast<double>(sourceSum) / (w * h), 0.6);
}

}  // namespace
