// Laying light onto a level by repeated screen steps, the rule shared by the glow engine and
// Star: a strength K = trunc(amount x full) splits into n = K div (full + 1) whole steps and a
// partial one of weight r = K mod (full + 1). One step is c + g - c g / full, which approaches
// full without passing it. Integer arithmetic on the sample type's scale.
#pragma once

#include <algorithm>
#include <cstdint>

#include "imaging/sample_traits.h"

// Amounts are held to 0 .. kLargestScreenAmount, so that trunc(amount x full) is a 32-bit number.
constexpr double kLargestScreenAmount = 65535.0;

// The amount as n whole steps and a partial one of weight r (of full + 1).
struct ScreenSteps {
    int64_t whole;
    int64_t part;
};

// NaN and negative amounts count as 0.
template <class Sample>
ScreenSteps screenStepsOf(double amount) {
    constexpr int64_t full = SampleTraits<Sample>::full;
    const double held = amount >= 0.0 ? std::min(amount, kLargestScreenAmount) : 0.0;
    const int64_t k = truncToInt64(held * double(full));
    return {k / (full + 1), k % (full + 1)};
}

// The screen of two levels: full - (full - a)(full - b) / full.
template <class Sample>
inline int64_t screenLevels(int64_t a, int64_t b) {
    constexpr int64_t full = SampleTraits<Sample>::full;
    return full - divideByFull<Sample, int64_t>((full - a) * (full - b));
}

// One screen step: c + g - c g / full.
template <class Sample>
inline int64_t screenStep(int64_t c, int64_t g) {
    return c + g - divideByFull<Sample, int64_t>(c * g);
}

// n screen steps with the same light. Once c is full (or the light is 0) further steps change
// nothing, so they are skipped.
template <class Sample>
inline int64_t screenStepsRepeated(int64_t c, int64_t g, int64_t steps) {
    for (int64_t step = 0; step < steps && c != SampleTraits<Sample>::full && g != 0; ++step)
        c = screenStep<Sample>(c, g);
    return c;
}
