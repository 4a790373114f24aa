#include "imaging/matte_mix.h"

#include <stdexcept>

#include "imaging/pixel_mix.h"
#include "imaging/sample_dispatch.h"

void mixByMatte(const Image& p, const Image& q, Image& destination, const PixelRect& rect, const Image& matte) {
    const uint32_t depth = destination.bytesPerChannel;
    if (p.channels != 4 || q.channels != 4 || destination.channels != 4 || matte.channels != 1 ||
        p.bytesPerChannel != depth || q.bytesPerChannel != depth || matte.bytesPerChannel != depth ||
        (depth != 1 && depth != 2))
        throw std::invalid_argument("mixByMatte takes RGBA pictures and a one-channel matte of one depth");
    const PixelRect area =
        rect.intersected(p.bounds).intersected(q.bounds).intersected(destination.bounds).intersected(matte.bounds);
    if (area.isEmpty()) return;
    withSampleType(destination, [&]<class Sample>() {
        for (int32_t y = area.top; y < area.bottom; ++y)
            mixRowByMatte(p.pixel<Sample>(area.left, y), q.pixel<Sample>(area.left, y),
                          matte.pixel<Sample>(area.left, y), destination.pixel<Sample>(area.left, y), area.width());
    });
}
