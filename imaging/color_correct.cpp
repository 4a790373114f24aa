#include "imaging/color_correct.h"

#include <vector>

#include "imaging/color.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

template <class Sample>
void shiftRedAgainstBlue(Image& image, const PixelRect& rect, double amount) {
    const int64_t k = truncToInt64(amount * SampleTraits<Sample>::full);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            p[2] = clampSample<Sample>(int64_t(p[2]) + k);
            p[0] = clampSample<Sample>(int64_t(p[0]) - k);
        }
    }
}

// Hue shift and saturation per pixel; greys (no hue) are left as they are. The hue and
// saturation are 32-bit floats, so the shift and the saturation factor are applied in
// single precision.
template <class Sample>
void shiftHueAndSaturation(Image& image, const PixelRect& rect, double hueShift, double saturation) {
    const float full = float(SampleTraits<Sample>::full);
    const float scale = 1.0f / full;
    const float shift = float(hueShift);
    const float saturationFactor = float(1.0 + saturation);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            const Hsv hsv = rgbToHsv(float(p[0]) * scale, float(p[1]) * scale, float(p[2]) * scale);
            if (hsv.h == kNoHue) continue;
            float h = hsv.h + shift;
            if (h < 0.0f)
                h = h + 360.0f;
            else if (h > 360.0f)
                h = h - 360.0f;
            float s = hsv.s * saturationFactor;
            if (s < 0.0f) s = 0.0f;
            if (s > 1.0f) s = 1.0f;
            const Rgb rgb = hsvToRgb(h, s, hsv.v);
            p[0] = clampSample<Sample>(truncToInt(rgb.r * full));
            p[1] = clampSample<Sample>(truncToInt(rgb.g * full));
            p[2] = clampSample<Sample>(truncToInt(rgb.b * full));
        }
    }
}

template <class Sample>
void correct(Image& image, const PixelRect& rect, double hueShift, double saturation, double gain, double contrast,
             double bend, double redAmount, double greenAmount, double blueAmount, bool multiply) {
    using Traits = SampleTraits<Sample>;
    if (hueShift != 0.0 || saturation != 0.0) shiftHueAndSaturation<Sample>(image, rect, hueShift, saturation);

    const bool tone = gain != 0.0 || contrast != 0.0 || bend != 0.0;
    const bool channelAmounts = redAmount != 0.0 || greenAmount != 0.0 || blueAmount != 0.0;
    if (!tone && !channelAmounts && !multiply) return;

    std::vector<Sample> master(Traits::tableSize);
    for (int32_t i = 0; i < Traits::tableSize; ++i)
        master[i] = tone ? clampSample<Sample>(
                               truncToInt(toneAdjust(double(i) / Traits::full, gain, contrast, bend) * Traits::full))
                         : Sample(i);

    if (!channelAmounts && !multiply) {
        applyLUT(image, master.data(), rect);
        return;
    }
    std::vector<Sample> red = master;
    std::vector<Sample> green = master;
    std::vector<Sample> blue = master;
    adjustChannelTable(red.data(), redAmount, multiply);
    adjustChannelTable(green.data(), greenAmount, multiply);
    adjustChannelTable(blue.data(), blueAmount, multiply);
    const Sample* const tables[3] = {red.data(), green.data(), blue.data()};
    applyChannelLUTs(image, tables, rect);
}

}  // namespace

template <class Sample>
void adjustChannelTable(Sample* table, double amount, bool multiply) {
    using Traits = SampleTraits<Sample>;
    if (multiply) {
        for (int32_t i = 0; i < Traits::tableSize; ++i)
            table[i] = clampSample<Sample>(truncToInt64(table[i] * amount));
    } else if (amount != 0.0) {
        for (int32_t i = 0; i < Traits::tableSize; ++i)
            table[i] = clampSample<Sample>(truncToInt64(table[i] + i * amount));
    }
}

template void adjustChannelTable<uint8_t>(uint8_t*, double, bool);
template void adjustChannelTable<uint16_t>(uint16_t*, double, bool);

void warmCoolShift(Image& image, const PixelRect& rect, double amount) {
    const PixelRect area = rect.intersected(image.bounds);
    if (amount == 0.0 || image.channels != 4 || area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() { shiftRedAgainstBlue<Sample>(image, area, amount); });
}

void colorCorrect(Image& image, const PixelRect& rect, double hueShift, double saturation, double gain,
                  double contrast, double bend, double redAmount, double greenAmount, double blueAmount,
                  bool multiply) {
    const PixelRect area = rect.intersected(image.bounds);
    if (image.channels != 4 || area.isEmpty()) return;
    withSampleType(image, [&]<class Sample>() {
        correct<Sample>(image, area, hueShift, saturation, gain, contrast, bend, redAmount, greenAmount, blueAmount, multiply);
    });
}
