// Texture and shape image files: PNG or JPEG, read entirely from memory into a one-channel
// image in the sample size of the render.
//
// Grey files give their grey levels; colour files (RGB, palette, colour JPEG) give the
// average (R + G + B) / 3 of each pixel; alpha is ignored. 16-bit PNG samples keep their
// high byte. For a 16-bit render every 8-bit level s becomes trunc(s x 128.5 + 0.5), so that
// 0 stays 0 and 255 becomes 32768. Any failure (no such file, not a PNG or a JPEG, damaged
// or truncated data, a CMYK JPEG, a picture of more than kMaxTexturePixels) gives a null
// handle and no message: the calling effect then renders without the texture. Only running
// out of memory for the image itself escapes, as the out-of-memory exception.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/image.h"

// Textures larger than this many pixels are refused rather than allocated.
constexpr uint64_t kMaxTexturePixels = uint64_t(1) << 28;

// Reads the file at path (a PNG when it starts with the PNG signature, otherwise a JPEG).
ImagePtr readTextureImage(const char* path, bool sixteenBit);

// The same for a file's bytes already in memory; nothing is read outside data[0 .. size).
ImagePtr decodeTextureImage(const uint8_t* data, size_t size, bool sixteenBit);
