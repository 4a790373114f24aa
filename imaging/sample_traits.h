// The two working sample formats. 8-bit samples run 0..255; 16-bit samples use
// the host's 16-bit scale 0..32768, so "full" is 32768 and tables have 32769 entries.
#pragma once

#include <cstdint>
#include <type_traits>

template <class Sample>
struct SampleTraits;

template <>
struct SampleTraits<uint8_t> {
    static constexpr int32_t full = 255;
    static constexpr int32_t tableSize = 256;
    static constexpr uint32_t bytesPerChannel = 1;
    using Accumulator = int32_t;
};

template <>
struct SampleTraits<uint16_t> {
    static constexpr int32_t full = 32768;
    static constexpr int32_t tableSize = 32769;
    static constexpr uint32_t bytesPerChannel = 2;
    using Accumulator = int64_t;
};

// Limits a computed level to 0..full of the sample type.
template <class Sample, class Int>
constexpr Sample clampSample(Int value) {
    if (value < 0) return 0;
    if (value > Int(SampleTraits<Sample>::full)) return Sample(SampleTraits<Sample>::full);
    return Sample(value);
}

// The same limit without branches, for loops over busy pictures where a branch per sample would
// be mispredicted often enough to cost more than these few operations.
template <class Sample>
inline Sample clampLevel(int32_t v) {
    constexpr int32_t full = SampleTraits<Sample>::full;
    v &= ~(v >> 31);
    const int32_t over = v - full;
    return Sample(full + (over & (over >> 31)));
}

// x / full in integer arithmetic: a division by 255 in 8-bit, a shift right by 15 in 16-bit.
template <class Sample, class Int>
constexpr Int divideByFull(Int x) {
    if constexpr (sizeof(Sample) == 1)
        return x / Int(255);
    else
        return x >> 15;
}

// Every conversion from floating point to an integer goes through here: truncation toward zero.
constexpr int32_t truncToInt(double value) { return static_cast<int32_t>(value); }
constexpr int64_t truncToInt64(double value) { return static_cast<int64_t>(value); }
