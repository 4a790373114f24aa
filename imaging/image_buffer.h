// An image seen as rows of pixels that can be read or written a span at a time, whatever its
// sample size and channel count. The resampler reads and writes only through this.
#pragma once

#include <cstdint>

class ImageBuffer {
public:
    virtual ~ImageBuffer() = default;
    virtual uint32_t channels() const = 0;
    virtual uint32_t bytesPerChannel() const = 0;
    virtual void getSize(int32_t& width, int32_t& height) const = 0;
    // Copies count pixels from (row, column) on into destination (count x bytes per pixel bytes).
    virtual void readSpan(int32_t row, int32_t column, int32_t count, void* destination) const = 0;
    // Copies count pixels from source into the image from (row, column) on.
    virtual void writeSpan(int32_t row, int32_t column, int32_t count, const void* source) = 0;
};
