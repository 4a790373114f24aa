#include "imaging/glow.h"

#include <algorithm>
#include <stdexcept>

#include "imaging/blur.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/screen_steps.h"

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
    const ScreenSteps split = screenStepsOf<Sample>(amount);
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
                    c = screenStepsRepeated<Sample>(before, light, split.whole);
                    if (split.part > 0) c = screenStep<Sample>(c, partialLight(c));
                } else {
                    c = before + split.whole * light + (split.part > 0 ? partialLight(before) : 0);
                }
                pixel[ch] = clampSample<Sample>(c);
            }
        }
    }
}

// ---- Image source ----------------------------------------------------------------------

// The lit part of the picture, premultiplied: each colour x m / full, alpha m.
template <class Sample>
ImagePtr lightOf(const Image& image, const Image& matte) {
    ImagePtr light = ImagePtr::make({image.width, image.height}, 4, image.bytesPerChannel);
    for (int32_t y = 0; y < image.height; ++y) {
        const Sample* in = image.row<Sample>(y);
        const Sample* lightRow = matte.row<Sample>(y);
        Sample* out = light->row<Sample>(y);
        for (int32_t x = 0; x < image.width; ++x, in += 4, out += 4) {
            const int64_t m = lightRow[x];
            if (m == 0) {
                out[0] = out[1] = out[2] = out[3] = 0;
            } else if (m == fullOf<Sample>()) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
                out[3] = Sample(m);
            } else {
                for (int ch = 0; ch < 3; ++ch) out[ch] = Sample(divideByFull<Sample, int64_t>(in[ch] * m));
                out[3] = Sample(m);
            }
        }
    }
    return light;
}

template <class Sample>
void compositeFromLight(Image& image, const Image& light, const PixelRect& rect, const GlowColor& color,
                        double amount, int32_t mode) {
    const double held = heldTo(amount, kLargestGlowAmount);
    const ScreenSteps split = screenStepsOf<Sample>(amount);
    float factor[3];           // add rule: amount x colour in single precision
    int64_t level[3];          // screen rule: C = trunc(colour x full)
    int64_t partialLevel[3];   // screen rule: R = trunc(r x colour)
    for (int ch = 0; ch < 3; ++ch) {
        factor[ch] = float(held * channelOf(color, ch));
        level[ch] = truncToInt(channelOf(color, ch) * double(fullOf<Sample>()));
        partialLevel[ch] = truncToInt(double(split.part) * channelOf(color, ch));
    }

    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* spread = light.pixel<Sample>(rect.left, y);
        Sample* pixel = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, pixel += 4, spread += 4) {
            if (spread[3] == 0) continue;
            for (int ch = 0; ch < 3; ++ch) {
                const int64_t lit = spread[ch];
                int64_t c = pixel[ch];
                if (mode == kGlowAdd) {
                    c += truncToInt(double(float(lit) * factor[ch]));
                } else {
                    c = screenStepsRepeated<Sample>(c, divideByFull<Sample, int64_t>(level[ch] * lit), split.whole);
                    if (split.part > 0) c = screenStep<Sample>(c, divideByFull<Sample, int64_t>(partialLevel[ch] * lit));
                }
                pixel[ch] = clampSample<Sample>(c);
            }
        }
    }
}

template <class Sample>
void glowOf(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
            double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses) {
    const bool blurred = horizontalBlur > 0.0 || verticalBlur > 0.0;
    auto spread = [&](Image& light) {
        Blur blur;
        blur.setExtraPasses(extraPasses);
        blur.setSize(float(horizontalBlur), float(verticalBlur));
        blur.apply(light, light.bounds);
    };
    if (source == kGlowFromImage) {
        ImagePtr light = lightOf<Sample>(image, matte);
        if (blurred) spread(*light);
        compositeFromLight<Sample>(image, *light, rect, color, amount, mode);
    } else if (!blurred) {
        compositeFromMatte<Sample>(image, matte, rect, color, amount, mode);
    } else {
        ImagePtr light = matte.clone();
        spread(*light);
        compositeFromMatte<Sample>(image, *light, rect, color, amount, mode);
    }
}

}  // namespace

void applyGlow(Image& image, const Image& matte, const PixelRect& rect, double horizontalBlur, double verticalBlur,
               double amount, int32_t source, int32_t mode, const GlowColor& color, uint32_t extraPasses) {
    checkLayouts(image, matte);
    const PixelRect area = rect.intersected(image.bounds);
    if (area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() {
        glowOf<Sample>(image, matte, area, horizontalBlur, verticalBlur, amount, source, mode, heldColor(color),
                       extraPasses);
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
