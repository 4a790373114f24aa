// Fast Blur and Defocus at their defaults and Overexpose at amount 50 on a 24-megapixel
// picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through their class tables as the tile
// loop renders one tile (source into a separate output), beside a memcpy of the same bytes to
// read the results against.
//
//   build-defocus/ravo_bench --benchmark_filter=BlurEffects
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

// A noisy opaque picture at 16 or 8 bits.
bench::PictureRecipe noise(uint32_t bytes) { return {.bytesPerChannel = bytes, .seed = 4242}; }

const bench::RenderOptions kDefaults{};
const bench::RenderOptions kOverexpose{.settings = {{"amount", 50}}};

void BlurEffectsMemcpy16(benchmark::State& state) { bench::copyPicture(state, noise(2)); }
void BlurEffectsMemcpy8(benchmark::State& state) { bench::copyPicture(state, noise(1)); }
void BlurEffectsFastBlur16(benchmark::State& state) { bench::renderEffect(state, "FastBlur", noise(2), kDefaults); }
void BlurEffectsFastBlur8(benchmark::State& state) { bench::renderEffect(state, "FastBlur", noise(1), kDefaults); }
void BlurEffectsDefocus16(benchmark::State& state) { bench::renderEffect(state, "Defocus", noise(2), kDefaults); }
void BlurEffectsDefocus8(benchmark::State& state) { bench::renderEffect(state, "Defocus", noise(1), kDefaults); }
void BlurEffectsOverexpose16(benchmark::State& state) {
    bench::renderEffect(state, "Overexpose", noise(2), kOverexpose);
}
void BlurEffectsOverexpose8(benchmark::State& state) {
    bench::renderEffect(state, "Overexpose", noise(1), kOverexpose);
}

BENCHMARK(BlurEffectsMemcpy16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsFastBlur16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsDefocus16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsOverexpose16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsMemcpy8)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsFastBlur8)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsDefocus8)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsOverexpose8)->Unit(benchmark::kMillisecond);

}  // namespace
