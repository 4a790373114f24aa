// Low Contrast and Matte Generator on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and
// 8 bits, rendered through their class tables in one tile as the tile loop does (source into
// a separate output), beside a memcpy of the same bytes to read the results against.
//
//   Low Contrast at its defaults (spread 100, matte unblurred) and with a blurred matte
//   (matte blur 40, spread 200); Matte Generator at its defaults (extraction only) and with
//   a grow of 3 and a blur of 30.
//
//   build-<you>/ravo_bench --benchmark_filter=LowContrastMatte
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"

namespace {

using bench::Settings;

const bool registered = [] {
    struct Case {
        const char* name;
        const char* key;
        Settings settings;
    };
    const Case cases[] = {
        {"LowContrast", "LowContrast", {}},
        {"LowContrastBlurredMatte", "LowContrast", {{"matteBlur", 40}, {"lightSpread", 200}}},
        {"MatteGenerator", "MatteGenerator", {}},
        {"MatteGeneratorGrownBlurred", "MatteGenerator", {{"matteAdjust", 3}, {"matteBlurX", 30}}},
    };
    for (uint32_t bytes : {2u, 1u}) {
        // A picture with broad light and dark areas and fine noise, opaque.
        const bench::PictureRecipe picture{
            .pattern = bench::Pattern::BroadAreas, .bytesPerChannel = bytes, .seed = 12345};
        const std::string prefix = std::string("LowContrastMatte/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, picture)
            ->Unit(benchmark::kMillisecond);
        for (const Case& c : cases)
            benchmark::RegisterBenchmark((prefix + c.name).c_str(), bench::renderEffect, c.key, picture,
                                         bench::RenderOptions{.settings = c.settings})
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
