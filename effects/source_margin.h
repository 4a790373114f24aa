// How far around a pixel the shared neighbourhood operations read, for the requiredSource
// hooks: a tile grown by these margins renders its inner pixels exactly as a render of the
// whole picture in one tile does.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

// Larger margins than any picture needs; keeps the grown rectangles inside 32 bits.
constexpr double kLargestSourceMargin = 1 << 24;

// The margin a Blur of the given size (pixels of the processed image) needs in one direction
// when its box runs `runs` times. One run reads floor(size / 2) + 1 samples either side of
// an output (the window's outermost taps). Outputs within that reach of a line end are
// divided by the weight left inside the line, interior outputs by a reciprocal that can
// give one level more, so at a cut edge a run is exact only from one sample further in.
inline int32_t blurMargin(float size, uint32_t runs) {
    if (!(size > 0.0f)) return 0;
    const double radius = double(size * 0.5f);  // the blur halves its 32-bit float size
    const double margin = (std::floor(radius) + 2.0) * double(runs);
    return int32_t(std::min(margin, kLargestSourceMargin));
}

// The margin of a matte shrink or grow by `amount` pixels of the processed image: its
// window reaches ceil(|amount|) samples either side.
inline int32_t shrinkGrowMargin(double amount) {
    const double margin = std::ceil(std::fabs(amount));
    if (!(margin > 0.0)) return 0;
    return int32_t(std::min(margin, kLargestSourceMargin));
}
