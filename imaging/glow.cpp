#include "imaging/glow.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "imaging/blur.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/vector_loop.h"

namespace {

template <class Sample>
constexpr int64_t fullOf() {
    return SampleTraits<Sample>::full;
}

// A colour component or an amount held to its range; NaN counts as 0.
double heldTo(double value, double largest) { return value >= 0.0 ? std::min(value, largest) : 0.0; }

GlowColor heldColor(const GlowColor& color) {
    return {heldTo(color.red, 1.0), heldTo(color.green, 1.0), heldTo(color.blue, 1.0)};
}

double channelOf(const GlowColor& color, int channel) {
    return channel == 0 ? color.red : channel == 1 ? color.green : color.blue;
}

// The amount as n whole applications and a partial one of weight r (of full + 1).
struct AmountSplit {
    int64_t whole;
    int64_t part;
};

template <class Sample>
AmountSplit splitAmount(double amount) {
    const int64_t k = truncToInt(heldTo(amount, kLargestGlowAmount) * double(fullOf<Sample>()));
    return {k / (fullOf<Sample>() + 1), k % (fullOf<Sample>() + 1)};
}

// One screen step: c + g - c g / full.
template <class Sample, class Int>
Int screen(Int c, Int g) {
    return c + g - divideByFull<Sample, Int>(c * g);
}

// n screen steps with the same light. Once c is full (or the light is 0) further steps change
// nothing, so they are skipped.
template <class Sample, class Int>
Int screenRepeated(Int c, Int g, Int steps) {
    for (Int step = 0; step < steps && c != Int(fullOf<Sample>()) && g != 0; ++step) c = screen<Sample>(c, g);
    return c;
}

void checkLayouts(const Image& image, const Image& matte) {
    if (image.channels != 4 || matte.channels != 1 || image.bytesPerChannel != matte.bytesPerChannel ||
        (image.bytesPerChannel != 1 && image.bytesPerChannel != 2) || image.width != matte.width ||
        image.height != matte.height)
        throw std::invalid_argument(
            "glow: the image must have four channels and the matte one, of the same size and sample size");
}

// ---- Matte source ----------------------------------------------------------------------

template <class Sample>
void compositeFromMatte(Image& image, const Image& matte, const PixelRect& rect, const GlowColor& color,
                        double amount, int32_t mode) {
    if (mode != kGlowScreen && mode != kGlowAdd) return;
    const AmountSplit split = splitAmount<Sample>(amount);
    const bool white = color.isWhite();
    int64_t level[3];         // C = trunc(colour x full)
    int64_t partialLevel[3];  // C x r / full, the colour of the partial step
    for (int ch = 0; ch < 3; ++ch) {
        level[ch] = truncToInt(channelOf(color, ch) * double(fullOf<Sample>()));
        partialLevel[ch] = divideByFull<Sample, int64_t>(level[ch] * split.part);
    }

    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* lightRow = matte.row<Sample>(y);
        Sample* pixel = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, pixel += 4) {
            const int64_t m = lightRow[x];
            if (m == 0) continue;
            for (int ch = 0; ch < 3; ++ch) {
                const int64_t before = pixel[ch];
                int64_t light;
                if (white) {
                    light = divideByFull<Sample, int64_t>(before * m);
                } else {
                    int64_t tinted = divideByFull<Sample, int64_t>(level[ch] * m);
                    if constexpr (sizeof(Sample) == 1) tinted = uint8_t(tinted);  // the 8-bit product is kept in 8 bits
                    light = divideByFull<Sample, int64_t>(tinted * before);
                }
                // The partial light of weight r, from the value c it is applied to.
                auto partialLight = [&](int64_t c) {
                    return white ? divideByFull<Sample, int64_t>(split.part * light)
                                 : divideByFull<Sample, int64_t>(divideByFull<Sample, int64_t>(m * partialLevel[ch]) * c);
                };
                int64_t c;
                if (mode == kGlowScreen) {
                    c = screenRepeated<Sample>(before, light, split.whole);
                    if (split.part > 0) c = screen<Sample>(c, partialLight(c));
                } else {
                    c = before + split.whole * light + (split.part > 0 ? partialLight(before) : 0);
                }
                pixel[ch] = clampSample<Sample>(c);
            }
        }
    }
}

// ---- Image source ----------------------------------------------------------------------

// The per-pixel loops of the image source run over whole pixels, four samples at a time, and
// choose by masks rather than branches, so that they vectorise: a lane mask keeps alpha as it
// is, and pixels where no light arrived (alpha 0) are left as they are.
constexpr uint32_t kColourLanes[4] = {~0u, ~0u, ~0u, 0u};

// x / full for the products of two samples (at most 255 x 255 in 8-bit): in 8-bit the
// division by 255 is exact as (x + 1 + x / 256) / 256 below 65535, which keeps the
// arithmetic within 16 bits.
template <class Sample>
[[gnu::always_inline]] inline uint32_t productByFull(uint32_t x) {
    if constexpr (sizeof(Sample) == 1)
        return (x + 1 + (x >> 8)) >> 8;
    else
        return x >> 15;
}

// The lit part of the picture, premultiplied: each colour x m / full, alpha m. At m = full the
// product divided by full is the colour itself and at m = 0 it is 0, so one rule serves every
// level; the products fit 32 bits.
template <class Sample>
[[gnu::always_inline]] inline void lightPixels(const Sample* __restrict in, const Sample* __restrict matte,
                                               Sample* __restrict out, size_t count) {
    for (size_t x = 0; x < count; ++x) {
        const uint32_t m = matte[x];
        for (size_t lane = 0; lane < 3; ++lane)
            out[4 * x + lane] = Sample(divideByFull<Sample, uint32_t>(in[4 * x + lane] * m));
        out[4 * x + 3] = Sample(m);
    }
}

// The add rule: each colour gains the spread light times amount x colour, taken in single
// precision and truncated, then held to 0..full. A gain of full + 1 or more fills the sample
// whatever it held, so gains are capped there and the sum stays within 32 bits.
template <class Sample>
[[gnu::always_inline]] inline void addPixels(Sample* __restrict pixel, const Sample* __restrict spread, size_t count,
                                             const float* __restrict factor, const uint32_t* __restrict lanes) {
    constexpr int32_t fullGain = fullOf<Sample>() + 1;
    for (size_t x = 0; x < count; ++x) {
        const uint32_t lit = spread[4 * x + 3] != 0 ? ~0u : 0u;
        for (size_t lane = 0; lane < 4; ++lane) {
            const size_t i = 4 * x + lane;
            const int32_t gain = std::min(truncToInt(double(float(spread[i]) * factor[lane])), fullGain);
            const uint32_t c = pixel[i];
            const uint32_t sum = uint32_t(clampSample<Sample>(int32_t(c) + gain));
            const uint32_t change = lit & lanes[lane];
            pixel[i] = Sample((sum & change) | (c & ~change));
        }
    }
}

// One screen step with the light level x spread / full: c + g - c g / full, held to `limit`.
// Samples and lights stay within 16 bits, so every product fits 32 bits unsigned, and a step
// never takes a sample out of its 16 bits.
template <class Sample>
[[gnu::always_inline]] inline void screenPixels(Sample* __restrict pixel, const Sample* __restrict spread,
                                                size_t count, const uint32_t* __restrict level,
                                                const uint32_t* __restrict lanes, uint32_t limit) {
    for (size_t x = 0; x < count; ++x) {
        const uint32_t lit = spread[4 * x + 3] != 0 ? ~0u : 0u;
        for (size_t lane = 0; lane < 4; ++lane) {
            const size_t i = 4 * x + lane;
            const uint32_t c = pixel[i];
            const uint32_t g = productByFull<Sample>(level[lane] * spread[i]);
            const uint32_t screened = std::min(c + g - productByFull<Sample>(c * g), limit);
            const uint32_t change = lit & lanes[lane];
            pixel[i] = Sample((screened & change) | (c & ~change));
        }
    }
}

RAVO_VECTOR_LOOP void lightRow(const uint8_t* in, const uint8_t* matte, uint8_t* out, size_t count) {
    lightPixels(in, matte, out, count);
}
RAVO_VECTOR_LOOP void lightRow(const uint16_t* in, const uint16_t* matte, uint16_t* out, size_t count) {
    lightPixels(in, matte, out, count);
}
RAVO_VECTOR_LOOP void addRow(uint8_t* pixel, const uint8_t* spread, size_t count, const float* factor,
                             const uint32_t* lanes) {
    addPixels(pixel, spread, count, factor, lanes);
}
RAVO_VECTOR_LOOP void addRow(uint16_t* pixel, const uint16_t* spread, size_t count, const float* factor,
                             const uint32_t* lanes) {
    addPixels(pixel, spread, count, factor, lanes);
}
RAVO_VECTOR_LOOP void screenRow(uint8_t* pixel, const uint8_t* spread, size_t count, const uint32_t* level,
                                const uint32_t* lanes, uint32_t limit) {
    screenPixels(pixel, spread, count, level, lanes, limit);
}
RAVO_VECTOR_LOOP void screenRow(uint16_t* pixel, const uint16_t* spread, size_t count, const uint32_t* level,
                                const uint32_t* lanes, uint32_t limit) {
    screenPixels(pixel, spread, count, level, lanes, limit);
}

template <class Sample>
void buildLight(const Image& image, const Image& matte, Image& light) {
    for (int32_t y = 0; y < image.height; ++y)
        lightRow(image.row<Sample>(y), matte.row<Sample>(y), light.row<Sample>(y), size_t(image.width));
}

// The image source's compositing. The screen rule takes n whole steps with the light C x lit /
// full and the partial one with R x lit / full (no change when R is 0), every sample on its own,
// so the steps run as passes over a row while it is in cache. A step at full or with no light
// changes nothing, which lets every pass take every sample.
template <class Sample>
void compositeFromLight(Image& image, const Image& light, const PixelRect& rect, const GlowColor& color,
                        double amount, int32_t mode) {
    const double held = heldTo(amount, kLargestGlowAmount);
    const AmountSplit split = splitAmount<Sample>(amount);
    float factor[4] = {};         // add rule: amount x colour in single precision
    uint32_t level[4] = {};       // screen rule: C = trunc(colour x full)
    uint32_t partialLevel[4] = {};  // screen rule: R = trunc(r x colour)
    for (int ch = 0; ch < 3; ++ch) {
        factor[ch] = float(held * channelOf(color, ch));
        level[ch] = uint32_t(truncToInt(channelOf(color, ch) * double(fullOf<Sample>())));
        partialLevel[ch] = uint32_t(truncToInt(double(split.part) * channelOf(color, ch)));
    }
    constexpr uint32_t anyLevel = std::numeric_limits<Sample>::max();

    const size_t count = size_t(rect.width());
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* spread = light.pixel<Sample>(rect.left, y);
        Sample* pixel = image.pixel<Sample>(rect.left, y);
        if (mode == kGlowAdd) {
            addRow(pixel, spread, count, factor, kColourLanes);
        } else {
            for (int64_t step = 0; step < split.whole; ++step)
                screenRow(pixel, spread, count, level, kColourLanes, anyLevel);
            screenRow(pixel, spread, count, partialLevel, kColourLanes, uint32_t(fullOf<Sample>()));
        }
    }
}

void spread(Image& light, double horizontalBlur, double verticalBlur, uint32_t extraPasses) {
    if (horizontalBlur <= 0.0 && verticalBlur <= 0.0) return;
    Blur blur;
    blur.setExtraPasses(extraPasses);
    blur.setSize(float(horizontalBlur), float(verticalBlur));
    blur.apply(light, light.bounds);
}

template <class Sample>
void glowOf(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
            double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses,
            ScratchImage& lightMemory) {
    const ImageSize size{image.width, image.height};
    if (source == kGlowFromImage) {
        Image& light = lightMemory.imageOf(size, 4, image.bytesPerChannel);
        buildLight<Sample>(image, matte, light);
        spread(light, horizontalBlur, verticalBlur, extraPasses);
        compositeFromLight<Sample>(image, light, rect, color, amount, mode);
    } else if (horizontalBlur <= 0.0 && verticalBlur <= 0.0) {
        compositeFromMatte<Sample>(image, matte, rect, color, amount, mode);
    } else {
        Image& light = lightMemory.imageOf(size, 1, image.bytesPerChannel);
        copyRect(matte, light, matte.bounds);
        spread(light, horizontalBlur, verticalBlur, extraPasses);
        compositeFromMatte<Sample>(image, light, rect, color, amount, mode);
    }
}

}  // namespace

void applyGlow(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
               double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses) {
    ScratchImage lightMemory;
    applyGlow(image, matte, rect, horizontalBlur, verticalBlur, amount, source, mode, color, extraPasses,
              lightMemory);
}

void applyGlow(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
               double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses,
               ScratchImage& lightMemory) {
    checkLayouts(image, matte);
    const PixelRect area = rect.intersected(image.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() {
        glowOf<Sample>(image, matte, area, horizontalBlur, verticalBlur, amount, source, mode, heldColor(color),
                       extraPasses, lightMemory);
    });
}

Image& spreadLight(const Image& image, const Image& matte, double horizontalBlur, double verticalBlur,
                   uint32_t extraPasses, ScratchImage& lightMemory) {
    checkLayouts(image, matte);
    Image& light = lightMemory.imageOf({image.width, image.height}, 4, image.bytesPerChannel);
    withSampleType(image, [&]<class Sample>() { buildLight<Sample>(image, matte, light); });
    spread(light, horizontalBlur, verticalBlur, extraPasses);
    return light;
}

void compositeLight(Image& image, const Image& light, const PixelRect& rect, const GlowColor& color, double amount,
                    int32_t mode) {
    if (image.channels != 4 || light.channels != 4 || image.bytesPerChannel != light.bytesPerChannel ||
        (image.bytesPerChannel != 1 && image.bytesPerChannel != 2) || image.width != light.width ||
        image.height != light.height)
        throw std::invalid_argument("glow: the image and its light must have four channels of one size and depth");
    const PixelRect area = rect.intersected(image.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() {
        compositeFromLight<Sample>(image, light, area, heldColor(color), amount, mode);
    });
}

void compositeGlow(Image& image, const Image& matte, const PixelRect& rect, const GlowColor& color, double amount,
                   int32_t mode) {
    checkLayouts(image, matte);
    const PixelRect area = rect.intersected(image.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() {
        compositeFromMatte<Sample>(image, matte, area, heldColor(color), amount, mode);
    });
}
