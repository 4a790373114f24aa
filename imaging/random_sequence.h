// The linear congruential generator that draws the grain: state = state x 214013 + 2531011
// (mod 2^32), each draw (state >> 16) & 0x7FFF. Ours rather than the C library's rand, so the
// sequence is the same on every platform and runtime.
#pragma once

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

    // Moves on by count draws without making them: the affine step composed with itself by
    // squaring, so a jump anywhere costs at most 64 steps.
    void skip(uint64_t count) {
        uint32_t multiplier = kMultiplier;
        uint32_t increment = kIncrement;
        while (count != 0) {
            if (count & 1) state_ = state_ * multiplier + increment;
            increment = increment * (multiplier + 1);
            multiplier = multiplier * multiplier;
            count >>= 1;
        }
    }

private:
    uint32_t state_;
};
