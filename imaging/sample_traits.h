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

// Every conversion from floating point to an integer goes through here: truncation toward zero.
constexpr int32_t truncToInt(double value) { return static_cast<int32_t>(value); }
constexpr int64_t truncToInt64(double value) { return static_cast<int64_t>(value); }
