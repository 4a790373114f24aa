// Grain on a 24-megapixel picture (6000 x 4000 RGBA) at 8 and 16 bits, one thread, rendered
// through its class table in one tile as a run of the filter does (the prepare step, which
// reads the settings and rebuilds the noise, in every iteration), beside a memcpy of the same
// bytes to read the results against. At its defaults (one noise byte per pixel) and with
// coarse grain (noise fields enlarged with the cubic filter).
//
//   build/ravo_bench --benchmark_filter=Grain
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "bench/bench_support.h"

namespace {

const bool registered = [] {
    const bench::Settings coarse = {{"grainRSize", 4}, {"grainGSize", 4}, {"grainBSize", 4}};
    for (uint32_t bytes : {1u, 2u}) {
        const std::string prefix = std::string("Grain/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        // Noise: every luminance random, the response table read all over (the worst case);
        // gradients: smooth ramps under a fine grain, as photographs read it.
        const bench::PictureRecipe noise{.bytesPerChannel = bytes, .seed = 12345};
        const bench::PictureRecipe gradients{.pattern = bench::Pattern::Gradients, .bytesPerChannel = bytes};
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, noise)
            ->Unit(benchmark::kMillisecond);
        for (const auto& [name, picture] : {std::pair{"noise", noise}, std::pair{"gradients", gradients}}) {
            benchmark::RegisterBenchmark((prefix + name + "/defaults").c_str(), bench::renderEffect, "Grain", picture,
                                         bench::RenderOptions{.prepare = bench::Prepare::EveryIteration})
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(
                (prefix + name + "/size4").c_str(), bench::renderEffect, "Grain", picture,
                bench::RenderOptions{.settings = coarse, .prepare = bench::Prepare::EveryIteration})
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace
