#include "imaging/pixel_memory.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// Buffers from this size on are worth huge pages; below it the rounding would waste too much.
constexpr size_t kLargeBuffer = size_t(8) << 20;
constexpr size_t kHugePage = size_t(2) << 20;

}  // namespace

void PixelMemoryRelease::operator()(uint8_t* memory) const { std::free(memory); }

PixelMemory allocatePixelMemory(size_t bytes) {
    if (bytes == 0) return PixelMemory();
    void* memory = nullptr;
#if defined(__linux__)
    if (bytes >= kLargeBuffer) {
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (rounded < bytes || posix_memalign(&memory, kHugePage, rounded) != 0) throw std::bad_alloc();
        // Advice only: without huge pages the buffer works the same, page by page.
        madvise(memory, rounded, MADV_HUGEPAGE);
        return PixelMemory(static_cast<uint8_t*>(memory));
    }
#endif
    memory = std::malloc(bytes);
    if (memory == nullptr) throw std::bad_alloc();
    return PixelMemory(static_cast<uint8_t*>(memory));
}
