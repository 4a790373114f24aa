#include "imaging/screen_images.h"

#include <stdexcept>
#include <vector>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/screen_steps.h"

namespace {

template <class Sample>
void screenImagesOf(Image& a, const Image& b, const PixelRect& rect) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* out = a.row<Sample>(y);
        const Sample* in = b.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x) out[x] = Sample(screenLevels<Sample>(out[x], in[x]));
    }
}

// One colour level c under light t, for a channel of colour level C (`level`) and C r / full
// (`partialLevel`).
template <class Sample>
inline int64_t litLevel(int64_t c, int64_t t, int64_t level, int64_t partialLevel, const ScreenSteps& steps) {
    const int64_t screened = screenStep<Sample>(c, t);
    const int64_t g = divideByFull<Sample, int64_t>(divideByFull<Sample, int64_t>(level * t) * screened);
    c = screenStepsRepeated<Sample>(c, g, steps.whole);
    if (steps.part > 0) {
        const int64_t partial = divideByFull<Sample, int64_t>(divideByFull<Sample, int64_t>(t * partialLevel) * c);
        c = screenStep<Sample>(c, partial);
    }
    return clampSample<Sample>(c);
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
    // 8-bit levels and lights have 256 x 256 outcomes per channel: looked up, not computed.
    std::vector<uint8_t> outcomes;
    if constexpr (sizeof(Sample) == 1) {
        outcomes.resize(3 * 256 * 256);
        for (size_t ch = 0; ch < 3; ++ch)
            for (int64_t t = 0; t < 256; ++t)
                for (int64_t c = 0; c < 256; ++c)
                    outcomes[(ch * 256 + size_t(t)) * 256 + size_t(c)] =
                        uint8_t(litLevel<Sample>(c, t, level[ch], partialLevel[ch], steps));
    }
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* lightRow = light.row<Sample>(y);
        Sample* pixel = picture.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, pixel += 4) {
            const int64_t t = lightRow[x];
            if (t == 0) continue;
            for (size_t ch = 0; ch < 3; ++ch) {
                if constexpr (sizeof(Sample) == 1)
                    pixel[ch] = outcomes[(ch * 256 + size_t(t)) * 256 + pixel[ch]];
                else
                    pixel[ch] = Sample(litLevel<Sample>(pixel[ch], t, level[ch], partialLevel[ch], steps));
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
