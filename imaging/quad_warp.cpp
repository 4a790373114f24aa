#include "imaging/quad_warp.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "imaging/pixel_utils.h"
#include "imaging/point_sampling.h"

namespace {

// A position held to 0..1; NaN (a pixel on the map's vanishing line) counts as 0.
double unitRange(double value) {
    if (!(value > 0.0)) return 0.0;
    return value > 1.0 ? 1.0 : value;
}

// x / divisor. Dividing by a power of two and multiplying by its reciprocal give the same
// double, so the ramps' divisor 2 costs a multiplication instead of a division per pixel.
class Divide {
public:
    explicit Divide(double divisor) : divisor_(divisor) {
        int exponent = 0;
        if (std::frexp(divisor, &exponent) == 0.5) reciprocal_ = 1.0 / divisor;
    }
    double operator()(double x) const { return reciprocal_ != 0.0 ? x * reciprocal_ : x / divisor_; }

private:
    double divisor_;
    double reciprocal_ = 0.0;
};

template <class Sample>
void warp(Image& destination, const Image& source, const PixelRect& rect, int32_t originX, int32_t originY,
          const ProjectiveMatrix& map, double divisor) {
    const double width = source.width;
    const double height = source.height;
    const Divide divide(divisor);
    // A source one pixel wide (or high) reads the same column (row) wherever the map lands, so
    // that coordinate is never needed: the sampler gives the same level for any position.
    const bool oneColumn = source.width == 1;
    const bool oneRow = source.height == 1;
    auto level = [&](int32_t x, int32_t y) {
        const HomogeneousPoint p = map.map(double(x) + originX, double(y) + originY);
        const double sx = oneColumn ? 0.0 : divide(unitRange(p.x / p.w) * width);
        const double sy = oneRow ? 0.0 : divide(unitRange(p.y / p.w) * height);
        Sample sample;
        point_sampling::sampleBilinear<Sample, 1>(source, sx, sy, &sample);
        return sample;
    };
    const size_t rowBytes = size_t(rect.width()) * sizeof(Sample);
    // An upright quad gives a map whose y and w do not move along a row (their x terms are 0,
    // and x x 0 adds nothing), so a one-column ramp has one level a row; likewise a map whose
    // x and w do not move down a column gives a one-row ramp the same row all the way down.
    // Both are the picture's default corners, worked out once and filled.
    if (oneColumn && map.m[1] == 0.0 && map.m[2] == 0.0) {
        for (int32_t y = rect.top; y < rect.bottom; ++y)
            std::fill_n(destination.row<Sample>(y) + rect.left, rect.width(), level(rect.left, y));
        return;
    }
    // An upright rectangle warped onto the square (a picture stretched over another) gives a map
    // whose x and y terms do not cross and whose w is one constant: u follows x alone and v
    // follows y alone, so each column's tap and each row's tap is worked out once. A term of
    // 0 adds nothing but the sign of a zero, which the hold to 0..1 does not see.
    const std::array<double, 9>& m = map.m;
    if (m[1] == 0.0 && m[2] == 0.0 && m[3] == 0.0 && m[5] == 0.0 && m[8] != 0.0) {
        auto tap = [&](double position, double size, int32_t pixels, bool single) {
            return point_sampling::bilinearTap(single ? 0.0 : divide(unitRange(position) * size), pixels);
        };
        std::vector<point_sampling::BilinearTap> columns(size_t(rect.width()));
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const HomogeneousPoint p = map.map(double(x) + originX, double(rect.top) + originY);
            columns[size_t(x - rect.left)] = tap(p.x / p.w, width, source.width, oneColumn);
        }
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            const HomogeneousPoint p = map.map(double(rect.left) + originX, double(y) + originY);
            const point_sampling::BilinearTap row = tap(p.y / p.w, height, source.height, oneRow);
            const Sample* upper = source.row<Sample>(row.first);
            const Sample* lower = source.row<Sample>(row.second);
            Sample* out = destination.row<Sample>(y) + rect.left;
            for (const point_sampling::BilinearTap& c : columns)
                *out++ = point_sampling::mixBilinear<Sample>(upper[c.first], upper[c.second], lower[c.first],
                                                             lower[c.second], c.fraction, row.fraction);
        }
        return;
    }
    const bool sameRows = oneRow && map.m[3] == 0.0 && map.m[5] == 0.0;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* out = destination.row<Sample>(y) + rect.left;
        if (sameRows && y > rect.top) {
            std::memcpy(out, destination.row<Sample>(rect.top) + rect.left, rowBytes);
            continue;
        }
        for (int32_t x = rect.left; x < rect.right; ++x) out[x - rect.left] = level(x, y);
    }
}

}  // namespace

void quadWarp(Image& destination, const Image& source, const PixelRect& rect, int32_t originX, int32_t originY,
              const Quad& quad, double scale, double divisor) {
    if (destination.channels != 1 || source.channels != 1 || destination.bytesPerChannel != source.bytesPerChannel ||
        (source.bytesPerChannel != 1 && source.bytesPerChannel != 2))
        throw std::invalid_argument("quadWarp takes one-channel images of one sample size");
    const PixelRect area = rect.intersected({0, 0, destination.height, destination.width});
    if (area.isEmpty()) return;
    const double c = (1.0 - scale) * 0.5;
    const Quad square = {{{-c, -c}, {1.0 + c, -c}, {1.0 + c, 1.0 + c}, {-c, 1.0 + c}}};
    const std::optional<ProjectiveMatrix> map = quadToQuad(quad, square);
    if (!map || source.width < 1 || source.height < 1 || !(divisor > 0.0)) {
        clearRect(destination, area);
        return;
    }
    if (source.is16())
        warp<uint16_t>(destination, source, area, originX, originY, *map, divisor);
    else
        warp<uint8_t>(destination, source, area, originX, originY, *map, divisor);
}
