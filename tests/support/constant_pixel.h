// A picture of one colour through one effect: each effect's test instantiates ConstantPixel with
// its worked values, and every pixel of the result must be `out` with its alpha kept.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

#include "tests/support/effect_harness.h"

struct ConstantPixelCase {
    const char* key;
    std::vector<Setting> settings;
    uint32_t bytesPerChannel;
    std::array<uint32_t, 3> in, out;  // red, green, blue
};

// How a failure names its case: Temperature brightness=100, 8-bit (100, 102, 200).
void PrintTo(const ConstantPixelCase& c, std::ostream* out);

class ConstantPixel : public testing::TestWithParam<ConstantPixelCase> {};

// The settings with one more.
std::vector<Setting> plus(std::vector<Setting> settings, Setting extra);
