#include "engine/sim/png_chunks.h"

#include <cstdint>

namespace sim {
namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
constexpr std::size_t kLengthAndType = 8, kCrc = 4;

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k) value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

}  // namespace

std::string WithoutEmptyImageData(std::string_view bytes) {
    if (bytes.substr(0, kSignature.size()) != kSignature) return std::string(bytes);
    std::string out(bytes.substr(0, kSignature.size()));
    std::size_t at = kSignature.size();
    while (bytes.size() - at >= kLengthAndType + kCrc) {
        const std::uint64_t whole = std::uint64_t{BigEndian32(bytes, at)} + kLengthAndType + kCrc;
        if (whole > bytes.size() - at) break;
        const bool emptyImageData = whole == kLengthAndType + kCrc && bytes.substr(at + 4, 4) == "IDAT";
        if (!emptyImageData) out += bytes.substr(at, static_cast<std::size_t>(whole));
        at += static_cast<std::size_t>(whole);
    }
    out += bytes.substr(at);
    return out;
}

}  // namespace sim
