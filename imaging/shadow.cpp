#include "imaging/shadow.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

template <class Sample>
void darkenOf(Image& image, const Image& light, const PixelRect& rect, double strength) {
    constexpr int32_t full = SampleTraits<Sample>::full;
    // The darkening for each light level, the same for every pixel: one product per level.
    std::vector<int32_t> darkening(size_t(full) + 1);
    for (int32_t level = 0; level <= full; ++level) darkening[size_t(level)] = truncToInt(double(full - level) * strength);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* pixel = image.pixel<Sample>(rect.left, y);
        const Sample* lit = light.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, pixel += 4, lit += 4)
            for (int c = 0; c < 3; ++c)
                pixel[c] = clampSample<Sample>(int32_t(pixel[c]) - darkening[std::min<size_t>(lit[c], size_t(full))]);
    }
}

}  // namespace

void darkenUnlit(Image& image, const Image& light, const PixelRect& rect, double strength) {
    if (image.channels != 4 || light.channels != 4 || image.bytesPerChannel != light.bytesPerChannel ||
        (image.bytesPerChannel != 1 && image.bytesPerChannel != 2) || image.width != light.width ||
        image.height != light.height)
        throw std::invalid_argument("shadow: the image and its light must have four channels of one size and depth");
    const PixelRect area = rect.intersected(image.bounds);
    if (area.isEmpty() || !(strength > 0.0)) return;
    withSampleType(image, [&]<class Sample>() { darkenOf<Sample>(image, light, area, strength); });
}
