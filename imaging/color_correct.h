// The colour-correct pass and its pieces: hue and saturation, a master tone table,
// per-channel table adjustment, and the warm/cool shift of red against blue.
// These work on four-channel images; other layouts are left unchanged.
#pragma once

#include <cstdint>

#include "imaging/image.h"

// Adds trunc(amount x full) to blue and subtracts it from red, clamped to 0..full, over
// rect; green and alpha unchanged. Positive amounts cool, negative amounts warm.
void warmCoolShift(Image& image, const PixelRect& rect, double amount);

// Adjusts a channel table of SampleTraits<Sample>::tableSize entries (256 or 32769) in
// place. multiply: entry x amount; otherwise, when amount is not 0, entry + level x amount
// (adds a fraction of the input level). Truncated and clamped to 0..full.
template <class Sample>
void adjustChannelTable(Sample* table, double amount, bool multiply);

extern template void adjustChannelTable<uint8_t>(uint8_t*, double, bool);
extern template void adjustChannelTable<uint16_t>(uint16_t*, double, bool);

// The colour-correct pass over rect: hue shift (degrees) and saturation (fraction, 0 keeps
// it) per pixel, then the tone table of toneAdjust(gain, contrast, bend) on red, green and
// blue, each channel's table adjusted by its amount (or multiplied by it).
void colorCorrect(Image& image, const PixelRect& rect, double hueShift, double saturation, double gain,
                  double contrast, double bend, double redAmount, double greenAmount, double blueAmount,
                  bool multiply);
