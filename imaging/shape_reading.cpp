#include "imaging/shape_reading.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

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

// Where a position falls between two shape samples: the first one's index and the distance
// from it (0..1). Positions more than a sample outside the shape read 0 whatever their
// neighbours, so they are held there, which keeps every index in range.
struct Tap {
    int64_t first;
    double fraction;
};

Tap tapAt(double position, int32_t size) {
    position = std::clamp(position, -2.0, double(size) + 1.0);
    const double first = point_sampling::floorOfPosition(position);
    return {int64_t(first), position - first};
}

template <class Sample>
double sampleOrZero(const Image& shape, int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= shape.width || y >= shape.height) return 0.0;
    return double(shape.row<Sample>(int32_t(y))[x]);
}

// The bilinear read between the taps: along x first, then along y.
template <class Sample>
Sample readAt(const Image& shape, const Tap& across, const Tap& down) {
    double s00, s10, s01, s11;
    if (across.first >= 0 && across.first + 1 < shape.width && down.first >= 0 && down.first + 1 < shape.height) {
        // All four inside, as for most pixels: no sample needs its own test.
        const Sample* upper = shape.row<Sample>(int32_t(down.first)) + across.first;
        const Sample* lower = shape.row<Sample>(int32_t(down.first) + 1) + across.first;
        s00 = upper[0];
        s10 = upper[1];
        s01 = lower[0];
        s11 = lower[1];
    } else {
        s00 = sampleOrZero<Sample>(shape, across.first, down.first);
        s10 = sampleOrZero<Sample>(shape, across.first + 1, down.first);
        s01 = sampleOrZero<Sample>(shape, across.first, down.first + 1);
        s11 = sampleOrZero<Sample>(shape, across.first + 1, down.first + 1);
    }
    const double a = s00 + (s10 - s00) * across.fraction;
    const double b = s01 + (s11 - s01) * across.fraction;
    return Sample(truncToInt(a + (b - a) * down.fraction));
}

template <class Sample>
void readOf(const Image& shape, const Image& picture, Image& out, const PixelRect& rect, const ShapeReading& r) {
    constexpr int32_t full = SampleTraits<Sample>::full;
    const bool displaced = r.shiftX != 0.0 || r.shiftY != 0.0;
    // The displacement of each luminance level, d x shift with d = (L - half) / half: a pixel
    // takes its level's entry rather than computing the same products again.
    std::vector<double> shiftX(displaced ? size_t(full) + 1 : 0), shiftY(shiftX.size());
    for (size_t level = 0; level < shiftX.size(); ++level) {
        const double d = (double(level) - middleLevel<Sample>()) / middleLevel<Sample>();
        shiftX[level] = d * r.shiftX;
        shiftY[level] = d * r.shiftY;
    }
    // Undisplaced, a column reads the same taps on every row.
    std::vector<Tap> columns(displaced ? 0 : size_t(rect.width()));
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = tapAt((double(r.originX) + rect.left + int32_t(i)) * r.ratioX, shape.width);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* row = out.row<Sample>(y) + rect.left;
        const double pictureY = double(r.originY) + y;
        if (!displaced) {
            const Tap down = tapAt(pictureY * r.ratioY, shape.height);
            for (const Tap& across : columns) *row++ = readAt<Sample>(shape, across, down);
            continue;
        }
        const Sample* pixel = picture.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, pixel += 4) {
            const size_t level = size_t(std::min(luma(pixel), full));
            *row++ = readAt<Sample>(shape, tapAt((double(r.originX) + x + shiftX[level]) * r.ratioX, shape.width),
                                    tapAt((pictureY + shiftY[level]) * r.ratioY, shape.height));
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
