// Diffusion on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through
// its class table in one tile as the tile loop does, beside a memcpy of the same bytes to read
// the results against.
//
//   defaults      no texture: the mist look with a blur of 20, on a later run
//   defaults/first  the same on a first run: the glow's working memory is new
//   brick         brick.png (512 x 512) as the matte, on a later run: the texture read and
//                 placed over the picture already
//   brick/first   the same on a first run: a new effect each time, which reads the file and
//                 places the texture before it renders
//   moved         the brick scaled, rotated and shifted by the placement, on a later run
//   moved/first   the same on a first run
//   place         reading brick.png and placing it over the picture alone, as a first run
//                 does before it renders
//   place/moved   the same, scaled, rotated and shifted
//
// A first run with a texture against one without is the share of reading and placing; the
// place cases time that share alone, apart from the glow's own run-to-run spread.
//
//   build/ravo_bench --benchmark_filter=Diffusion
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "effects/placed_texture.h"
#include "fx/render_info.h"
#include "imaging/dve_transform.h"

namespace {

const bench::Files kBrick = {{"diffTexture", "brick.png"}};
const bench::Settings kMoved = {{"dveScaleX", 70}, {"dveRotate", 30}, {"dveAnchorX", 10}};

// A new placed texture each iteration: the file read and the texture placed over a picture of
// the benchmark's size.
void placeTexture(benchmark::State& state, bool sixteenBit, DveSettings settings) {
    DveTransform placement;
    placement.update(settings);
    fx::Plugin::RenderInfo info;
    info.is16 = sixteenBit;
    info.imageWidth = bench::kWidth;
    info.imageHeight = bench::kHeight;
    for (auto _ : state) {
        PlacedTexture texture;
        const Image* placed = texture.picture("brick.png", placement, info);
        if (!placed) {
            state.SkipWithError("brick.png not placed");
            return;
        }
        benchmark::DoNotOptimize(placed->data);
    }
}

DveSettings movedSettings() {
    DveSettings moved;
    moved.scaleX = moved.scaleY = 0.7f;
    moved.rotate = 30.0f;
    moved.anchor = {0.1, 0.0};
    return moved;
}

const bool registered = [] {
    using bench::Prepare;
    bench::registerEffectCases("Diffusion", "Diffusion",
                               {
                                   {"defaults", {}, {}, Prepare::SecondRun},
                                   {"defaults/first", {}, {}, Prepare::FirstRun},
                                   {"brick", {}, kBrick, Prepare::SecondRun},
                                   {"brick/first", {}, kBrick, Prepare::FirstRun},
                                   {"moved", kMoved, kBrick, Prepare::SecondRun},
                                   {"moved/first", kMoved, kBrick, Prepare::FirstRun},
                               });
    for (bool sixteenBit : {true, false}) {
        const std::string prefix = std::string("Diffusion/RGBA") + (sixteenBit ? "16" : "8") + "/place";
        benchmark::RegisterBenchmark(prefix.c_str(), placeTexture, sixteenBit, DveSettings{})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((prefix + "/moved").c_str(), placeTexture, sixteenBit, movedSettings())
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
