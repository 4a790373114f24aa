// The ramp of the graduated filters: a one-channel matte that falls linearly from full to 0
// across a freely placed quadrilateral, in one of four directions.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/projective_matrix.h"

// Items of the "Direction" list; the index is buildGradientMatte's direction.
namespace GradientDirection {
constexpr uint32_t kTopToBottom = 0;
constexpr uint32_t kBottomToTop = 1;
constexpr uint32_t kLeftToRight = 2;
constexpr uint32_t kRightToLeft = 3;
constexpr uint32_t kCount = 4;
}  // namespace GradientDirection

// Fills rect of a one-channel matte (8 or 16 bits) with the ramp. Matte pixel (x, y) lies at
// (x + originX, y + originY) in the coordinates of the corners (upper-left, upper-right,
// lower-right, lower-left). The ramp is full at the quad's top edge for Top-to-bottom, at its
// bottom edge for Bottom-to-top, at its left and right edges for the other two. size 1
// spreads the transition over the whole quad, smaller sizes harden it around the middle,
// larger ones soften it. A degenerate quad leaves rect cleared. A direction outside the list
// counts as Top-to-bottom.
void buildGradientMatte(Image& matte, const PixelRect& rect, int32_t originX, int32_t originY, const Quad& corners,
                        double size, uint32_t direction);
