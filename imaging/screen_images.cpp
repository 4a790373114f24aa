#include "imaging/screen_images.h"

#include <stdexcept>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/screen_steps.h"

namespace {

template <class Sample>
void screenImagesOf(Image& a, const Image& b, const PixelRect& rect) {
    constexpr int64_t full = SampleTraits<Sample>::full;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* out = a.row<Sample>(y);
        const Sample* in = b.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x)
            out[x] = Sample(full - divideByFull<Sample, int64_t>((full - out[x]) * (full - in[x])));
    }
}

template <class Sample>
void layLightOf(Image& picture, const Image& light, const PixelRect& rect, const std::array<int64_t, 3>& color,
                double amount) {
    const ScreenSteps steps = screenStepsOf<Sample>(amount);
    if (steps.whole == 0 && steps.part == 0) return;
    std::array<int64_t, 3> level, partialLevel;  // C, and C r / full
    for (size_t ch = 0; ch < 3; ++ch) {
        level[ch] = clampSample<Sample>(color[ch]);
        partialLevel[ch] = divideByFull<Sample, int64_t>(level[ch] * steps.part);
    }
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* lightRow = light.row<Sample>(y);
        Sample* pixel = picture.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, pixel += 4) {
            const int64_t t = lightRow[x];
            if (t == 0) continue;
            for (size_t ch = 0; ch < 3; ++ch) {
                int64_t c = pixel[ch];
                const int64_t screened = screenStep<Sample>(c, t);
                const int64_t g =
                    divideByFull<Sample, int64_t>(divideByFull<Sample, int64_t>(level[ch] * t) * screened);
                c = screenStepsRepeated<Sample>(c, g, steps.whole);
                if (steps.part > 0) {
                    const int64_t partial =
                        divideByFull<Sample, int64_t>(divideByFull<Sample, int64_t>(t * partialLevel[ch]) * c);
                    c = screenStep<Sample>(c, partial);
                }
                pixel[ch] = clampSample<Sample>(c);
            }
        }
    }
}

void checkSampleSize(const Image& a, const Image& b) {
    if (a.bytesPerChannel != b.bytesPerChannel || (a.bytesPerChannel != 1 && a.bytesPerChannel != 2) ||
        a.width != b.width || a.height != b.height)
        throw std::invalid_argument("screen: the images must have the same size and sample size");
}

}  // namespace

void screenInto(Image& a, const Image& b, const PixelRect& rect) {
    checkSampleSize(a, b);
    if (a.channels != 1 || b.channels != 1) throw std::invalid_argument("screen: the images must have one channel");
    const PixelRect area = rect.intersected(a.bounds);
    if (area.isEmpty()) return;
    withSampleType(a, [&]<class Sample>() { screenImagesOf<Sample>(a, b, area); });
}

void layLight(Image& picture, const Image& light, const PixelRect& rect, const std::array<int64_t, 3>& color,
              double amount) {
    checkSampleSize(picture, light);
    if (picture.channels != 4 || light.channels != 1)
        throw std::invalid_argument("screen: the picture must have four channels and the light one");
    const PixelRect area = rect.intersected(picture.bounds);
    if (area.isEmpty()) return;
    withSampleType(picture, [&]<class Sample>() { layLightOf<Sample>(picture, light, area, color, amount); });
}
