// Small whole-image pixel utilities: grey to RGBA expansion and lookup tables.
// Tables are expected to hold in-range values; nothing here rounds or clamps.
#pragma once

#include <cstdint>

#include "imaging/image.h"

// One-channel source into a four-channel destination of the same sample size: (g, g, g, full).
void expandGrayToRGBA(const Image& source, Image& destination, const PixelRect& rect);

// Four channels: red, green and blue through the table, alpha untouched. One channel: the channel.
void applyLUT(Image& image, const uint8_t* table, const PixelRect& rect);
void applyLUT(Image& image, const uint16_t* table, const PixelRect& rect);

// Four channels only: red through tables[0], green through tables[1], blue through tables[2].
void applyChannelLUTs(Image& image, const uint8_t* const tables[3], const PixelRect& rect);
void applyChannelLUTs(Image& image, const uint16_t* const tables[3], const PixelRect& rect);

inline void copyPixel8(uint8_t* destination, const uint8_t* source) {
    for (int c = 0; c < 4; ++c) destination[c] = source[c];
}
inline void copyPixel16(uint16_t* destination, const uint16_t* source) {
    for (int c = 0; c < 4; ++c) destination[c] = source[c];
}

// Copies the pixels of rect from source into the same place of destination (same layout).
void copyRect(const Image& source, Image& destination, const PixelRect& rect);

// Sets every sample of rect (alpha included) to 0.
void clearRect(Image& image, const PixelRect& rect);
