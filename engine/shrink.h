// Making a picture smaller by averaging: each target pixel is the mean of the
// source area it covers, each source pixel counted by how much of it lies
// inside. Every source pixel counts, so a photo shrunk a long way keeps its
// fine detail as tone instead of dropping whole rows and columns.
#pragma once

#include <cstdint>

namespace engine {

// Pixels are 0x00RRGGBB, rows top to bottom, `width` pixels a row. The target
// must be no larger than the source along either axis, and neither may be empty.
void ShrinkByArea(const std::uint32_t* source, int sourceWidth, int sourceHeight, std::uint32_t* target,
                  int targetWidth, int targetHeight);

}  // namespace engine
