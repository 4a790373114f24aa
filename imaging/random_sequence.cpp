#include "imaging/random_sequence.h"

namespace {

// count steps of the generator as one: state -> state x multiplier + increment (mod 2^32).
struct Step {
    uint32_t multiplier = 1;
    uint32_t increment = 0;
};

// The step composed with itself by squaring.
Step stepsOf(uint64_t count) {
    Step total;
    Step power{RandomSequence::kMultiplier, RandomSequence::kIncrement};
    while (count != 0) {
        if (count & 1) total = {total.multiplier * power.multiplier, total.increment * power.multiplier + power.increment};
        power = {power.multiplier * power.multiplier, power.increment * (power.multiplier + 1)};
        count >>= 1;
    }
    return total;
}

constexpr size_t kLanes = 8;

}  // namespace

void RandomSequence::skip(uint64_t count) {
    const Step step = stepsOf(count);
    state_ = state_ * step.multiplier + step.increment;
}

void RandomSequence::fillBytes(uint8_t* out, size_t count) {
    size_t i = 0;
    if (count >= 2 * kLanes) {
        // Lane k holds the state of draw k, k + 8, k + 16, ...
        uint32_t lane[kLanes];
        for (size_t k = 0; k < kLanes; ++k) {
            state_ = state_ * kMultiplier + kIncrement;
            lane[k] = state_;
        }
        const Step stride = stepsOf(kLanes);
        for (; i + kLanes <= count; i += kLanes) {
            for (size_t k = 0; k < kLanes; ++k) {
                out[i + k] = uint8_t(lane[k] >> 23);
                lane[k] = lane[k] * stride.multiplier + stride.increment;
            }
        }
        // The generator stands at draw 7, where the lanes started: move it to the last draw made.
        skip(i - kLanes);
    }
    for (; i < count; ++i) out[i] = uint8_t(next() >> 7);
}
