// A working image whose memory is kept from one render to the next.
//
// Large working images (a glow's light, a matte) are needed in full on every render. Memory
// fresh from the system costs a page fault per page on first use, which on a 24-megapixel
// picture takes longer than the arithmetic done on it; an owner that renders again reuses
// the pages it already has. The memory grows when a larger image is asked for and is freed
// with the owner. A copy of the owner starts with no memory of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include "imaging/image.h"
#include "imaging/pixel_memory.h"

class ScratchImage {
public:
    ScratchImage() = default;
    ScratchImage(const ScratchImage&) {}
    ScratchImage& operator=(const ScratchImage&) { return *this; }

    // An image of the given layout over the kept memory, its pixels left as they are (not
    // cleared). It stays valid until the next call or release. Throws std::bad_alloc when the
    // memory cannot be had; the kept memory is then already freed.
    Image& imageOf(ImageSize size, uint32_t channels, uint32_t bytesPerChannel);

    // Frees the memory.
    void release();

    size_t capacity() const { return capacity_; }

private:
    PixelMemory storage_;
    size_t capacity_ = 0;
    Image view_;
};
