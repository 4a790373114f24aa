// Memory for pixel buffers.
//
// The first use of memory fresh from the system costs one page fault per page, and on a
// 24-megapixel picture those faults take longer than the arithmetic done on the pixels. Large
// buffers are therefore placed on 2 MiB boundaries and, on Linux, offered to the kernel's huge
// pages, one of which stands for 512 small ones. Small buffers are ordinary heap blocks. The
// contents are not cleared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct PixelMemoryRelease {
    void operator()(uint8_t* memory) const;
};

using PixelMemory = std::unique_ptr<uint8_t[], PixelMemoryRelease>;

// A buffer of at least `bytes` bytes (null for 0). Throws std::bad_alloc when it cannot be had.
PixelMemory allocatePixelMemory(size_t bytes);
