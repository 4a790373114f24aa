// Color Correct and Ozone on a 24-megapixel 16-bit RGBA picture (6000 x 4000), rendered in
// one tile through their class tables, beside a memcpy of the same bytes to read them
// against: the channel tables alone, the zones, the zones with a hue shift, and Ozone with
// three active zones, Selective Color with and without hue; each on a picture of noise and on a photograph-like one.
//
//   build-cc/ravo_bench --benchmark_filter=ColorCorrect
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fx/effect.h"
#include "fx/effect_registry.h"
#include "fx/render_info.h"
#include "imaging/image.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kHeight = 4000;

// The two 16-bit pictures, made once for the whole run, alpha opaque:
//   Noise  every sample random: every look-up lands somewhere else, the worst case
//   Photo  smooth colour gradients with a fine grain, the way photographs use the tables
enum class Content { Noise, Photo };

Image& picture(Content content) {
    static ImagePtr images[2];
    ImagePtr& image = images[content == Content::Photo];
    if (!image) {
        image = ImagePtr::make({kWidth, kHeight}, 4, 2);
        uint32_t state = 2024;
        for (int32_t y = 0; y < kHeight; ++y) {
            uint16_t* row = image->row<uint16_t>(y);
            for (int32_t x = 0; x < kWidth; ++x)
                for (int32_t c = 0; c < 4; ++c) {
                    state = state * 1664525u + 1013904223u;
                    uint32_t value = (state >> 8) % 32769;
                    if (content == Content::Photo) {
                        const uint32_t ramp = uint32_t(x * (3 + c) + y * (5 - c)) % 60000;
                        const uint32_t smooth = ramp < 30000 ? ramp : 60000 - ramp;
                        value = 1000 + smooth + (value & 255);
                    }
                    row[x * 4 + c] = c == 3 ? 32768 : uint16_t(value);
                }
        }
    }
    return *image;
}

using Settings = std::vector<std::pair<const char*, double>>;

void setNumber(Effect& effect, const char* key, double value) {
    for (uint32_t i = 0; i < effect.parameterCount; ++i)
        if (effect.parameter(i).name && std::strcmp(effect.parameter(i).name, key) == 0) {
            effect.parameter(i).number = value;
            return;
        }
    throw std::runtime_error(std::string("no parameter ") + key);
}

void renderEffect(benchmark::State& state, Content content, const char* key, Settings settings) {
    Image& source = picture(content);
    ImagePtr output = source.clone();
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    if (!effect) {
        state.SkipWithError("effect not registered");
        return;
    }
    for (const auto& [name, value] : settings) setNumber(*effect, name, value);

    fx::Plugin::RenderInfo info;
    info.is16 = true;
    info.imageWidth = kWidth;
    info.imageHeight = kHeight;
    info.outputImage = output.get();
    info.renderRect = {0, 0, kHeight, kWidth};
    info.outputRect = info.renderRect;
    info.tileCount = 1;
    info.tileIndex = 0;
    ++source.refCount;  // the record is owned here; the parameter's handle must not free it
    effect->parameter(0).image = ImagePtr(&source);
    for (auto _ : state) {
        // The prepare step runs per run of the filter; after the first it finds nothing changed.
        effect->effectClass->beginRender(effect.get(), &info);
        effect->effectClass->render(effect.get(), &info);
        benchmark::DoNotOptimize(output->data);
        benchmark::ClobberMemory();
    }
    effect->parameter(0).image.reset();
    --source.refCount;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.byteCount()));
}

void copyPicture(benchmark::State& state) {
    const Image& image = picture(Content::Noise);
    std::vector<uint8_t> target(image.byteCount(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), image.data, image.byteCount());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.byteCount()));
}

const Settings kMaster = {{"ccBrightness", 10}, {"ccContrast", 15}, {"ccGamma", -10}, {"ccMasterR", 5},
                          {"ccTintAmount", 5}};
const Settings kZones = {{"ccBrightness", 10}, {"ccMasterR", 5}, {"ccShadR", 40},
                         {"ccMidBri", 20},     {"ccMidGam", -15}, {"ccHighB", -30}};
const Settings kZonesAndHue = {{"ccBrightness", 10}, {"ccShadR", 40}, {"ccMidBri", 20},
                               {"ccHighB", -30},     {"ccMasterHue", 30}, {"ccMasterSat", 10}};
const Settings kOzoneThreeZones = {{"bri2", 30}, {"grn2", 50}, {"con5", 40}, {"red5", -60},
                                   {"gam8", 30}, {"red8", 20}, {"blu8", 120}};

// Selective Color through a blurred midtone matte: the channel tables and warm/cool, and the
// same with a hue shift.
const Settings kSelectiveTables = {{"ccBrightness", 10}, {"ccMasterR", 5}, {"warmCool", 10},
                                   {"position", 50},     {"range", 40},     {"matteBlurX", 10}};
const Settings kSelectiveHue = {{"hue", 30},      {"saturation", -20}, {"ccMasterR", 5},
                                {"position", 50}, {"range", 40},       {"matteBlurX", 10}};

const bool registered = [] {
    auto name = [](const char* picture, const char* what) {
        return std::string("ColorCorrect/RGBA16/") + picture + what;
    };
    benchmark::RegisterBenchmark(name("", "memcpy").c_str(), copyPicture)->Unit(benchmark::kMillisecond);
    for (const auto& [content, label] : {std::pair{Content::Noise, "noise/"}, std::pair{Content::Photo, "photo/"}}) {
        benchmark::RegisterBenchmark(name(label, "channelOnly").c_str(), renderEffect, content, "ColorCorrect", kMaster)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(name(label, "zones").c_str(), renderEffect, content, "ColorCorrect", kZones)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(name(label, "zonesAndHue").c_str(), renderEffect, content, "ColorCorrect",
                                     kZonesAndHue)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(name(label, "ozoneThreeZones").c_str(), renderEffect, content, "Ozone",
                                     kOzoneThreeZones)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(name(label, "selectiveTables").c_str(), renderEffect, content, "SelectiveColor",
                                     kSelectiveTables)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(name(label, "selectiveHue").c_str(), renderEffect, content, "SelectiveColor",
                                     kSelectiveHue)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
