// Fast Blur and Defocus at their defaults and Overexpose at amount 50 on a 24-megapixel
// picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through their class tables as the tile
// loop renders one tile (source into a separate output), beside a memcpy of the same bytes to
// read the results against.
//
//   build-defocus/ravo_bench --benchmark_filter=BlurEffects
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fx/effect_registry.h"
#include "fx/render_info.h"
#include "imaging/image.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kHeight = 4000;

// One noisy opaque picture per sample size, made once and kept for the whole run.
const ImagePtr& picture(uint32_t bytes) {
    static std::map<uint32_t, ImagePtr> pictures;
    ImagePtr& image = pictures[bytes];
    if (!image) {
        image = ImagePtr::make({kWidth, kHeight}, 4, bytes);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        uint32_t state = 4242;
        for (int32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = image->row<uint8_t>(y);
            for (size_t i = 0; i < size_t(kWidth) * 4; ++i) {
                state = state * 1664525u + 1013904223u;
                const uint32_t value = i % 4 == 3 ? full : (state >> 8) % (full + 1);
                if (bytes == 2)
                    reinterpret_cast<uint16_t*>(row)[i] = uint16_t(value);
                else
                    row[i] = uint8_t(value);
            }
        }
    }
    return image;
}

void renderEffect(benchmark::State& state, const char* key, std::vector<std::pair<const char*, double>> numbers,
                  uint32_t bytes) {
    const ImagePtr& source = picture(bytes);
    ImagePtr output = ImagePtr::make({kWidth, kHeight}, 4, bytes);
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    if (!effect) {
        state.SkipWithError("effect not registered");
        return;
    }
    for (const auto& [name, value] : numbers)
        for (uint32_t i = 0; i < effect->parameterCount; ++i)
            if (effect->parameter(i).name && std::strcmp(effect->parameter(i).name, name) == 0)
                effect->parameter(i).number = value;
    fx::Plugin::RenderInfo info;
    info.outputImage = output.get();
    info.renderRect = {0, 0, kHeight, kWidth};
    info.outputRect = info.renderRect;
    info.is16 = bytes == 2;
    info.imageWidth = kWidth;
    info.imageHeight = kHeight;
    effect->parameter(0).image = source;
    effect->effectClass->beginRender(effect.get(), &info);
    for (auto _ : state) {
        effect->effectClass->render(effect.get(), &info);
        benchmark::DoNotOptimize(output->data);
        benchmark::ClobberMemory();
    }
    effect->parameter(0).image.reset();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source->byteCount()));
}

void copyPicture(benchmark::State& state, uint32_t bytes) {
    const ImagePtr& image = picture(bytes);
    std::vector<uint8_t> target(image->byteCount(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), image->data, image->byteCount());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image->byteCount()));
}

void BlurEffectsMemcpy16(benchmark::State& state) { copyPicture(state, 2); }
void BlurEffectsMemcpy8(benchmark::State& state) { copyPicture(state, 1); }
void BlurEffectsFastBlur16(benchmark::State& state) { renderEffect(state, "FastBlur", {}, 2); }
void BlurEffectsFastBlur8(benchmark::State& state) { renderEffect(state, "FastBlur", {}, 1); }
void BlurEffectsDefocus16(benchmark::State& state) { renderEffect(state, "Defocus", {}, 2); }
void BlurEffectsDefocus8(benchmark::State& state) { renderEffect(state, "Defocus", {}, 1); }
void BlurEffectsOverexpose16(benchmark::State& state) { renderEffect(state, "Overexpose", {{"amount", 50}}, 2); }
void BlurEffectsOverexpose8(benchmark::State& state) { renderEffect(state, "Overexpose", {{"amount", 50}}, 1); }

BENCHMARK(BlurEffectsMemcpy16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsFastBlur16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsDefocus16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsOverexpose16)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsMemcpy8)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsFastBlur8)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsDefocus8)->Unit(benchmark::kMillisecond);
BENCHMARK(BlurEffectsOverexpose8)->Unit(benchmark::kMillisecond);

}  // namespace
