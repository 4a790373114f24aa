// The linear congruential generator that draws the grain: state = state x 214013 + 2531011
// (mod 2^32), each draw (state >> 16) & 0x7FFF. Ours rather than the C library's rand, so the
// sequence is the same on every platform and runtime.
#pragma once

#include <cstddef>
#include <cstdint>

class RandomSequence {
public:
    static constexpr uint32_t kMultiplier = 214013;
    static constexpr uint32_t kIncrement = 2531011;

    explicit RandomSequence(uint32_t seed = 0) : state_(seed) {}

    void reseed(uint32_t seed) { state_ = seed; }

    // The next draw, 0..32767.
    uint32_t next() {
        state_ = state_ * kMultiplier + kIncrement;
        return (state_ >> 16) & 0x7FFF;
    }

    // Moves on by count draws without making them, in at most 64 steps.
    void skip(uint64_t count);

    // The next count draws cut to bytes (draw >> 7, 0..255), in order: what count calls of
    // next() give, worked out on interleaved lanes that run side by side.
    void fillBytes(uint8_t* out, size_t count);

private:
    uint32_t state_;
};
