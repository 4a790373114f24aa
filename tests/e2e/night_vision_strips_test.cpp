// Night Vision through the stand-in host: a render in 16 x 16 tiles equals a render in one
// tile, on photographs at 8 and 16 bits with and without transparency, at the defaults, with
// blurs that reach far (the matte blur and the glow blur add up), at every grain size and
// through every filter. Two runs with the same settings give the same grain.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/e2e/strip_check.h"

namespace {

using test_support::Settings;

// Each case by its name.
const std::pair<const char*, Settings> kCases[] = {
    {"defaults", {}},
    {"largest blurs",
     {{"glowBlurH", "500"}, {"matteBlur", "200"}, {"glowMode", "Subtle"}, {"glowBlend", "ADD"},
      {"glowBrightness", "400"}}},
    {"blurs apart", {{"glowBlurGang", "off"}, {"glowBlurH", "12.5"}, {"glowBlurV", "57"}, {"matteBlur", "18.25"}}},
    {"finest grain, strong", {{"GrainSize", "0.5"}, {"GrainAmount", "100"}}},
    {"grain 2", {{"GrainSize", "2"}}},
    {"grain 3.7, HLS", {{"GrainSize", "3.7"}, {"GrainAmount", "60"}, {"tintMode", "HLS"}, {"highlights", "40"}}},
    {"coarsest grain, replace", {{"GrainSize", "10"}, {"tintMode", "Replace"}}},
    {"red, toned", {{"filter", "Red"}, {"brightness", "20"}, {"contrast", "35"}, {"gamma", "-15"}}},
    {"green", {{"filter", "Green"}}},
    {"blue", {{"filter", "Blue"}}},
    {"yellow", {{"filter", "Yellow"}}},
    {"orange, no glow", {{"filter", "Orange"}, {"glowBrightness", "0"}}},
    {"matte view", {{"view", "Matte"}, {"matteBlur", "35"}, {"glowBrightness", "0"}}},
};

// A transparency ramp from top to bottom with a clear band across the middle.
uint32_t alphaRampWithBand(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    if (y > height / 2 - 12 && y < height / 2 + 12) return 0;
    return full - full * uint32_t(y) / uint32_t(height) / 2 - uint32_t(x % 3);
}

TEST(NightVisionStrips, NarrowTilesMatchOneTile) {
    using namespace test_support;
    const auto sources = documents(
        {{"coffee.png", 8}, {"coffee.png", 16}, {"astronaut.png", 8, true}, {"astronaut.png", 16, true}},
        alphaRampWithBand);
    for (const auto& [name, settings] : kCases)
        for (const Document& source : sources) {
            SCOPED_TRACE(std::string(name) + ", " + source.name);
            const editor::Picture strips =
                runInTiles(source.picture, "NightVision", settings, kSmallTile, BufferCheck::AllReleased);
            const editor::Picture oneTile = runInTiles(source.picture, "NightVision", settings, kOneTile);
            EXPECT_NE(oneTile.data, source.picture.data);
            EXPECT_EQ(largestDifference(strips, oneTile), 0u);
            EXPECT_EQ(largestDifference(runInTiles(source.picture, "NightVision", settings, kOneTile), oneTile), 0u);
        }
}

}  // namespace
