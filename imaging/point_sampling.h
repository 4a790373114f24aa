// Reading an image at a real-valued position, for the geometric operations (the placement
// transform and the quad warp). Positions are in pixel units of the source, with pixel
// (i, j) covering [i, i + 1) x [j, j + 1).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "imaging/image.h"
#include "imaging/sample_traits.h"

namespace point_sampling {

// Positions within this distance of a whole number are taken as that number. The products
// and quotients that carry a pixel through a matrix round in the last bits; without this an
// exact copy (the identity, a quarter turn) would read 23.999999999999996 for pixel 24 and
// give its neighbour's level or one level less.
constexpr double kSnap = 1.0 / (1 << 20);

// floor of a position within the range of a 32-bit integer, exactly as std::floor gives it,
// without a call into the maths library (the baseline x86-64 has no rounding instruction).
inline double floorOfPosition(double position) {
    const double truncated = double(int64_t(position));
    return truncated > position ? truncated - 1.0 : truncated;
}

// Positions must lie within the range of a 32-bit integer (callers clamp them to the image).
inline double snapToWhole(double position) {
    const double whole = floorOfPosition(position + 0.5);
    return std::fabs(position - whole) < kSnap ? whole : position;
}

inline int32_t clampIndex(int32_t index, int32_t size) { return index < 0 ? 0 : (index >= size ? size - 1 : index); }

// One axis of a bilinear read: the two neighbouring indices, clamped into the image, and the
// weight of the second.
struct BilinearTap {
    int32_t first;
    int32_t second;
    double fraction;
};

// The tap at position s of an axis of `size` pixels (at least 1); s must not be NaN.
inline BilinearTap bilinearTap(double s, int32_t size) {
    s = snapToWhole(std::clamp(s, -1.0, double(size)));
    const double start = floorOfPosition(s);
    return {clampIndex(int32_t(start), size), clampIndex(int32_t(start) + 1, size), s - start};
}

// The four neighbours mixed by the taps' fractions, as two linear steps a + f (b - a), which
// keeps a level exact where the neighbours agree (a constant image stays constant); truncated.
template <class Sample>
inline Sample mixBilinear(double a, double b, double d, double e, double fx, double fy) {
    const double upper = a + fx * (b - a);
    const double lower = d + fx * (e - d);
    return Sample(truncToInt(upper + fy * (lower - upper)));
}

// Bilinear: the four pixels from (floor(sx), floor(sy)) to (+1, +1), each read with its
// coordinates clamped into the source, weighted by the fractional parts; the result truncated.
// Positions beyond the edges read the edge pixels; sx and sy must not be NaN, and the source
// must have pixels. Channels is the source's channel count when known at compile time (0:
// read it from the source).
template <class Sample, uint32_t Channels = 0>
inline void sampleBilinear(const Image& source, double sx, double sy, Sample* out) {
    const BilinearTap x = bilinearTap(sx, source.width);
    const BilinearTap y = bilinearTap(sy, source.height);
    const uint32_t channels = Channels ? Channels : source.channels;
    const Sample* row0 = source.row<Sample>(y.first);
    const Sample* row1 = source.row<Sample>(y.second);
    for (uint32_t c = 0; c < channels; ++c) {
        const size_t x0 = size_t(x.first) * channels + c;
        const size_t x1 = size_t(x.second) * channels + c;
        out[c] = mixBilinear<Sample>(row0[x0], row0[x1], row1[x0], row1[x1], x.fraction, y.fraction);
    }
}

}  // namespace point_sampling
