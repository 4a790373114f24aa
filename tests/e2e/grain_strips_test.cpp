// Grain through the plug-in file on real photographs: a run in narrow 16 x 16 tiles gives
// exactly what a run in one tile gives, at 8 and 16 bits and with transparency, for fine and
// coarse grain and several strengths.
#include <gtest/gtest.h>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;
using editor::Picture;

struct StripCase {
    const char* name;
    Settings settings;
    bool changesThePicture;
};

const StripCase kCases[] = {
    {"defaults", {}, true},
    {"largest cells", {{"grainRSize", "10"}, {"grainGSize", "10"}, {"grainBSize", "10"}}, true},
    {"mixed cells, strong",
     {{"grainRSize", "7"}, {"grainGSize", "2"}, {"grainBSize", "4"}, {"grainRAmount", "100"}, {"grainGAmount", "60"},
      {"grainBAmount", "35"}},
     true},
    {"one channel, shifted response",
     {{"grainRSize", "3"}, {"grainRAmount", "0"}, {"grainGAmount", "0"}, {"grainBAmount", "90"}, {"grainPos", "20"},
      {"grainRange", "35"}, {"grainMin", "5"}},
     true},
    {"flat response", {{"grainGSize", "5"}, {"grainRange", "0"}, {"grainMin", "70"}}, true},
    {"no amounts", {{"grainRAmount", "0"}, {"grainGAmount", "0"}, {"grainBAmount", "0"}}, false},
};

// An alpha ramp with a transparent corner.
uint32_t alphaRampWithCorner(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    return (x < 40 && y < 40) ? 0 : uint32_t(x + y) * full / uint32_t(width + height);
}

TEST(GrainStrips, NarrowTilesMatchOneTile) {
    for (const Document& document : documents({{"coffee.png", 8},
                                               {"astronaut.png", 16},
                                               {"chelsea.png", 8, true},
                                               {"coffee.png", 16, true}},
                                              alphaRampWithCorner))
        for (const StripCase& c : kCases) {
            SCOPED_TRACE(document.name + ", " + c.name);
            const Picture strips = runInTiles(document.picture, "Grain", c.settings, kSmallTile);
            const Picture whole = runInTiles(document.picture, "Grain", c.settings, kOneTile);
            EXPECT_EQ(largestDifference(strips, whole), 0u);
            EXPECT_EQ(strips.data != document.picture.data, c.changesThePicture);
            // Two runs with the same settings give the same grain.
            EXPECT_EQ(largestDifference(runInTiles(document.picture, "Grain", c.settings, kOneTile), whole), 0u);
        }
}

}  // namespace
