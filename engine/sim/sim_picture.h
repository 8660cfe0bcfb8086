// Pictures of the simulated engine: pixels held in memory, decoded and written
// with the stb libraries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/picture.h"

namespace sim {

class SimPicture : public engine::Picture {
public:
    SimPicture(engine::PictureKind kind, engine::Long width, engine::Long height);  // all white
    SimPicture(engine::PictureKind kind, engine::Long width, engine::Long height, std::vector<std::uint32_t> pixels);
    engine::PictureKind Kind() const override { return kind_; }
    engine::Dword Handle() const override { return handle_; }
    engine::Long PixelWidth() const override { return width_; }
    engine::Long PixelHeight() const override { return height_; }

    // 0xAARRGGBB, rows from the top.
    std::vector<std::uint32_t>& Pixels() { return pixels_; }
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
    std::uint32_t At(engine::Long x, engine::Long y) const { return pixels_[static_cast<size_t>(y * width_ + x)]; }
    // For icons loaded from the program's resources: the resource number.
    engine::Long ResourceId() const { return resourceId_; }
    void SetResourceId(engine::Long id) { resourceId_ = id; }

private:
    engine::PictureKind kind_;
    engine::Long width_;
    engine::Long height_;
    engine::Dword handle_;
    engine::Long resourceId_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Raises 53 for a missing file and 481 for one that does not decode.
engine::PicturePtr LoadPictureFile(const std::filesystem::path& file);
// Writes a 24-bit Windows bitmap, replacing the file atomically; raises 75 when it
// cannot be written (an old file stays whole).
void SaveBitmapFile(const engine::Picture& picture, const std::filesystem::path& file);
// The whole of source stretched onto the rectangle of target (pixels; clipped).
void StretchOnto(const SimPicture& source, SimPicture& target, long x, long y, long width, long height);

}  // namespace sim
