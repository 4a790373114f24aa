// Warps a one-channel image through a four-corner quad: the graduated filters lay their
// two-pixel ramp across a quadrilateral with it, Diffusion stretches its texture over the
// document.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/projective_matrix.h"

// Warps a one-channel source into rect of a one-channel destination of the same sample size:
// destination pixel (x, y) lies at (x + origin x, y + origin y) in the quad's coordinates; the
// quad is mapped onto the square from (-c, -c) to (1 + c, 1 + c), c = (1 - scale) / 2, the
// position there is held to 0..1 and the source read bilinearly at (u w / divisor,
// v h / divisor) for a source of w x h. A degenerate quad leaves rect cleared. Throws
// std::invalid_argument for other layouts.
void quadWarp(Image& destination, const Image& source, const PixelRect& rect, int32_t originX, int32_t originY,
              const Quad& quad, double scale, double divisor);
