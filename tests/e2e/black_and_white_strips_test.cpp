// Black and White, Infra-Red and Bleach Bypass rendered by the stand-in host in 16 x 16 tiles
// (whole-width strips of 16 rows for Infra-Red, which needs margins) and in one tile give the
// same picture: the margins Infra-Red asks for cover everything its matte and glow blurs read,
// and the last strip, whose block is taller than what is read, renders like the others. Real
// photographs at 8 and 16 bits, with and without transparency.
#include <gtest/gtest.h>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;
using editor::Picture;

struct StripCase {
    const char* name;
    const char* key;
    Settings settings;
};

const StripCase kCases[] = {
    {"black and white", "BlackAndWhite", {}},
    {"black and white orange", "BlackAndWhite", {{"filter", "Orange"}, {"brightness", "20"}, {"gamma", "-35"}}},
    {"bleach bypass", "BleachBypass", {}},
    {"bleach bypass mixed", "BleachBypass", {{"amount", "65"}, {"saturation", "-40"}, {"contrast", "35"}}},
    {"infra-red", "InfraRed", {}},
    // Vertically the matte blur (2 x 14) and the glow blur (2 x 34) add up to a margin of 96.
    {"infra-red wide", "InfraRed",
     {{"glowBlurGang", "off"}, {"glowBlurH", "11.5"}, {"glowBlurV", "64"}, {"matteBlur", "25"}, {"mattePosition", "70"},
      {"glowMode", "Subtle"}, {"glowBlend", "ADD"}, {"glowBrightness", "250"}, {"contrast", "20"}}},
    // The matte blur alone, of a size whose box has partial taps: each pass reaches
    // floor(9.7 / 2) + 2 = 6 rows. At ceil(9.7 / 2) = 5 a row of each strip's first pass is
    // divided as a line end where one tile divides it as an interior sample, one level apart.
    {"infra-red matte", "InfraRed", {{"view", "Matte"}, {"matteBlur", "9.7"}, {"glowBlurH", "0"}, {"mattePosition", "60"}}},
};

// An alpha that varies across the photograph.
uint32_t alphaRamp(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    return uint32_t(x + 2 * y) * full / uint32_t(width + 2 * height);
}

TEST(MonochromeStrips, SmallTilesEqualOneTile) {
    const auto pictures = documents({{"coffee.png", 8},
                                     {"coffee.png", 16},
                                     {"astronaut.png", 8},
                                     {"astronaut.png", 16},
                                     {"coffee.png", 8, true},
                                     {"coffee.png", 16, true}},
                                    alphaRamp);
    for (const StripCase& c : kCases)
        for (const auto& [name, picture] : pictures) {
            const Picture tiled = runInTiles(picture, c.key, c.settings, kSmallTile);
            const Picture whole = runInTiles(picture, c.key, c.settings, kOneTile);
            EXPECT_EQ(largestDifference(tiled, whole), 0u) << c.name << " on " << name;
            EXPECT_GT(largestDifference(whole, picture), 0u) << c.name << " on " << name << " changed nothing";
        }
}

}  // namespace
