// What the simulated Windows does to a PNG before its decoder sees it.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// The file without its empty image-data chunks. PNG allows them, and they add
// nothing to the picture; stb_image 2.27 (Debian 12's) copies from an image
// buffer it has not made yet when one comes first. Any other file, or a PNG
// whose chunks run past its end, comes back as it is from there on.
std::string WithoutEmptyImageData(std::string_view bytes);

}  // namespace sim
