// What the simulated Windows refuses before its JPEG decoder sees a file.
#pragma once

#include <string_view>

namespace sim {

// stb_image 2.27 (Debian 12's) builds a Huffman table of as many codes as the
// table's header counts, up to 16 x 255, into room for 256 and writes past it
// (fixed upstream in 2.28, which refuses such tables). No real JPEG has one.
bool HasHuffmanTableTooLong(std::string_view bytes);

}  // namespace sim
