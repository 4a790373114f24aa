// Star through the stand-in host: a render in 16-row strips equals a render in one tile, on
// photographs at 8 and 16 bits, with and without transparency. The diagonal cross turns the
// matte about the picture's centre, so each strip must shear its rows and columns exactly as
// the whole picture does.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;

// Opaque at the top, fading to clear toward the bottom right.
uint32_t alphaFade(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    return full - full * uint32_t(x + y) / uint32_t(width + height);
}

struct StripCase {
    const char* what;
    Settings settings;
};

TEST(StarStrips, StripsEqualOneTile) {
    const StripCase cases[] = {
        {"defaults", {}},
        {"largest sizes", {{"StarSize", "500"}, {"matteBlur", "200"}}},
        {"odd size, wide window, coloured", {{"StarSize", "37.5"}, {"matteRange", "60"}, {"mattePosition", "70"},
                                               {"StarColor", "0.9,0.4,0.2"}, {"StarBrightness", "650"}}},
        {"stars view", {{"view", "Stars"}, {"StarSize", "23"}, {"matteBlur", "7"}}},
        {"matte view", {{"view", "Matte"}, {"matteBlur", "11"}}},
    };
    const auto sources = documents(
        {{"coffee.png", 8}, {"coffee.png", 16}, {"astronaut.png", 8, true}, {"astronaut.png", 16, true}},
        alphaFade);
    for (const StripCase& c : cases)
        for (const Document& source : sources) {
            SCOPED_TRACE(std::string(c.what) + ", " + source.name);
            const editor::Picture strips =
                runInTiles(source.picture, "Star", c.settings, kSmallTile, BufferCheck::AllReleased);
            const editor::Picture oneTile =
                runInTiles(source.picture, "Star", c.settings, kOneTile, BufferCheck::AllReleased);
            EXPECT_NE(oneTile.data, source.picture.data);
            const uint32_t difference = largestDifference(strips, oneTile);
            RecordProperty(std::string("Star ") + c.what + " " + source.name, int(difference));
            EXPECT_EQ(difference, 0u);
        }
}

}  // namespace
