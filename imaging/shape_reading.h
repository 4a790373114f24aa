// Reading a one-channel shape stretched over the whole picture into one block of it, the shape
// optionally displaced by the picture's own luminance so that it seems to wrap over what it
// falls on.
//
// Picture pixel (x, y) reads the shape at ((x + d dx) rx, (y + d dy) ry): rx and ry carry
// picture coordinates onto the shape (shape size over picture size), dx and dy are the
// displacement lengths in picture pixels, and d = (L - half) / half runs from -1 to 1 with the
// luminance L of the pixel (half = 127.5 at 8 bits, 16384 at 16). The read is bilinear: the four
// shape samples around the point, those outside the shape counting as 0, mixed first along x,
// a = s00 + (s10 - s00) fx and b = s01 + (s11 - s01) fx, then along y, trunc(a + (b - a) fy),
// fx and fy being the point's distances from the sample to its upper left (0..1, also left of
// and above the shape).
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

struct ShapeReading {
    // Picture coordinates of the block's pixel (0, 0).
    int32_t originX = 0;
    int32_t originY = 0;
    // Shape pixels per picture pixel.
    double ratioX = 1.0;
    double ratioY = 1.0;
    // The displacement lengths in picture pixels; both 0 read every pixel where it lies.
    double shiftX = 0.0;
    double shiftY = 0.0;
};

// Fills rect of out (one channel) with the shape as it falls on the block. picture is the
// block's four-channel picture, of out's size and depth, whose luminance displaces the shape; it
// is read only when a shift is not 0. A null shape, or one without pixels, reads 0 everywhere.
// Throws std::invalid_argument when the layouts do not fit.
void readShape(const Image* shape, const Image& picture, Image& out, const PixelRect& rect,
               const ShapeReading& reading);
