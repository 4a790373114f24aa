// The conversion to grey shared by the monochrome looks: red, green and blue of every
// pixel become one grey value, taken through one of six colour filters the way a
// black-and-white film sees the scene through a coloured lens filter. Alpha is untouched.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// The colour filters, in the order of the effects' "Filter" lists.
enum class BlackAndWhiteFilter : uint32_t {
    Normal = 0,  // trunc(0.3 R + 0.59 G + 0.11 B + 2.24 / full), at most full
    Red = 1,     // R
    Green = 2,   // G
    Blue = 3,    // B
    Yellow = 4,  // trunc(luma(R, G, 0) x 1.06), at most full
    Orange = 5,  // trunc(luma(R, G / 2, 0) x 1.6), at most full
};
constexpr uint32_t kBlackAndWhiteFilterCount = 6;

// Converts the four-channel image in place over rect (clipped to its bounds) through the
// filter of the given index. Any other index, and images of other layouts, are left unchanged.
void toBlackAndWhite(Image& image, const PixelRect& rect, uint32_t filter);
// The same conversion reading source and writing destination (same layout and size; alpha is
// copied), in one pass. With any other filter index the rect of source is copied unchanged.
void toBlackAndWhite(const Image& source, Image& destination, const PixelRect& rect, uint32_t filter);
