// How far around its output area an operation reads, for the requiredSource hooks: a tile
// grown by the margin renders its inner pixels exactly as a render of the whole picture in
// one tile does. The shared neighbourhood operations give their own margins (Blur::margin,
// shrinkGrowMargin); an effect adds the margins of reads that follow each other and takes
// the widest of reads made side by side.
#pragma once

#include <algorithm>
#include <cstdint>

#include "imaging/pixel_rect.h"

// Larger margins than any picture needs; keeps the grown rectangles inside 32 bits.
constexpr int32_t kLargestSourceMargin = 1 << 24;

// Pixels of the processed image read to the left and right of an area, and above and below it.
struct SourceMargin {
    int64_t horizontal = 0;
    int64_t vertical = 0;

    // One read after the other (a blur of something blurred): the reaches add up.
    friend SourceMargin operator+(const SourceMargin& a, const SourceMargin& b) {
        return {a.horizontal + b.horizontal, a.vertical + b.vertical};
    }
    // Reads side by side: the farther reach in each direction.
    friend SourceMargin widest(const SourceMargin& a, const SourceMargin& b) {
        return {std::max(a.horizontal, b.horizontal), std::max(a.vertical, b.vertical)};
    }

    // rect grown by the margin, each side by at most kLargestSourceMargin.
    PixelRect grow(const PixelRect& rect) const {
        auto held = [](int64_t margin) { return int32_t(std::clamp<int64_t>(margin, 0, kLargestSourceMargin)); };
        return rect.grown(held(vertical), held(horizontal));
    }
};
