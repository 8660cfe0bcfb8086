#include "engine/shrink.h"

#include <algorithm>
#include <vector>

namespace engine {
namespace {

// The source pixels one target pixel covers along one axis, and how much of
// each: whole numbers that add up to kUnit, so that no colour drifts.
struct Span {
    int first = 0;
    int count = 0;
    int weights = 0;  // index of the first weight in Spans::weight
};

struct Spans {
    std::vector<Span> span;
    std::vector<std::uint32_t> weight;
};

// Target pixel t covers [t × source, (t + 1) × source) and source pixel s covers
// [s × target, (s + 1) × target), both counted in 1 / (source × target) of a
// pixel, so every overlap is a whole number.
Spans Cover(int source, int target, std::uint32_t unit) {
    Spans out;
    out.span.resize(static_cast<size_t>(target));
    const long long s = source, t = target;
    for (long long x = 0; x < t; ++x) {
        const long long from = x * s, to = from + s;
        Span& span = out.span[static_cast<size_t>(x)];
        span.first = static_cast<int>(from / t);
        span.weights = static_cast<int>(out.weight.size());
        std::uint32_t given = 0;
        size_t largest = out.weight.size();
        for (long long p = span.first; p < s && p * t < to; ++p) {
            const long long overlap = std::min(to, (p + 1) * t) - std::max(from, p * t);
            const auto w = static_cast<std::uint32_t>(overlap * unit / s);
            if (largest == out.weight.size() || w > out.weight[largest]) largest = out.weight.size();
            out.weight.push_back(w);
            given += w;
            ++span.count;
        }
        out.weight[largest] += unit - given;  // what rounding down left over
    }
    return out;
}

// Row weights add up to 256, column weights to 65536: a row sum stays below 2^16
// per channel and the column sum of those below 2^32.
constexpr std::uint32_t kRowUnit = 256;
constexpr std::uint32_t kColumnUnit = 65536;

void ShrinkRow(const std::uint32_t* row, const Spans& across, std::uint32_t* sums) {
    for (const Span& span : across.span) {
        std::uint32_t r = 0, g = 0, b = 0;
        const std::uint32_t* w = &across.weight[static_cast<size_t>(span.weights)];
        const std::uint32_t* px = row + span.first;
        for (int k = 0; k < span.count; ++k) {
            r += ((px[k] >> 16) & 0xFF) * w[k];
            g += ((px[k] >> 8) & 0xFF) * w[k];
            b += (px[k] & 0xFF) * w[k];
        }
        sums[0] = r;
        sums[1] = g;
        sums[2] = b;
        sums += 3;
    }
}

}  // namespace

void ShrinkByArea(const std::uint32_t* source, int sourceWidth, int sourceHeight, std::uint32_t* target,
                  int targetWidth, int targetHeight) {
    const Spans across = Cover(sourceWidth, targetWidth, kRowUnit);
    const Spans down = Cover(sourceHeight, targetHeight, kColumnUnit);
    const size_t channels = static_cast<size_t>(targetWidth) * 3;
    // A source row on the border of two target rows is shrunk once for both.
    std::vector<std::uint32_t> row(channels), total(channels);
    int shrunkRow = -1;
    for (int y = 0; y < targetHeight; ++y) {
        const Span& span = down.span[static_cast<size_t>(y)];
        std::fill(total.begin(), total.end(), 0u);
        for (int k = 0; k < span.count; ++k) {
            const int sourceRow = span.first + k;
            if (sourceRow != shrunkRow) {
                ShrinkRow(source + static_cast<size_t>(sourceRow) * static_cast<size_t>(sourceWidth), across,
                          row.data());
                shrunkRow = sourceRow;
            }
            const std::uint32_t w = down.weight[static_cast<size_t>(span.weights + k)];
            for (size_t c = 0; c < channels; ++c) total[c] += row[c] * w;
        }
        std::uint32_t* out = target + static_cast<size_t>(y) * static_cast<size_t>(targetWidth);
        constexpr std::uint64_t kHalf = (std::uint64_t{kRowUnit} * kColumnUnit) / 2;
        for (int x = 0; x < targetWidth; ++x) {
            const std::uint32_t* t = &total[static_cast<size_t>(x) * 3];
            auto channel = [&](int c) { return static_cast<std::uint32_t>((t[c] + kHalf) >> 24); };
            out[x] = (channel(0) << 16) | (channel(1) << 8) | channel(2);
        }
    }
}

}  // namespace engine
