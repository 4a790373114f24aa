// Mixing two rows of RGBA pixels through a one-channel mask, in integer arithmetic.
#pragma once

#include <cstdint>

#include "imaging/sample_traits.h"

// out = mix(a, b, mask, strength) over count four-channel pixels, with k = trunc(strength x
// full) kept to the sample width and w = mask x k / full: w = 0 gives a, w = full gives b's
// colour with a's alpha, otherwise every channel, alpha included, is
// (a x (full - w) + b x w) / full. out may be a or b.
template <class Sample>
void mixRow(const Sample* a, const Sample* b, const Sample* mask, Sample* out, int32_t count, Sample k) {
    constexpr uint32_t full = SampleTraits<Sample>::full;
    for (int32_t x = 0; x < count; ++x, a += 4, b += 4, out += 4) {
        const uint32_t w = divideByFull<Sample>(uint32_t(mask[x]) * k);
        if (w == 0) {
            for (int c = 0; c < 4; ++c) out[c] = a[c];
        } else if (w == full) {
            const Sample alpha = a[3];
            out[0] = b[0];
            out[1] = b[1];
            out[2] = b[2];
            out[3] = alpha;
        } else {
            for (int c = 0; c < 4; ++c) out[c] = Sample(divideByFull<Sample>(a[c] * (full - w) + b[c] * w));
        }
    }
}

// destination = p where the matte is full, q where it is 0 (all four channels), otherwise
// each colour channel (q x (full - m) + p x m) / full with p's alpha, over count four-channel
// pixels. destination may be p or q.
template <class Sample>
void mixRowByMatte(const Sample* p, const Sample* q, const Sample* matte, Sample* destination, int32_t count) {
    constexpr uint32_t full = SampleTraits<Sample>::full;
    for (int32_t x = 0; x < count; ++x, p += 4, q += 4, destination += 4) {
        const uint32_t m = matte[x];
        if (m == full) {
            for (int c = 0; c < 4; ++c) destination[c] = p[c];
        } else if (m == 0) {
            for (int c = 0; c < 4; ++c) destination[c] = q[c];
        } else {
            for (int c = 0; c < 3; ++c)
                destination[c] = Sample(divideByFull<Sample>(uint32_t(q[c]) * (full - m) + uint32_t(p[c]) * m));
            destination[3] = p[3];
        }
    }
}
