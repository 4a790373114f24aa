// The one blur of the program: an in-place, separable, repeated box filter whose width
// may be fractional, on 8-bit or 16-bit images of one or four channels.
//
// Each direction filters every line of the rect with a box of radius r = size / 2: whole
// weight on the samples within r - frac(r) of the centre, a partial weight frac(r) on the
// two samples one further out. Near the ends of a line the part of the window outside it
// is dropped and the sum is divided by the weight that remains. Running sums make the cost
// per sample independent of the radius; sums are integer fixed point and every division
// truncates exactly as an integer division would. The box is
// applied extraPasses + 1 times in each direction (repeated boxes approach a Gaussian), all
// horizontal passes before the first vertical one. Alpha is filtered like the colours.
//
// The rect's edges behave as the image's edges: nothing outside it is read or written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/source_margin.h"

class Blur {
public:
    Blur() = default;
    ~Blur();
    Blur(const Blur&) = delete;
    Blur& operator=(const Blur&) = delete;

    // Sizes in pixels of the image being processed (the radius is half of each); 0 or less
    // leaves that direction alone. Returns whether either value differs from the stored one.
    bool setSize(float horizontalSize, float verticalSize);
    // The box runs extraPasses + 1 times in each direction.
    void setExtraPasses(uint32_t passes) { extraPasses_ = passes; }

    // Blurs the rect of image in place (clipped to the image's bounds). Throws std::bad_alloc
    // when the working memory cannot be had; the image is then unchanged or partly blurred.
    void apply(Image& image, const PixelRect& rect);

    // How far outside an area a blur of `size` pixels (of the processed image) reads when its
    // box runs `runs` times, so that the area comes out as it does inside a larger image: 0
    // for a size of 0 or less, at most kLargestSourceMargin.
    static int32_t margin(float size, uint32_t runs);

    float horizontalSize() const { return horizontalSize_; }
    float verticalSize() const { return verticalSize_; }
    uint32_t extraPasses() const { return extraPasses_; }

private:
    // Grows the working memory to at least `bytes` (never shrinks) and returns it.
    std::byte* scratchOf(size_t bytes);

    float horizontalSize_ = 0.0f;
    float verticalSize_ = 0.0f;
    uint32_t extraPasses_ = 0;
    // Working memory reused across apply calls: accumulators, the delayed output lines,
    // the transposed band of rows and the divisors of the line ends.
    std::unique_ptr<std::byte[]> scratch_;
    size_t scratchCapacity_ = 0;
};
