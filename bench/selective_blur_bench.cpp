// Selective Soft Focus, Skin Smoother and Center Spot at their defaults on a 24-megapixel
// picture (6000 x 4000, RGBA) in one tile, in 8 and 16 bits, beside a memcpy of the same bytes
// and a plain blur of the picture with the same size, to read the results against.
//
//   build-spot/ravo_bench --benchmark_filter=SelectiveBlur
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fx/effect_registry.h"
#include "fx/render_info.h"
#include "imaging/blur.h"
#include "imaging/image.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kHeight = 4000;

// A smooth picture with fine texture, made once per sample size and kept for the whole run.
Image& picture(uint32_t bytes) {
    static std::map<uint32_t, ImagePtr> pictures;
    ImagePtr& image = pictures[bytes];
    if (!image) {
        image = ImagePtr::make({kWidth, kHeight}, 4, bytes);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        uint32_t state = 12345;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                state = state * 1664525u + 1013904223u;
                const uint32_t grain = (state >> 24) & 15;
                const uint32_t values[4] = {(uint32_t(x) * full / kWidth + grain * full / 255) % (full + 1),
                                            (uint32_t(y) * full / kHeight + grain * full / 255) % (full + 1),
                                            (uint32_t(x + y) * full / (kWidth + kHeight)), full};
                for (uint32_t c = 0; c < 4; ++c) {
                    if (bytes == 2)
                        image->row<uint16_t>(y)[size_t(x) * 4 + c] = uint16_t(values[c]);
                    else
                        image->row<uint8_t>(y)[size_t(x) * 4 + c] = uint8_t(values[c]);
                }
            }
    }
    return *image;
}

void renderEffect(benchmark::State& state, const char* key, uint32_t bytes) {
    Image& source = picture(bytes);
    ImagePtr output = source.clone();
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    if (!effect) {
        state.SkipWithError("effect not registered");
        return;
    }
    fx::Plugin::RenderInfo info;
    info.is16 = bytes == 2;
    info.imageWidth = kWidth;
    info.imageHeight = kHeight;
    info.outputImage = output.get();
    info.renderRect = {0, 0, kHeight, kWidth};
    info.outputRect = {0, 0, kHeight, kWidth};
    info.tileCount = 1;
    info.tileIndex = 0;
    effect->parameter(0).image = ImagePtr(&source);
    ++source.refCount;  // the picture is kept by the cache above; the handle must not free it
    for (auto _ : state) {
        effect->effectClass->render(effect.get(), &info);
        benchmark::DoNotOptimize(output->data);
        benchmark::ClobberMemory();
    }
    effect->parameter(0).image.reset();
    --source.refCount;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.byteCount()));
}

// The picture blurred in place with the default size of Selective Soft Focus (two passes).
void blurPicture(benchmark::State& state, uint32_t bytes) {
    ImagePtr image = picture(bytes).clone();
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
