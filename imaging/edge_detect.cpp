#include "imaging/edge_detect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/luma.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// The Sobel magnitude divided by 5.66, so that the strongest 8-bit edge stays below 255.
constexpr double kEdgeScale = 0.17667844522968199;

// The edge image over rect: the Sobel magnitude of the luminance, scaled by kEdgeScale. Rows
// above and below rect and columns beside it are taken equal to its outermost ones.
template <class Sample>
void edgesOf(const Image& source, Image& edges, const PixelRect& rect) {
    const int32_t width = rect.width();
    const size_t lineLength = size_t(width) + 2;
    std::vector<int32_t> lines(3 * lineLength);
    int32_t* above = lines.data();
    int32_t* middle = above + lineLength;
    int32_t* below = middle + lineLength;
    // The luminance of row y with its end samples repeated one place outwards.
    auto readLuma = [&](int32_t y, int32_t* line) {
        const Sample* p = source.pixel<Sample>(rect.left, y);
        for (int32_t x = 0; x < width; ++x, p += 4) line[x + 1] = luma(p);
        line[0] = line[1];
        line[width + 1] = line[width];
    };
    readLuma(rect.top, middle);
    std::copy(middle, middle + lineLength, above);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        if (y + 1 < rect.bottom)
            readLuma(y + 1, below);
        else
            std::copy(middle, middle + lineLength, below);
        Sample* out = edges.pixel<Sample>(rect.left, y);
        for (int32_t x = 0; x < width; ++x) {
            const int32_t* a = above + x;
            const int32_t* m = middle + x;
            const int32_t* b = below + x;
            const int64_t gx = int64_t(a[2] + 2 * m[2] + b[2]) - int64_t(a[0] + 2 * m[0] + b[0]);
            const int64_t gy = int64_t(b[0] + 2 * b[1] + b[2]) - int64_t(a[0] + 2 * a[1] + a[2]);
            const int32_t magnitude = truncToInt(std::sqrt(double(gx * gx + gy * gy)));
            out[x] = Sample(truncToInt(double(magnitude) * kEdgeScale));
        }
        std::swap(above, middle);
        std::swap(middle, below);
    }
}

}  // namespace

void detectEdges(const Image& source, Image& edges, const PixelRect& rect) {
    if (rect.isEmpty()) return;
    withSampleType(source, [&]<class Sample>() { edgesOf<Sample>(source, edges, rect); });
}
