// How far around a pixel the shared neighbourhood operations read, for the requiredSource
// hooks: a tile grown by these margins renders its inner pixels exactly as a render of the
// whole picture in one tile does.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fx/render_info.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_rect.h"

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

// rect grown by how far a matte of these settings reads around a pixel at this render's scale:
// its shrink/grow and then its blur with the render's extra passes. The shrink/grow counts
// too, so that a render in strips equals a render in one tile.
inline PixelRect grownForMatte(const PixelRect& rect, const MatteSettings& settings,
                               const fx::Plugin::RenderInfo& info) {
    const uint32_t runs = info.extraBlurPasses() + 1;
    const float vertical = settings.gang ? settings.blurX : settings.blurY;
    const int64_t x = int64_t(shrinkGrowMargin(double(settings.shrinkGrow) * info.scaleX)) +
                      blurMargin(float(double(settings.blurX) * info.scaleX), runs);
    const int64_t y = int64_t(shrinkGrowMargin(double(settings.shrinkGrow) * info.scaleY)) +
                      blurMargin(float(double(vertical) * info.scaleY), runs);
    const int64_t largest = int64_t(kLargestSourceMargin);
    return rect.grown(int32_t(std::min(y, largest)), int32_t(std::min(x, largest)));
}
