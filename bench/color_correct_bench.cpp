// Color Correct and Ozone on a 24-megapixel 16-bit RGBA picture (6000 x 4000), rendered in
// one tile through their class tables, beside a memcpy of the same bytes to read them
// against: the channel tables alone, the zones, the zones with a hue shift, and Ozone with
// three active zones, Selective Color with and without hue; each on a picture of noise and on a photograph-like one.
//
//   build-cc/ravo_bench --benchmark_filter=ColorCorrect
#include <benchmark/benchmark.h>

#include <string>
#include <utility>

#include "bench/bench_support.h"

namespace {

using bench::Settings;

// The two 16-bit pictures, alpha opaque:
//   noise  every sample random: every look-up lands somewhere else, the worst case
//   photo  smooth colour gradients with a fine grain, the way photographs use the tables
const bench::PictureRecipe kNoise{.pattern = bench::Pattern::Noise, .bytesPerChannel = 2, .seed = 2024};
const bench::PictureRecipe kPhoto{.pattern = bench::Pattern::Photo, .bytesPerChannel = 2, .seed = 2024};

// The prepare step runs per run of the filter, so it is timed with each render; after the
// first it finds nothing changed. The output starts as a copy of the source.
void renderEffect(benchmark::State& state, const bench::PictureRecipe& picture, const char* key,
                  const Settings& settings) {
    bench::renderEffect(state, key, picture,
                        {.settings = settings,
                         .prepare = bench::Prepare::EveryIteration,
                         .output = bench::Output::CopyOfSource});
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
    struct Case {
        const char* name;
        const char* key;
        const Settings& settings;
    };
    const Case cases[] = {
        {"channelOnly", "ColorCorrect", kMaster},
        {"zones", "ColorCorrect", kZones},
        {"zonesAndHue", "ColorCorrect", kZonesAndHue},
        {"ozoneThreeZones", "Ozone", kOzoneThreeZones},
        {"selectiveTables", "SelectiveColor", kSelectiveTables},
        {"selectiveHue", "SelectiveColor", kSelectiveHue},
    };
    const std::string prefix = "ColorCorrect/RGBA16/";
    benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, kNoise)
        ->Unit(benchmark::kMillisecond);
    for (const auto& [picture, label] : {std::pair{kNoise, "noise/"}, std::pair{kPhoto, "photo/"}})
        for (const Case& c : cases)
            benchmark::RegisterBenchmark((prefix + label + c.name).c_str(), renderEffect, picture, c.key, c.settings)
                ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
