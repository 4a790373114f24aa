// Shrinking and growing a one-channel matte: a minimum or maximum filter whose
// radius may be fractional. The outermost sample of a fractional window counts
// with the fractional weight, so the matte's edge moves smoothly as the amount does.
#pragma once

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/source_margin.h"

// Filters rect of the one-channel source into the same place of destination (same size
// and sample size). amountX <= 0 shrinks (minimum) with radii |amountX|, |amountY|;
// a positive amountX grows (maximum) with radii amountX, amountY. Shrinking filters rows
// first, growing columns first, each through a temporary image the size of the source.
// Outside rect nothing of source is read and destination is left as it is.
void shrinkGrow(const Image& source, Image& destination, const PixelRect& rect, double amountX, double amountY);

// How far a shrink or grow by `amount` pixels (of the processed image) reads around a sample:
// its window reaches ceil(|amount|) samples either side. At most kLargestSourceMargin.
int32_t shrinkGrowMargin(double amount);
