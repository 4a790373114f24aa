// Low Contrast and Matte Generator through the stand-in host: a render in 16-row strips equals
// a render in one tile, on photographs at 8 and 16 bits, with and without transparency.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;

// A transparency ramp from left to right and a clear disc in the middle.
uint32_t alphaRampWithDisc(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    const int32_t dx = x - width / 2, dy = y - height / 2;
    return dx * dx + dy * dy < 50 * 50 ? 0 : full * uint32_t(x) / uint32_t(width);
}

struct StripCase {
    const char* key;
    const char* what;
    Settings settings;
};

TEST(LowContrastMatteStrips, StripsEqualOneTile) {
    const StripCase cases[] = {
        {"LowContrast", "defaults", {}},
        {"LowContrast", "blurred matte, more light",
         {{"matteBlur", "30"}, {"lightSpread", "45"}, {"lightBrightness", "300"}, {"shadowBrightness", "20"}}},
        {"LowContrast", "spread view", {{"view", "Spread"}, {"matteBlur", "9"}, {"lightSpread", "61"}}},
        {"MatteGenerator", "defaults", {}},
        {"MatteGenerator", "grown and blurred", {{"matteAdjust", "4"}, {"matteBlurX", "25"}}},
        {"MatteGenerator", "shrunk, no blur", {{"matteAdjust", "-3.5"}}},
        {"MatteGenerator", "shrunk, blurs apart",
         {{"matteAdjust", "-2.5"}, {"matteBlurGang", "off"}, {"matteBlurX", "7"}, {"matteBlurY", "31"},
          {"extractOn", "Saturation"}, {"range", "60"}}},
    };
    const auto sources = documents(
        {{"coffee.png", 8}, {"coffee.png", 16}, {"astronaut.png", 8, true}, {"astronaut.png", 16, true}},
        alphaRampWithDisc);
    for (const StripCase& c : cases)
        for (const Document& source : sources) {
            SCOPED_TRACE(std::string(c.key) + ", " + c.what + ", " + source.name);
            const editor::Picture strips =
                runInTiles(source.picture, c.key, c.settings, kSmallTile, BufferCheck::AllReleased);
            const editor::Picture oneTile =
                runInTiles(source.picture, c.key, c.settings, kOneTile, BufferCheck::AllReleased);
            EXPECT_NE(oneTile.data, source.picture.data);
            const uint32_t difference = largestDifference(strips, oneTile);
            RecordProperty(std::string(c.key) + " " + c.what + " " + source.name, int(difference));
            EXPECT_EQ(difference, 0u);
        }
}

}  // namespace
