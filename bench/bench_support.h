// What the benchmarks share: the 24-megapixel test pictures, the memcpy of the same bytes that
// every figure is read against, and one render of an effect in a single tile through its class
// table, the way the tile loop drives it.
//
// Pictures are made once per description and kept for the whole run, so each benchmark times
// only its own work. A description always gives the same pixels (fixed formula and seed), so
// figures stay comparable from run to run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "fx/effect.h"
#include "imaging/image.h"

namespace bench {

constexpr int32_t kWidth = 6000;
constexpr int32_t kHeight = 4000;

// What a test picture shows. Every pattern draws from one linear congruential sequence started
// at the picture's seed.
enum class Pattern {
    // Every sample random over the whole scale: each table look-up lands somewhere else.
    Noise,
    // Light, middle and dark blocks of 500 x 400 under a fine noise of half the scale.
    BroadAreas,
    // Red rising across, green rising down, blue along the diagonal, with a fine grain drawn
    // once per pixel; four channels, alpha at full scale.
    Gradients,
    // Smooth colour ramps with a fine grain, the way photographs use the tables; 16 bits only.
    Photo,
};

struct PictureRecipe {
    Pattern pattern = Pattern::Noise;
    uint32_t channels = 4;
    uint32_t bytesPerChannel = 1;
    uint32_t seed = 12345;
    // The fourth channel at full scale; otherwise it is drawn like the colour channels.
    bool opaque = true;
};

// A new kWidth x kHeight picture as described. Throws std::invalid_argument for a description
// the patterns do not cover.
ImagePtr makePicture(const PictureRecipe& recipe);

// The picture as described, made on first use and shared by every benchmark that asks for the
// same description: read it, never change it.
const ImagePtr& picture(const PictureRecipe& recipe);

// A memcpy of the picture's bytes per iteration: the unit the other figures are quoted against.
void copyBytes(benchmark::State& state, const Image& image);
void copyPicture(benchmark::State& state, const PictureRecipe& recipe);

// The first parameter with this scripting key, or null.
Parameter* parameterNamed(Effect& effect, const char* key);
// Sets a Number's value, a List's index or a Boolean's state (non-zero is on) by scripting key;
// false when no parameter has the key.
bool setValue(Effect& effect, const char* key, double value);

// Values set by scripting key before the render: a Number's value, a List's index, a
// Boolean's state (non-zero is on).
using Settings = std::vector<std::pair<const char*, double>>;

// Where the prepare step (beginRender) runs.
enum class Prepare {
    // Once before the timed loop, as for one run of the filter.
    Once,
    // Before every timed render, as on every run of the filter: it is part of the figure.
    EveryIteration,
    // A new effect, prepared, for every timed render, as on the first run of the filter after
    // the host loads the plug-in: what an effect keeps between runs (files read, textures
    // placed) is made again each time.
    FirstRun,
    // Once, then one render before the timed loop, as on a later run of the filter: what the
    // effect keeps between runs is ready.
    SecondRun,
};

// File names by scripting key, for ImageFile records: files of the Textures folder beside the
// benchmark program.
using Files = std::vector<std::pair<const char*, const char*>>;

// What the effect renders into.
enum class Output {
    // A fresh picture of the source's layout, its memory untouched before the first render.
    Fresh,
    // A copy of the source, as the host's output block holds the source pixels.
    CopyOfSource,
};

struct RenderOptions {
    Settings settings = {};
    Files files = {};
    Prepare prepare = Prepare::Once;
    Output output = Output::Fresh;
};

// The effect with registry key `key` rendered over the whole picture in one tile per iteration,
// the picture attached as its source (parameter 0). Skips with an error when the effect is not
// registered or a setting names no parameter. The counter peakMiB is the largest resident size
// of the process so far: run one benchmark alone (--benchmark_filter) to read it for that one.
void renderEffect(benchmark::State& state, const char* key, const PictureRecipe& recipe, const RenderOptions& options);

// One case of an effect's benchmarks: its name after the group and depth, and its settings.
struct EffectCase {
    const char* name;
    Settings settings;
    Files files = {};
    Prepare prepare = Prepare::Once;
};

// Registers, at 16 and then at 8 bits on the broad-areas picture, "GROUP/RGBA16/memcpy" and one
// render of the effect `key` per case, "GROUP/RGBA16/NAME", with the output of RenderOptions.
void registerEffectCases(const char* group, const char* key, const std::vector<EffectCase>& cases);

}  // namespace bench
