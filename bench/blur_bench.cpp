// The blur on a 24-megapixel picture (6000 x 4000) in the four layouts: one horizontal pass,
// one vertical pass and both, at sizes 2, 20 and 200 (plus 25, a half radius), beside a
// memcpy of the same bytes to read the results against (time / memcpy time of the layout).
//
//   build-blur/ravo_bench --benchmark_filter=Blur
// On a shared machine, add --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
// and read the medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "imaging/blur.h"
#include "imaging/image.h"

namespace {

constexpr int32_t kWidth = 6000;
constexpr int32_t kHeight = 4000;

struct Layout {
    uint32_t channels;
    uint32_t bytes;
    const char* name;
};
constexpr Layout kLayouts[] = {{1, 1, "Gray8"}, {4, 1, "RGBA8"}, {1, 2, "Gray16"}, {4, 2, "RGBA16"}};

// One noisy picture per layout, made once and kept for the whole run.
Image& picture(const Layout& layout) {
    static std::map<std::pair<uint32_t, uint32_t>, ImagePtr> pictures;
    ImagePtr& image = pictures[{layout.channels, layout.bytes}];
    if (!image) {
        image = ImagePtr::make({kWidth, kHeight}, layout.channels, layout.bytes);
        const uint32_t full = layout.bytes == 2 ? 32768 : 255;
        uint32_t state = 12345;
        for (int32_t y = 0; y < kHeight; ++y) {
            uint8_t* row = image->row<uint8_t>(y);
            for (size_t i = 0; i < size_t(kWidth) * layout.channels; ++i) {
                state = state * 1664525u + 1013904223u;
                const uint32_t value = (state >> 8) % (full + 1);
                if (layout.bytes == 2)
                    reinterpret_cast<uint16_t*>(row)[i] = uint16_t(value);
                else
                    row[i] = uint8_t(value);
            }
        }
    }
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

void copyPicture(benchmark::State& state, Layout layout) {
    const Image& image = picture(layout);
    std::vector<uint8_t> target(image.byteCount(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), image.data, image.byteCount());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.byteCount()));
}

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
