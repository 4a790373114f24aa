// Laying a one-channel shape into a one-channel matte: the eight ways of the "Blend Mode" list,
// all scaled by the shape's opacity.
//
// With o the opacity (0..1), k = trunc(o x full) and S' = S x k / full, every sample of the
// matte M becomes:
//
//   ShapeOnly   S when o is exactly 1, otherwise S' (the matte is replaced)
//   Add         min(full, M + S')
//   Subtract    max(0, M - S') (the shape is taken out of the matte)
//   Multiply    min(full, M x trunc(S x o) / full)
//   Screen      S' + M - M x S' / full
//   Difference  S' + M - 2 x M x S' / full
//   Darken      min(M, S')
//   Lighten     max(M, S')
//
// Integer arithmetic on the sample type's scale, divisions truncating, results held to 0..full.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// In the order of the list's items.
enum class ShapeBlend : uint32_t { ShapeOnly, Add, Subtract, Multiply, Screen, Difference, Darken, Lighten };
constexpr uint32_t kShapeBlendCount = 8;

// Whether the blend gives no light outside the shape's own area: the matte is cleared there
// before blending, so that a shape spread by its blur cannot lift the matte beyond it.
constexpr bool keepsInsideShape(ShapeBlend blend) {
    return blend == ShapeBlend::Multiply || blend == ShapeBlend::Darken;
}

// Blends shape into matte over rect (both one channel, one size and depth). Opacities outside
// 0..1 are held to it. Throws std::invalid_argument for other layouts.
void blendShape(Image& matte, const Image& shape, const PixelRect& rect, ShapeBlend blend, double opacity);
