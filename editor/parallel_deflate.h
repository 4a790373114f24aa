// Compressing the strips of a picture on several threads, each strip a zlib stream of its own
// made by libdeflate, and handing the results over in order on the calling thread.
//
// A strip is compressed on its own, so its bytes depend only on its contents and the level,
// never on which thread made it or how many there were: a file comes out the same on one
// thread as on many.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace editor {

struct DeflatePlan {
    size_t strips = 0;
    size_t largestStrip = 0;  // the most bytes one strip holds before compression
    int level = 1;            // libdeflate's level, 1 to 12
    unsigned threads = 0;     // threads that compress, the calling one among them; 0: one per core
};

// Writes strip's uncompressed bytes to `out` (room for largestStrip) and returns how many.
// It runs on any of the threads, several strips at once, so it may only read shared data, and
// it must not throw.
using FillStrip = std::function<size_t(size_t strip, uint8_t* out)>;
// Receives strip's compressed bytes on the calling thread, strips in order from 0. An
// exception from it stops the work and propagates once every thread has stopped.
using TakeStrip = std::function<void(size_t strip, const uint8_t* bytes, size_t size)>;

// Fewer threads than asked are used when there are fewer strips, when the strips in flight
// would take more than about 256 MB, or when the system will not start more. Throws
// std::bad_alloc when memory runs out, std::runtime_error if libdeflate fails.
void deflateStrips(const DeflatePlan& plan, const FillStrip& fill, const TakeStrip& take);

}  // namespace editor
