// Selective Soft Focus, Skin Smoother and Center Spot at their defaults on a 24-megapixel
// picture (6000 x 4000, RGBA) in one tile, in 8 and 16 bits, beside a memcpy of the same bytes
// and a plain blur of the picture with the same size, to read the results against.
//
//   build-spot/ravo_bench --benchmark_filter=SelectiveBlur
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "imaging/blur.h"
#include "imaging/image.h"

namespace {

// A smooth picture with fine texture, opaque.
bench::PictureRecipe gradients(uint32_t bytes) {
    return {.pattern = bench::Pattern::Gradients, .bytesPerChannel = bytes, .seed = 12345};
}

// The effect renders into a copy of the source.
void renderEffect(benchmark::State& state, const char* key, uint32_t bytes) {
    bench::renderEffect(state, key, gradients(bytes), {.output = bench::Output::CopyOfSource});
}

// A copy of the picture blurred in place with the default size of Selective Soft Focus (two passes).
void blurPicture(benchmark::State& state, uint32_t bytes) {
    ImagePtr image = bench::picture(gradients(bytes))->clone();
    Blur blur;
    blur.setExtraPasses(1);
    blur.setSize(10.0f, 10.0f);
    for (auto _ : state) {
        blur.apply(*image, image->bounds);
        benchmark::DoNotOptimize(image->data);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image->byteCount()));
}

void copyPicture(benchmark::State& state, uint32_t bytes) { bench::copyPicture(state, gradients(bytes)); }

std::string nameOf(const char* what, uint32_t bytes) {
    char name[80];
    std::snprintf(name, sizeof name, "SelectiveBlur/RGBA%u/%s", bytes * 8, what);
    return name;
}

const bool registered = [] {
    for (uint32_t bytes : {1u, 2u}) {
        benchmark::RegisterBenchmark(nameOf("memcpy", bytes).c_str(), copyPicture, bytes)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(nameOf("blur10", bytes).c_str(), blurPicture, bytes)->Unit(benchmark::kMillisecond);
        for (const char* key : {"SelectiveFocus", "SkinSmoother", "CenterSpot"})
            benchmark::RegisterBenchmark(nameOf(key, bytes).c_str(), renderEffect, key, bytes)
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
