#include "imaging/shape_reading.h"

#include <algorithm>
#include <stdexcept>

#include "imaging/luma.h"
#include "imaging/point_sampling.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// The luminance a displacement of exactly 0 belongs to: the middle of the scale.
template <class Sample>
constexpr double middleLevel() {
    return sizeof(Sample) == 1 ? 127.5 : 16384.0;
}

template <class Sample>
double sampleOrZero(const Image& shape, int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= shape.width || y >= shape.height) return 0.0;
    return double(shape.row<Sample>(int32_t(y))[x]);
}

// The bilinear read at (px, py) in shape pixels. Points more than a pixel outside the shape
// read 0 whatever their neighbours, so they are held there, which keeps every index in range.
template <class Sample>
Sample readAt(const Image& shape, double px, double py) {
    px = std::clamp(px, -2.0, double(shape.width) + 1.0);
    py = std::clamp(py, -2.0, double(shape.height) + 1.0);
    const double left = point_sampling::floorOfPosition(px);
    const double top = point_sampling::floorOfPosition(py);
    const double fx = px - left;
    const double fy = py - top;
    const int64_t x0 = int64_t(left);
    const int64_t y0 = int64_t(top);
    const double s00 = sampleOrZero<Sample>(shape, x0, y0);
    const double s10 = sampleOrZero<Sample>(shape, x0 + 1, y0);
    const double s01 = sampleOrZero<Sample>(shape, x0, y0 + 1);
    const double s11 = sampleOrZero<Sample>(shape, x0 + 1, y0 + 1);
    const double a = s00 + (s10 - s00) * fx;
    const double b = s01 + (s11 - s01) * fx;
    return Sample(truncToInt(a + (b - a) * fy));
}

template <class Sample>
void readOf(const Image& shape, const Image& picture, Image& out, const PixelRect& rect, const ShapeReading& r) {
    const bool displaced = r.shiftX != 0.0 || r.shiftY != 0.0;
    constexpr double middle = middleLevel<Sample>();
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* row = out.row<Sample>(y);
        const double pictureY = double(r.originY) + y;
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const double pictureX = double(r.originX) + x;
            double d = 0.0;
            if (displaced) d = (double(luma(picture.pixel<Sample>(x, y))) - middle) / middle;
            row[x] = readAt<Sample>(shape, (pictureX + d * r.shiftX) * r.ratioX, (pictureY + d * r.shiftY) * r.ratioY);
        }
    }
}

}  // namespace

void readShape(const Image* shape, const Image& picture, Image& out, const PixelRect& rect,
               const ShapeReading& reading) {
    const bool displaced = reading.shiftX != 0.0 || reading.shiftY != 0.0;
    if (out.channels != 1 || (out.bytesPerChannel != 1 && out.bytesPerChannel != 2) ||
        (shape && (shape->channels != 1 || shape->bytesPerChannel != out.bytesPerChannel)) ||
        (displaced && (picture.channels != 4 || picture.bytesPerChannel != out.bytesPerChannel ||
                       picture.width != out.width || picture.height != out.height)))
        throw std::invalid_argument("shape reading: a one-channel shape and block of the picture's depth are needed");
    const PixelRect area = rect.intersected(out.bounds);
    if (area.isEmpty()) return;
    withSampleType(out, [&]<class Sample>() {
        if (!shape || !shape->data || shape->width < 1 || shape->height < 1) {
            for (int32_t y = area.top; y < area.bottom; ++y) std::fill_n(out.row<Sample>(y) + area.left, area.width(), Sample(0));
            return;
        }
        readOf<Sample>(*shape, picture, out, area, reading);
    });
}
