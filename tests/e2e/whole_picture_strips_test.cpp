// Grain, Star and Night Vision through the stand-in host: each works from the whole picture (the
// grain is numbered along the picture's rows, the star's diagonal cross is turned about the
// picture's centre), so a render in narrow 16 x 16 tiles must give exactly what one tile gives, on
// photographs at 8 and 16 bits with and without transparency. Two runs with the same settings
// give the same grain, and the host holds no buffer the plug-in allocated once a run is over.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;

struct StripCase {
    const char* key;
    const char* what;
    Settings settings;
    bool changesThePicture = true;
};

const StripCase kCases[] = {
    {"Grain", "defaults", {}},
    {"Grain", "largest cells", {{"grainRSize", "10"}, {"grainGSize", "10"}, {"grainBSize", "10"}}},
    {"Grain", "mixed cells, strong",
     {{"grainRSize", "7"}, {"grainGSize", "2"}, {"grainBSize", "4"}, {"grainRAmount", "100"}, {"grainGAmount", "60"},
      {"grainBAmount", "35"}}},
    {"Grain", "one channel, shifted response",
     {{"grainRSize", "3"}, {"grainRAmount", "0"}, {"grainGAmount", "0"}, {"grainBAmount", "90"}, {"grainPos", "20"},
      {"grainRange", "35"}, {"grainMin", "5"}}},
    {"Grain", "flat response", {{"grainGSize", "5"}, {"grainRange", "0"}, {"grainMin", "70"}}},
    {"Grain", "no amounts", {{"grainRAmount", "0"}, {"grainGAmount", "0"}, {"grainBAmount", "0"}}, false},
    {"Star", "defaults", {}},
    {"Star", "largest sizes", {{"StarSize", "500"}, {"matteBlur", "200"}}},
    {"Star", "odd size, wide window, coloured",
     {{"StarSize", "37.5"}, {"matteRange", "60"}, {"mattePosition", "70"}, {"StarColor", "0.9,0.4,0.2"},
      {"StarBrightness", "650"}}},
    {"Star", "stars view", {{"view", "Stars"}, {"StarSize", "23"}, {"matteBlur", "7"}}},
    {"Star", "matte view", {{"view", "Matte"}, {"matteBlur", "11"}}},
    {"NightVision", "defaults", {}},
    // The matte blur and the glow blur add up.
    {"NightVision", "largest blurs",
     {{"glowBlurH", "500"}, {"matteBlur", "200"}, {"glowMode", "Subtle"}, {"glowBlend", "ADD"},
      {"glowBrightness", "400"}}},
    {"NightVision", "blurs apart",
     {{"glowBlurGang", "off"}, {"glowBlurH", "12.5"}, {"glowBlurV", "57"}, {"matteBlur", "18.25"}}},
    {"NightVision", "finest grain, strong", {{"GrainSize", "0.5"}, {"GrainAmount", "100"}}},
    {"NightVision", "grain 2", {{"GrainSize", "2"}}},
    {"NightVision", "grain 3.7, HLS",
     {{"GrainSize", "3.7"}, {"GrainAmount", "60"}, {"tintMode", "HLS"}, {"highlights", "40"}}},
    {"NightVision", "coarsest grain, replace", {{"GrainSize", "10"}, {"tintMode", "Replace"}}},
    {"NightVision", "red, toned", {{"filter", "Red"}, {"brightness", "20"}, {"contrast", "35"}, {"gamma", "-15"}}},
    {"NightVision", "green", {{"filter", "Green"}}},
    {"NightVision", "blue", {{"filter", "Blue"}}},
    {"NightVision", "yellow", {{"filter", "Yellow"}}},
    {"NightVision", "orange, no glow", {{"filter", "Orange"}, {"glowBrightness", "0"}}},
    {"NightVision", "matte view", {{"view", "Matte"}, {"matteBlur", "35"}, {"glowBrightness", "0"}}},
};

TEST(WholePictureStrips, NarrowTilesMatchOneTile) {
    const auto sources = documents(
        {{"coffee.png", 8}, {"coffee.png", 16}, {"astronaut.png", 8, true}, {"astronaut.png", 16, true}},
        alphaRampWithBand);
    for (const StripCase& c : kCases)
        for (const Document& source : sources) {
            SCOPED_TRACE(std::string(c.key) + ", " + c.what + ", " + source.name);
            const editor::Picture strips =
                runInTiles(source.picture, c.key, c.settings, kSmallTile, BufferCheck::AllReleased);
            const editor::Picture oneTile = runInTiles(source.picture, c.key, c.settings, kOneTile);
            EXPECT_EQ(oneTile.data != source.picture.data, c.changesThePicture);
            EXPECT_EQ(largestDifference(strips, oneTile), 0u);
            EXPECT_EQ(largestDifference(runInTiles(source.picture, c.key, c.settings, kOneTile), oneTile), 0u);
        }
}

}  // namespace
