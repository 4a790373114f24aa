#include "imaging/gradient_matte.h"

#include <stdexcept>

#include "imaging/quad_warp.h"
#include "imaging/sample_traits.h"

namespace {

// The two-pixel ramp: a column for the vertical directions, a row for the horizontal ones,
// full in its first pixel and 0 in its second, or the reverse.
template <class Sample>
ImagePtr twoPixelRamp(uint32_t direction) {
    const bool vertical = direction != GradientDirection::kLeftToRight && direction != GradientDirection::kRightToLeft;
    const bool fullFirst = direction != GradientDirection::kBottomToTop && direction != GradientDirection::kRightToLeft;
    ImagePtr ramp = ImagePtr::make(vertical ? ImageSize{1, 2} : ImageSize{2, 1}, 1, sizeof(Sample));
    Sample* first = ramp->pixel<Sample>(0, 0);
    Sample* second = vertical ? ramp->pixel<Sample>(0, 1) : ramp->pixel<Sample>(1, 0);
    *first = fullFirst ? Sample(SampleTraits<Sample>::full) : Sample(0);
    *second = fullFirst ? Sample(0) : Sample(SampleTraits<Sample>::full);
    return ramp;
}

}  // namespace

// With divisor 2 the warp reads the two ramp pixels at positions 0..1 along the ramp, so the
// level is interpolated linearly between them across the quad.
void buildGradientMatte(Image& matte, const PixelRect& rect, int32_t originX, int32_t originY, const Quad& corners,
                        double size, uint32_t direction) {
    if (matte.channels != 1 || (matte.bytesPerChannel != 1 && matte.bytesPerChannel != 2))
        throw std::invalid_argument("buildGradientMatte takes a one-channel 8 or 16-bit matte");
    const ImagePtr ramp = matte.is16() ? twoPixelRamp<uint16_t>(direction) : twoPixelRamp<uint8_t>(direction);
    quadWarp(matte, *ramp, rect, originX, originY, corners, size, 2.0);
}
