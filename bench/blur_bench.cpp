// The blur on a 24-megapixel picture (6000 x 4000) in the four layouts: one horizontal pass,
// one vertical pass and both, at sizes 2, 20 and 200 (plus 25, a half radius), beside a
// memcpy of the same bytes to read the results against (time / memcpy time of the layout).
//
//   build-blur/ravo_bench --benchmark_filter=Blur
// On a shared machine, add --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
// and read the medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include "bench/bench_support.h"
#include "imaging/blur.h"
#include "imaging/image.h"

namespace {

struct Layout {
    uint32_t channels;
    uint32_t bytes;
    const char* name;
};
constexpr Layout kLayouts[] = {{1, 1, "Gray8"}, {4, 1, "RGBA8"}, {1, 2, "Gray16"}, {4, 2, "RGBA16"}};

// One noisy picture per layout (the fourth channel noisy too), made once and kept for the whole
// run. The blurs work on it in place, so it is this file's own rather than a shared picture.
Image& picture(const Layout& layout) {
    static std::map<std::pair<uint32_t, uint32_t>, ImagePtr> pictures;
    ImagePtr& image = pictures[{layout.channels, layout.bytes}];
    if (!image)
        image = bench::makePicture(
            {.channels = layout.channels, .bytesPerChannel = layout.bytes, .seed = 12345, .opaque = false});
    return *image;
}

void blurPicture(benchmark::State& state, Layout layout, float horizontal, float vertical) {
    Image& image = picture(layout);
    Blur blur;
    blur.setExtraPasses(0);
    blur.setSize(horizontal, vertical);
    for (auto _ : state) {
        blur.apply(image, image.bounds);
        benchmark::DoNotOptimize(image.data);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.byteCount()));
}

void copyPicture(benchmark::State& state, Layout layout) { bench::copyBytes(state, picture(layout)); }

std::string nameOf(const Layout& layout, const char* what, float size = 0.0f) {
    char name[64];
    if (size > 0.0f)
        std::snprintf(name, sizeof name, "Blur/%s/%s/%d", layout.name, what, int(size));
    else
        std::snprintf(name, sizeof name, "Blur/%s/%s", layout.name, what);
    return name;
}

const bool registered = [] {
    for (const Layout& layout : kLayouts) {
        benchmark::RegisterBenchmark(nameOf(layout, "memcpy").c_str(), copyPicture, layout)
            ->Unit(benchmark::kMillisecond);
        for (float size : {2.0f, 20.0f, 200.0f, 25.0f}) {
            benchmark::RegisterBenchmark(nameOf(layout, "horizontal", size).c_str(), blurPicture, layout, size, 0.0f)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(nameOf(layout, "vertical", size).c_str(), blurPicture, layout, 0.0f, size)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(nameOf(layout, "both", size).c_str(), blurPicture, layout, size, size)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace
