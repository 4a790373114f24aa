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

#include <algorithm>
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

// A picture with broad light and dark areas and fine noise, opaque; made once per sample size.
const Image& picture(uint32_t bytes) {
    static std::map<uint32_t, ImagePtr> pictures;
    ImagePtr& image = pictures[bytes];
    if (!image) {
        image = ImagePtr::make({kWidth, kHeight}, 4, bytes);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        uint32_t state = 12345;
        for (int32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = image->row<uint8_t>(y);
            for (int32_t x = 0; x < kWidth; ++x)
                for (uint32_t c = 0; c < 4; ++c) {
                    state = state * 1664525u + 1013904223u;
                    const uint32_t broad = ((x / 500 + y / 400) % 3) * full / 2;
                    const uint32_t value = c == 3 ? full : std::min(full, broad / 2 + (state >> 8) % (full / 2 + 1));
                    const size_t i = size_t(x) * 4 + c;
                    if (bytes == 2)
                        reinterpret_cast<uint16_t*>(row)[i] = uint16_t(value);
                    else
                        row[i] = uint8_t(value);
                }
        }
    }
    return *image;
}

using Settings = std::vector<std::pair<const char*, double>>;

void renderEffect(benchmark::State& state, const char* key, Settings settings, uint32_t bytes) {
    const Image& source = picture(bytes);
    ImagePtr output = ImagePtr::make({kWidth, kHeight}, 4, bytes);
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    if (!effect) {
        state.SkipWithError("effect not registered");
        return;
    }
    for (const auto& [name, value] : settings)
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
        const std::string prefix = std::string("LowContrastMatte/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), copyPicture, bytes)->Unit(benchmark::kMillisecond);
        for (const Case& c : cases)
            benchmark::RegisterBenchmark((prefix + c.name).c_str(), renderEffect, c.key, c.settings, bytes)
                ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
