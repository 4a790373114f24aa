// Screening whole images: two one-channel images into one, and a one-channel light laid onto
// a four-channel picture in a colour with a strength (the stars of Star). Integer arithmetic on
// the sample scale, every division truncating, results held to 0..full; alpha is never changed.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// a = full - (full - a)(full - b) / full over rect, for one-channel images of the same sample size.
void screenInto(Image& a, const Image& b, const PixelRect& rect);

// Lays the one-channel light onto the picture's red, green and blue over rect (same sample
// size; pixels where the light t is 0 are left alone). With C the colour level of a channel
// (0..full), K = trunc(amount x full), n = K div (full + 1) and r = K mod (full + 1), each
// channel c becomes:
//   x = c + t - c t / full                  the pixel screened with the light
//   g = (C t / full) x / full               screened on n times: c = c + g - c g / full
//   g' = (t (C r / full) / full) c / full   once more with the current c, when r > 0
// Throws std::invalid_argument for other layouts.
void layLight(Image& picture, const Image& light, const PixelRect& rect, const std::array<int64_t, 3>& color,
              double amount);
