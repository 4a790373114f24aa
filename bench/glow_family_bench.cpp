// Black Mist on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through
// its class table in one tile as the tile loop does (source into a separate output), beside a
// memcpy of the same bytes to read the results against.
//
//   BlackMist            the defaults: matte, copy, colour correction, glow (spread, blur 30)
//   BlackMist/Matte      the Matte view: the matte extraction and its display alone
//   BlackMist/NoGlow     brightness 0: the copy and the colour correction alone
//   BlackMist/Subtle     the glow from the blurred matte instead of the picture's light
//
// The three partial cases split the figure of the defaults into its steps.
//
//   build/ravo_bench --benchmark_filter=GlowFamily
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"

namespace {

using bench::Settings;

const bool registered = [] {
    struct Case {
        const char* name;
        Settings settings;
    };
    const Case cases[] = {
        {"BlackMist", {}},
        {"BlackMist/Matte", {{"view", 1}}},
        {"BlackMist/NoGlow", {{"glowBrightness", 0}}},
        {"BlackMist/Subtle", {{"glowMode", 0}}},
    };
    for (uint32_t bytes : {2u, 1u}) {
        const bench::PictureRecipe picture{
            .pattern = bench::Pattern::BroadAreas, .bytesPerChannel = bytes, .seed = 12345};
        const std::string prefix = std::string("GlowFamily/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, picture)
            ->Unit(benchmark::kMillisecond);
        for (const Case& c : cases)
            benchmark::RegisterBenchmark((prefix + c.name).c_str(), bench::renderEffect, "BlackMist", picture,
                                         bench::RenderOptions{.settings = c.settings})
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
