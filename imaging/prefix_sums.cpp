#include "imaging/prefix_sums.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// Four pixels (or four grey samples) per step, widened in registers: the running sum is the one
// serial dependency of the whole horizontal blur. Returns the number of pixels done, with the
// totals so far in `running`.
template <class Sample, size_t Channels>
size_t prefixSumsVector(const Sample* __restrict row, size_t pixels, uint32_t* __restrict prefix,
                        uint32_t* __restrict running) {
    constexpr size_t kSamplesPerLoad = 16 / sizeof(Sample);
    constexpr size_t kPixelsPerLoad = kSamplesPerLoad / Channels;
    const __m128i zero = _mm_setzero_si128();
    __m128i total = _mm_setzero_si128();  // per channel, or (grey) the total in every lane
    size_t i = 0;
    for (; i + kPixelsPerLoad <= pixels; i += kPixelsPerLoad) {
        const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i * Channels));
        __m128i quads[kSamplesPerLoad / 4];
        if constexpr (sizeof(Sample) == 1) {
            const __m128i low = _mm_unpacklo_epi8(samples, zero);
            const __m128i high = _mm_unpackhi_epi8(samples, zero);
            quads[0] = _mm_unpacklo_epi16(low, zero);
            quads[1] = _mm_unpackhi_epi16(low, zero);
            quads[2] = _mm_unpacklo_epi16(high, zero);
            quads[3] = _mm_unpackhi_epi16(high, zero);
        } else {
            quads[0] = _mm_unpacklo_epi16(samples, zero);
            quads[1] = _mm_unpackhi_epi16(samples, zero);
        }
        uint32_t* out = prefix + (i + 1) * Channels;
        for (size_t q = 0; q < kSamplesPerLoad / 4; ++q) {
            __m128i sums;
            if constexpr (Channels == 4) {
                total = _mm_add_epi32(total, quads[q]);
                sums = total;
            } else {
                // In-register scan of four grey samples, then the total carried in.
                sums = _mm_add_epi32(quads[q], _mm_slli_si128(quads[q], 4));
                sums = _mm_add_epi32(sums, _mm_slli_si128(sums, 8));
                sums = _mm_add_epi32(sums, total);
                total = _mm_shuffle_epi32(sums, 0xFF);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + q * 4), sums);
        }
    }
    alignas(16) uint32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), total);
    for (size_t c = 0; c < Channels; ++c) running[c] = lanes[c];
    return i;
}
#endif

template <class Sample, size_t Channels>
void prefixSumsOf(const Sample* __restrict row, size_t pixels, uint32_t* __restrict prefix) {
    uint32_t running[Channels] = {};
    for (size_t c = 0; c < Channels; ++c) prefix[c] = 0;
    size_t i = 0;
#if defined(__SSE2__)
    if constexpr (Channels == 1 || Channels == 4) i = prefixSumsVector<Sample, Channels>(row, pixels, prefix, running);
#endif
    for (; i < pixels; ++i)
        for (size_t c = 0; c < Channels; ++c) {
            running[c] += row[i * Channels + c];
            prefix[(i + 1) * Channels + c] = running[c];
        }
}

template <class Sample>
void prefixSumsFor(const Sample* row, size_t pixels, uint32_t channels, uint32_t* prefix) {
    switch (channels) {
        case 1: return prefixSumsOf<Sample, 1>(row, pixels, prefix);
        case 2: return prefixSumsOf<Sample, 2>(row, pixels, prefix);
        case 3: return prefixSumsOf<Sample, 3>(row, pixels, prefix);
        case 4: return prefixSumsOf<Sample, 4>(row, pixels, prefix);
        default: return;
    }
}

}  // namespace

void prefixSums(const uint8_t* row, size_t pixels, uint32_t channels, uint32_t* prefix) {
    prefixSumsFor(row, pixels, channels, prefix);
}

void prefixSums(const uint16_t* row, size_t pixels, uint32_t channels, uint32_t* prefix) {
    prefixSumsFor(row, pixels, channels, prefix);
}
