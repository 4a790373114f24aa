#include "imaging/black_and_white_convert.h"

#include <algorithm>
#include <type_traits>

#include "imaging/luma.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// 2.24 levels of the 8-bit scale, as a fraction of full scale of the sample type, added
// before truncation so that the weighted sum of white reaches full.
template <class Sample>
constexpr double kNormalBias = std::is_same_v<Sample, uint8_t> ? 0.008784313725490198 : 6.8359375e-5;

template <class Sample, BlackAndWhiteFilter filter>
struct GreyOf;

template <class Sample>
struct GreyOf<Sample, BlackAndWhiteFilter::Normal> {
    static int32_t of(const Sample* p) {
        const double sum = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] + kNormalBias<Sample>;
        return std::min(truncToInt(sum), SampleTraits<Sample>::full);
    }
};

template <class Sample>
struct GreyOf<Sample, BlackAndWhiteFilter::Red> {
    static int32_t of(const Sample* p) { return p[0]; }
};

template <class Sample>
struct GreyOf<Sample, BlackAndWhiteFilter::Green> {
    static int32_t of(const Sample* p) { return p[1]; }
};

template <class Sample>
struct GreyOf<Sample, BlackAndWhiteFilter::Blue> {
    static int32_t of(const Sample* p) { return p[2]; }
};

// The luma of the pixel seen with its blue channel taken as 0.
template <class Sample>
struct GreyOf<Sample, BlackAndWhiteFilter::Yellow> {
    static int32_t of(const Sample* p) {
        const Sample withoutBlue[3] = {p[0], p[1], 0};
        return std::min(truncToInt(luma(withoutBlue) * 1.06), SampleTraits<Sample>::full);
    }
};

// As yellow, with green halved as well.
template <class Sample>
struct GreyOf<Sample, BlackAndWhiteFilter::Orange> {
    static int32_t of(const Sample* p) {
        const Sample halfGreenWithoutBlue[3] = {p[0], Sample(p[1] >> 1), 0};
        return std::min(truncToInt(luma(halfGreenWithoutBlue) * 1.6), SampleTraits<Sample>::full);
    }
};

// Reads from source and writes destination (which may be the same image): red, green and
// blue become the grey, alpha is carried over.
template <class Sample, BlackAndWhiteFilter filter>
void convert(const Image& source, Image& destination, const PixelRect& rect) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* in = source.pixel<Sample>(rect.left, y);
        Sample* out = destination.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, in += 4, out += 4) {
            const Sample grey = Sample(GreyOf<Sample, filter>::of(in));
            const Sample alpha = in[3];
            out[0] = grey;
            out[1] = grey;
            out[2] = grey;
            out[3] = alpha;
        }
    }
}

template <class Sample>
void convertThrough(const Image& source, Image& destination, const PixelRect& rect, uint32_t filter) {
    switch (BlackAndWhiteFilter(filter)) {
        case BlackAndWhiteFilter::Normal: convert<Sample, BlackAndWhiteFilter::Normal>(source, destination, rect); break;
        case BlackAndWhiteFilter::Red: convert<Sample, BlackAndWhiteFilter::Red>(source, destination, rect); break;
        case BlackAndWhiteFilter::Green: convert<Sample, BlackAndWhiteFilter::Green>(source, destination, rect); break;
        case BlackAndWhiteFilter::Blue: convert<Sample, BlackAndWhiteFilter::Blue>(source, destination, rect); break;
        case BlackAndWhiteFilter::Yellow: convert<Sample, BlackAndWhiteFilter::Yellow>(source, destination, rect); break;
        case BlackAndWhiteFilter::Orange: convert<Sample, BlackAndWhiteFilter::Orange>(source, destination, rect); break;
    }
}

bool sameLayout(const Image& a, const Image& b) {
    return a.channels == b.channels && a.bytesPerChannel == b.bytesPerChannel;
}

}  // namespace

void toBlackAndWhite(Image& image, const PixelRect& rect, uint32_t filter) { toBlackAndWhite(image, image, rect, filter); }

void toBlackAndWhite(const Image& source, Image& destination, const PixelRect& rect, uint32_t filter) {
    const PixelRect area = rect.intersected(source.bounds).intersected(destination.bounds);
    if (source.channels != 4 || !sameLayout(source, destination) || area.isEmpty()) return;
    if (filter >= kBlackAndWhiteFilterCount) {
        if (source.data != destination.data) copyRect(source, destination, area);
        return;
    }
    withSampleType(source, [&]<class Sample>() { convertThrough<Sample>(source, destination, area, filter); });
}
