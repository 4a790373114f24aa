// Diffusion on a 24-megapixel picture (6000 x 4000 RGBA) at 16 and 8 bits, rendered through
// its class table in one tile as the tile loop does, beside a memcpy of the same bytes to read
// the results against.
//
//   defaults      no texture: the mist look with a blur of 20
//   brick         brick.png (512 x 512) as the matte, on a later run: the texture read and
//                 placed over the picture already
//   brick/first   the same on a first run: a new effect each time, which reads the file and
//                 places the texture before it renders
//   moved         the brick scaled, rotated and shifted by the placement, on a later run
//   moved/first   the same on a first run
//
// The difference between a first run and a later one is the share of reading and placing.
//
//   build/ravo_bench --benchmark_filter=Diffusion
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

const bench::Files kBrick = {{"diffTexture", "brick.png"}};
const bench::Settings kMoved = {{"dveScaleX", 70}, {"dveRotate", 30}, {"dveAnchorX", 10}};

const bool registered = [] {
    using bench::Prepare;
    bench::registerEffectCases("Diffusion", "Diffusion",
                               {
                                   {"defaults", {}},
                                   {"brick", {}, kBrick, Prepare::SecondRun},
                                   {"brick/first", {}, kBrick, Prepare::FirstRun},
                                   {"moved", kMoved, kBrick, Prepare::SecondRun},
                                   {"moved/first", kMoved, kBrick, Prepare::FirstRun},
                               });
    return true;
}();

}  // namespace
