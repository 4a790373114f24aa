// Glow compositing: the shared ending of the mist, fog and glow looks.
//
// Light comes from a one-channel matte (full = full light) or from the picture's own lit
// pixels, is spread by the blur, and is laid back onto a four-channel picture with a
// strength ("amount"), a colour and one of two rules: screen, which approaches white without
// passing it, or add. Amounts above 1 apply the light repeatedly: K = trunc(amount x full)
// splits into n = K div (full + 1) whole applications and a partial one of weight
// r = K mod (full + 1). All per-pixel work is integer; alpha is never changed.
//
// The parameter records through which effects drive the engine (blur pair and gang switch,
// the two mode lists) live in fx/glow_parameters.h.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/scratch_image.h"

// Where the light comes from (the `source` argument): the picture's own light spread, or,
// for any other value, light where the blurred matte says.
constexpr int32_t kGlowFromMatte = 0;
constexpr int32_t kGlowFromImage = 1;

// How the light is laid on (the `mode` argument).
constexpr int32_t kGlowScreen = 0;
constexpr int32_t kGlowAdd = 1;

// Colour of the light, components 0..1 (values outside are held to it); (1, 1, 1) is white.
struct GlowColor {
    double red = 1.0;
    double green = 1.0;
    double blue = 1.0;

    bool isWhite() const { return red == 1.0 && green == 1.0 && blue == 1.0; }
};

// Amounts are held to 0 .. kLargestGlowAmount, so that trunc(amount x full) is a 32-bit number.
constexpr double kLargestGlowAmount = 65535.0;

// The whole engine, in place on the rect of image (four channels) with a one-channel matte of
// the same size and sample size. Blur sizes are in pixels of image; extraPasses goes to the
// blur. The matte is not changed. Throws std::invalid_argument for other layouts and
// std::bad_alloc when the light image cannot be had (the image may then be partly lit).
void applyGlow(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
               double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses);
// The same with the light image in lightMemory, which a caller that renders again keeps so
// that the next render reuses its memory.
void applyGlow(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
               double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses,
               ScratchImage& lightMemory);

// The image source in its two halves, for a caller that uses the spread light again after
// laying it on. spreadLight makes the light image in lightMemory: the lit part of image
// (four channels) premultiplied by matte, blurred over its whole bounds when either size is
// above 0. compositeLight lays such a light onto the rect of image by the add rule (kGlowAdd)
// or the screen rule (any other mode). Same layouts and exceptions as applyGlow.
Image& spreadLight(const Image& image, const Image& matte, double horizontalBlur, double verticalBlur,
                   uint32_t extraPasses, ScratchImage& lightMemory);
void compositeLight(Image& image, const Image& light, const PixelRect& rect, const GlowColor& color, double amount,
                    int32_t mode);

// The matte-source compositing step alone: lights the rect of image where matte says.
// Modes other than screen and add leave the pixels as they are.
void compositeGlow(Image& image, const Image& matte, const PixelRect& rect, const GlowColor& color, double amount,
                   int32_t mode);
