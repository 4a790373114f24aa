// Night Vision on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through
// its class table in one tile as the tile loop does (source into a separate output), beside a
// memcpy of the same bytes to read the results against.
//
//   defaults   matte, grey, glow (spread, blur 30), tint, grain
//   NoGrain    the same without the grain
//   Flat       neither glow nor grain: the grey conversion and the tint alone
//
//   build/ravo_bench --benchmark_filter=NightVision
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

const bool registered = [] {
    bench::registerEffectCases("NightVision", "NightVision",
                               {
                                   {"defaults", {}},
                                   {"NoGrain", {{"GrainAmount", 0}}},
                                   {"Flat", {{"GrainAmount", 0}, {"glowBrightness", 0}}},
                               });
    return true;
}();

}  // namespace
