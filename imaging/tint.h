// Darkening and tinting a picture in proportion to a one-channel matte: the neutral-density and
// colour steps of the graduated filters, Tint, Dual Tint and Night Vision.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// Items of the "Tint Mode" list.
namespace TintMode {
// The pixel takes the tint's hue and saturation and keeps its value.
constexpr uint32_t kHsv = 0;
// As HSV, and the highlights keep their own colour in proportion to "HLS Highlights".
constexpr uint32_t kHls = 1;
// The pixel takes the tint's hue and keeps its saturation and value.
constexpr uint32_t kReplace = 2;
constexpr uint32_t kCount = 3;
}  // namespace TintMode

struct TintSettings {
    // Red, green, blue at the picture's depth (0..255 or 0..32768).
    std::array<uint32_t, 3> color = {0, 0, 0};
    // Fractions 0..1.
    double opacity = 1.0;
    uint32_t mode = TintMode::kHsv;
    double highlights = 1.0;
};

// Darkens the colour channels of an RGBA picture over rect where the matte (one channel, the
// same depth) is not 0: with A = trunc(amount x full), every channel is scaled by
// (full - m A / full) / full, truncated. Alpha untouched.
void applyNdDarken(Image& image, const Image& matte, const PixelRect& rect, double amount);

// Tints an RGBA picture over rect in proportion to the matte (one channel, the same depth):
// with a = m trunc(opacity x full) / full, each colour channel becomes
// (c (full - a) + t a) / full, t the pixel recoloured with the tint's hue (and saturation,
// except in Replace mode) at its own value. In HLS mode the result is then mixed back towards
// the original by the picture's highlight matte times trunc(highlights x full). Alpha untouched.
void applyTint(Image& image, const Image& matte, const PixelRect& rect, const TintSettings& tint);

// applyTint with the matte full everywhere.
void applyWholeTint(Image& image, const PixelRect& rect, const TintSettings& tint);
