// The edge image of a picture: how sharply its luminance changes at each pixel.
#pragma once

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// Writes the edges of the four-channel source over rect into the one-channel image edges (same
// size and sample size): the magnitude of the 3 x 3 Sobel differences (weights 1, 2, 1) of the
// luminance, e = trunc(trunc(sqrt(gx^2 + gy^2)) x 0.17667844522968199), that is divided by
// 5.66, so that the strongest 8-bit edge stays below 255 (0..32767 at 16 bits). Rows above and
// below rect and columns beside it are taken equal to its outermost ones: nothing outside rect
// is read.
void detectEdges(const Image& source, Image& edges, const PixelRect& rect);
