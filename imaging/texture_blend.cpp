#include "imaging/texture_blend.h"

#include <algorithm>
#include <stdexcept>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

template <class Sample, class Rule>
void blendRows(const Image& matte, const Image& texture, Image& destination, Rule rule) {
    for (int32_t y = 0; y < destination.height; ++y) {
        const Sample* m = matte.row<Sample>(y);
        const Sample* t = texture.row<Sample>(y);
        Sample* out = destination.row<Sample>(y);
        for (int32_t x = 0; x < destination.width; ++x) out[x] = Sample(rule(uint32_t(m[x]), uint32_t(t[x])));
    }
}

// Products stay below 2 x 32768 x 32768 = 2^31, within 32 unsigned bits. Difference divides
// 2 m t once, as written, rather than doubling a truncated m t / full.
template <class Sample>
void blend(const Image& matte, const Image& texture, Image& destination, TextureBlend blend) {
    constexpr uint32_t full = SampleTraits<Sample>::full;
    auto over = [](uint32_t x) { return divideByFull<Sample>(x); };
    auto rows = [&](auto rule) { blendRows<Sample>(matte, texture, destination, rule); };
    switch (blend) {
        case TextureBlend::TextureOnly: return rows([](uint32_t, uint32_t t) { return t; });
        case TextureBlend::Add: return rows([&](uint32_t m, uint32_t t) { return std::min(m + t, full); });
        case TextureBlend::Subtract: return rows([](uint32_t m, uint32_t t) { return t > m ? t - m : 0u; });
        case TextureBlend::Multiply: return rows([&](uint32_t m, uint32_t t) { return over(m * t); });
        case TextureBlend::Screen: return rows([&](uint32_t m, uint32_t t) { return m + t - over(m * t); });
        case TextureBlend::Difference: return rows([&](uint32_t m, uint32_t t) { return m + t - over(2 * m * t); });
        case TextureBlend::Darken: return rows([](uint32_t m, uint32_t t) { return std::min(m, t); });
        case TextureBlend::Lighten: return rows([](uint32_t m, uint32_t t) { return std::max(m, t); });
    }
    throw std::invalid_argument("blendTexture: unknown blend");
}

bool sameLayout(const Image& a, const Image& b) {
    return a.channels == 1 && b.channels == 1 && a.bytesPerChannel == b.bytesPerChannel && a.width == b.width &&
           a.height == b.height;
}

}  // namespace

void blendTexture(const Image& matte, const Image& texture, Image& destination, TextureBlend blendMode) {
    if (!sameLayout(matte, texture) || !sameLayout(matte, destination) ||
        (matte.bytesPerChannel != 1 && matte.bytesPerChannel != 2))
        throw std::invalid_argument("blendTexture takes one-channel images of one size and sample size");
    withSampleType(matte, [&]<class Sample>() { blend<Sample>(matte, texture, destination, blendMode); });
}
