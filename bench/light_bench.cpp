// Light! on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and 8 bits, one thread, rendered
// through its class table in one tile into a copy of the source, beside a memcpy of the same
// bytes to read the results against.
//
//   peak         one first render; counters: how far the process's peak memory grew, in MB
//                and as a share of the picture's bytes (run each depth in its own process, as
//                the peak only ever grows: --benchmark_filter=Light/RGBA16 then Light/RGBA8)
//   first/NAME   a new effect every iteration: the pattern file read and placed, then the render
//   kept/NAME    the same effect rendering again: the placed shape is kept
//   shape/NAME   the pattern file read and placed alone, what a first render adds
//
//   brick        the defaults with the bundled brick.png
//   placed       brick.png moved, scaled, turned and blurred, displaced by the luminance
//
//   build/ravo_bench --benchmark_filter=Light
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "effects/placed_shape.h"
#include "fx/effect_registry.h"

namespace {

struct LightCase {
    const char* name;
    bench::Settings settings;
    bool moved;
};

const LightCase kCases[] = {
    {"brick", {}, false},
    {"placed", {{"dveScaleX", 70}, {"dveRotate", 20}, {"sBlurX", 6}, {"lDisplacement", 15}}, true},
};

using EffectHandle = std::unique_ptr<Effect, EffectDeleter>;

EffectHandle makeLight(const LightCase& c, const ImagePtr& source) {
    EffectHandle effect(EffectRegistry::instance().create("Light"));
    effect->setImageFilePath(bench::parameterNamed(*effect, "pattern") - effect->parameters, "brick.png");
    for (const auto& [key, value] : c.settings) bench::setValue(*effect, key, value);
    if (c.moved) bench::parameterNamed(*effect, "dvePosition")->point = {0.1, -0.05};
    effect->parameter(0).image = source;
    return effect;
}

fx::Plugin::RenderInfo renderInfo(const Image& source, Image& output) {
    fx::Plugin::RenderInfo info;
    info.outputImage = &output;
    info.renderRect = {0, 0, source.height, source.width};
    info.outputRect = info.renderRect;
    info.is16 = source.is16();
    info.imageWidth = source.width;
    info.imageHeight = source.height;
    info.tileCount = 1;
    info.tileIndex = 0;
    return info;
}

void render(Effect& effect, fx::Plugin::RenderInfo& info) {
    effect.effectClass->beginRender(&effect, &info);
    effect.effectClass->render(&effect, &info);
    benchmark::DoNotOptimize(info.outputImage->data);
    benchmark::ClobberMemory();
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void renderLight(benchmark::State& state, const bench::PictureRecipe& recipe, const LightCase& c, bool first) {
    const ImagePtr& source = bench::picture(recipe);
    const ImagePtr output = source->clone();
    fx::Plugin::RenderInfo info = renderInfo(*source, *output);
    EffectHandle kept = makeLight(c, source);
    render(*kept, info);
    for (auto _ : state) {
        if (first) {
            state.PauseTiming();
            kept = makeLight(c, source);
            state.ResumeTiming();
        }
        render(*kept, info);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source->byteCount()));
}

// The shape of the case at the picture's depth, read from the file and placed anew each time.
void placeShape(benchmark::State& state, const bench::PictureRecipe& recipe, const LightCase& c) {
    ShapeRecipe shape;
    shape.pattern = "brick.png";
    shape.sixteenBit = recipe.bytesPerChannel == 2;
    if (c.moved) {
        shape.placement.position = {0.1, -0.05};
        shape.placement.scaleX = shape.placement.scaleY = 0.7f;
        shape.placement.rotate = 20.0f;
    }
    shape.blurX = shape.blurY = c.moved ? 6.0f : 0.0f;
    shape.extraPasses = 1;
    for (auto _ : state) {
        PlacedShape placed;
        benchmark::DoNotOptimize(placed.image(shape));
    }
}

void peakOfFirstRender(benchmark::State& state, const bench::PictureRecipe& recipe) {
    const ImagePtr& source = bench::picture(recipe);
    const ImagePtr output = source->clone();
    fx::Plugin::RenderInfo info = renderInfo(*source, *output);
    const double before = peakMegabytes();
    for (auto _ : state) {
        EffectHandle effect = makeLight(kCases[0], source);
        render(*effect, info);
    }
    const double growth = peakMegabytes() - before;
    state.counters["peakGrowthMB"] = growth;
    state.counters["peakPerPicture"] = growth * 1024.0 * 1024.0 / double(source->byteCount());
}

const bool registered = [] {
    for (uint32_t bytes : {2u, 1u}) {
        const bench::PictureRecipe recipe{.pattern = bench::Pattern::BroadAreas, .bytesPerChannel = bytes, .seed = 12345};
        const std::string prefix = std::string("Light/RGBA") + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "peak").c_str(), peakOfFirstRender, recipe)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), bench::copyPicture, recipe)
            ->Unit(benchmark::kMillisecond);
        for (const LightCase& c : kCases)
            benchmark::RegisterBenchmark((prefix + "shape/" + c.name).c_str(), placeShape, recipe, c)
                ->Unit(benchmark::kMillisecond);
        for (const LightCase& c : kCases)
            for (bool first : {true, false})
                benchmark::RegisterBenchmark((prefix + (first ? "first/" : "kept/") + c.name).c_str(), renderLight,
                                             recipe, c, first)
                    ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
