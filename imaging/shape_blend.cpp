#include "imaging/shape_blend.h"

#include <algorithm>
#include <stdexcept>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// Runs rule(m, s) over every sample of rect and stores its result, held to 0..full.
template <class Sample, class Rule>
void blendSamples(Image& matte, const Image& shape, const PixelRect& rect, Rule rule) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* m = matte.row<Sample>(y);
        const Sample* s = shape.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x) m[x] = clampSample<Sample>(rule(int64_t(m[x]), int64_t(s[x])));
    }
}

template <class Sample>
void blendOf(Image& matte, const Image& shape, const PixelRect& rect, ShapeBlend blend, double opacity) {
    constexpr int64_t full = SampleTraits<Sample>::full;
    const int64_t k = truncToInt64(opacity * double(full));
    // S' = S x k / full
    auto scaled = [k](int64_t s) { return divideByFull<Sample, int64_t>(s * k); };
    switch (blend) {
        case ShapeBlend::ShapeOnly:
            if (opacity == 1.0)
                blendSamples<Sample>(matte, shape, rect, [](int64_t, int64_t s) { return s; });
            else
                blendSamples<Sample>(matte, shape, rect, [&](int64_t, int64_t s) { return scaled(s); });
            break;
        case ShapeBlend::Add:
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) { return m + scaled(s); });
            break;
        case ShapeBlend::Subtract:
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) { return m - scaled(s); });
            break;
        case ShapeBlend::Multiply:
            // The shape level here is trunc(S x o), not S'.
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) {
                return divideByFull<Sample, int64_t>(m * truncToInt64(double(s) * opacity));
            });
            break;
        case ShapeBlend::Screen:
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) {
                const int64_t t = scaled(s);
                return t + m - divideByFull<Sample, int64_t>(m * t);
            });
            break;
        case ShapeBlend::Difference:
            // 2 x M x S' / full read from left to right: the doubled product is divided once.
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) {
                const int64_t t = scaled(s);
                return t + m - divideByFull<Sample, int64_t>(2 * m * t);
            });
            break;
        case ShapeBlend::Darken:
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) { return std::min(m, scaled(s)); });
            break;
        case ShapeBlend::Lighten:
            blendSamples<Sample>(matte, shape, rect, [&](int64_t m, int64_t s) { return std::max(m, scaled(s)); });
            break;
    }
}

}  // namespace

void blendShape(Image& matte, const Image& shape, const PixelRect& rect, ShapeBlend blend, double opacity) {
    if (matte.channels != 1 || shape.channels != 1 || matte.bytesPerChannel != shape.bytesPerChannel ||
        (matte.bytesPerChannel != 1 && matte.bytesPerChannel != 2) || matte.width != shape.width ||
        matte.height != shape.height)
        throw std::invalid_argument("shape blend: the matte and the shape must be one channel of one size and depth");
    if (uint32_t(blend) >= kShapeBlendCount) throw std::invalid_argument("shape blend: no such blend");
    const PixelRect area = rect.intersected(matte.bounds);
    if (area.isEmpty()) return;
    const double held = opacity >= 0.0 ? std::min(opacity, 1.0) : 0.0;
    withSampleType(matte, [&]<class Sample>() { blendOf<Sample>(matte, shape, area, blend, held); });
}
