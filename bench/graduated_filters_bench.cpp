// The graduated filters, Polarizer and Tint at their defaults on 24-megapixel RGBA pictures
// (6000 x 4000) at 8 and 16 bits, rendered in one tile through their class tables, beside a
// memcpy of the same bytes to read them against.
//
//   build/ravo_bench --benchmark_filter=Grads
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"

namespace {

// Colour ramps with a fine grain, alpha opaque: every hue and level the tint's HSV round trip
// meets in a photograph.
bench::PictureRecipe gradients(uint32_t bytesPerChannel) {
    return {.pattern = bench::Pattern::Gradients, .bytesPerChannel = bytesPerChannel, .seed = 2025};
}

// The prepare step runs once per run of the filter and is timed with each render; the output
// starts as a copy of the source, as the host's output block does.
void renderAtDefaults(benchmark::State& state, const char* key, uint32_t bytesPerChannel) {
    bench::renderEffect(state, key, gradients(bytesPerChannel),
                        {.prepare = bench::Prepare::EveryIteration, .output = bench::Output::CopyOfSource});
}

const bool registered = [] {
    for (const uint32_t bytes : {1u, 2u}) {
        const std::string prefix = std::string("Grads/RGBA") + (bytes == 1 ? "8/" : "16/");
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, gradients(bytes))
            ->Unit(benchmark::kMillisecond);
        for (const char* key : {"ColorGrad", "NDGrad", "Polarizer", "Tint"})
            benchmark::RegisterBenchmark((prefix + key).c_str(), renderAtDefaults, key, bytes)
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
