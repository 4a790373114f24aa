// Star at its defaults (size 100, brightness 200, an unblurred matte of the near-white levels)
// on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through its class
// table in one tile as the tile loop does (source into a separate output), beside a memcpy of
// the same bytes to read the results against. The picture's light blocks give the matte broad
// highlights, so every step of the render works on most of the picture.
//
//   build/ravo_bench --benchmark_filter=Star
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"

namespace {

const bool registered = [] {
    for (uint32_t bytes : {2u, 1u}) {
        const bench::PictureRecipe picture{.pattern = bench::Pattern::BroadAreas, .bytesPerChannel = bytes, .seed = 777};
        const std::string prefix = std::string("Star/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, picture)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((prefix + "defaults").c_str(), bench::renderEffect, "Star", picture,
                                     bench::RenderOptions{})
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
