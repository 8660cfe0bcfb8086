#include "engine/sim/jpeg_guard.h"

namespace sim {
namespace {

constexpr unsigned char kFill = 0xFF, kStartOfImage = 0xD8, kHuffmanTables = 0xC4;
constexpr unsigned kMostCodes = 256;

// The decoder takes a file for a JPEG when it starts with fill bytes and then
// the start-of-image marker.
bool DecodedAsJpeg(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) == kFill) ++i;
    return i > 0 && i < bytes.size() && static_cast<unsigned char>(bytes[i]) == kStartOfImage;
}

}  // namespace

bool HasHuffmanTableTooLong(std::string_view bytes) {
    if (!DecodedAsJpeg(bytes)) return false;
    // Past the end the decoder reads zeros.
    const auto at = [&](std::size_t i) -> unsigned {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
    };
    // Any segment that looks like a table counts: entropy-coded data never holds a
    // marker, and a table of more than 256 codes is wrong wherever it stands.
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (at(i) != kFill || at(i + 1) != kHuffmanTables) continue;
        long left = static_cast<long>(at(i + 2) << 8 | at(i + 3)) - 2;
        std::size_t p = i + 4;
        while (left > 0 && p < bytes.size()) {
            const unsigned kind = at(p);
            if (kind >> 4 > 1 || (kind & 15) > 3) break;  // refused before the table is built
            unsigned codes = 0;
            for (std::size_t k = 1; k <= 16; ++k) codes += at(p + k);
            if (codes > kMostCodes) return true;
            p += 17 + codes;
            left -= 17 + static_cast<long>(codes);
        }
    }
    return false;
}

}  // namespace sim
