// Black and White ("Normal" filter, sliders at 0) on a 24-megapixel picture (6000 x 4000
// RGBA) at 16 and 8 bits, rendered through its class table as the tile loop does (source
// into a separate output), beside a memcpy of the same bytes to read the results against.
// Bleach Bypass at its defaults is measured the same way.
//
//   build-bw/ravo_bench --benchmark_filter=Monochrome
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fx/effect_registry.h"
#include "fx/render_info.h"
#include "imaging/image.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kHeight = 4000;

// One noisy opaque picture per sample size, made once and kept for the whole run.
const Image& picture(uint32_t bytes) {
    static std::map<uint32_t, ImagePtr> pictures;
    ImagePtr& image = pictures[bytes];
    if (!image) {
        image = ImagePtr::make({kWidth, kHeight}, 4, bytes);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        uint32_t state = 12345;
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
    return *image;
}

void renderEffect(benchmark::State& state, const char* key, uint32_t bytes) {
    const Image& source = picture(bytes);
    ImagePtr output = ImagePtr::make({kWidth, kHeight}, 4, bytes);
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    if (!effect) {
        state.SkipWithError("effect not registered");
        return;
    }
    fx::Plugin::RenderInfo info;
    info.outputImage = output.get();
    info.renderRect = {0, 0, kHeight, kWidth};
    info.outputRect = info.renderRect;
    info.is16 = bytes == 2;
    info.imageWidth = kWidth;
    info.imageHeight = kHeight;
    effect->parameter(0).image = ImagePtr(const_cast<Image*>(&source));
    effect->effectClass->beginRender(effect.get(), &info);
    for (auto _ : state) {
        effect->effectClass->render(effect.get(), &info);
        benchmark::DoNotOptimize(output->data);
        benchmark::ClobberMemory();
    }
    effect->parameter(0).image.reset();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.byteCount()));
}

void copyPicture(benchmark::State& state, uint32_t bytes) {
    const Image& image = picture(bytes);
    std::vector<uint8_t> target(image.byteCount(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), image.data, image.byteCount());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.byteCount()));
}

const bool registered = [] {
    for (uint32_t bytes : {2u, 1u}) {
        const std::string prefix = std::string("Monochrome/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), copyPicture, bytes)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((prefix + "BlackAndWhite").c_str(), renderEffect, "BlackAndWhite", bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((prefix + "BleachBypass").c_str(), renderEffect, "BleachBypass", bytes)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
