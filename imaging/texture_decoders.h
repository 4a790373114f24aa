// The two decoders behind decodeTextureImage, and the row conversion they share.
//
// The decoders report errors by longjmp. Every library call that may jump runs in a small
// function whose frame holds setjmp and nothing with a destructor; the library structures,
// buffers and the image are owned by the caller's frame, which longjmp never skips.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/image.h"

namespace texture {

// The one-channel image for a width x height texture, or null when it has no pixels or
// more than kMaxTexturePixels.
ImagePtr makeTextureImage(uint64_t width, uint64_t height, bool sixteenBit);

// Stores row y of a decoded 8-bit picture with `channels` interleaved samples a pixel:
// 1 or 2 are grey (and alpha), 3 or 4 red, green, blue (and alpha).
void storeRow(Image& image, int32_t y, const uint8_t* samples, int channels);

bool hasPngSignature(const uint8_t* data, size_t size);
ImagePtr decodePng(const uint8_t* data, size_t size, bool sixteenBit);
ImagePtr decodeJpeg(const uint8_t* data, size_t size, bool sixteenBit);

}  // namespace texture
