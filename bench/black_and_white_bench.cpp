// Black and White ("Normal" filter, sliders at 0) on a 24-megapixel picture (6000 x 4000
// RGBA) at 16 and 8 bits, rendered through its class table as the tile loop does (source
// into a separate output), beside a memcpy of the same bytes to read the results against.
// Bleach Bypass at its defaults is measured the same way.
//
//   build-bw/ravo_bench --benchmark_filter=Monochrome
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"

namespace {

const bool registered = [] {
    for (uint32_t bytes : {2u, 1u}) {
        // A noisy opaque picture.
        const bench::PictureRecipe noise{.bytesPerChannel = bytes, .seed = 12345};
        const std::string prefix = std::string("Monochrome/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, noise)
            ->Unit(benchmark::kMillisecond);
        for (const char* key : {"BlackAndWhite", "BleachBypass"})
            benchmark::RegisterBenchmark((prefix + key).c_str(), bench::renderEffect, key, noise,
                                         bench::RenderOptions{})
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
