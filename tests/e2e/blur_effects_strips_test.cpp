// Defocus, Fast Blur and Overexpose run by the stand-in host in 16-row strips give the same
// pixels as one run in a single tile, on real photographs at 8 and 16 bits, with and without
// transparency.
#include <gtest/gtest.h>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;
using editor::Picture;

// A transparency ramp across the picture and a fully transparent hole in the middle.
uint32_t alphaRampWithHole(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    const int32_t dx = x - width / 2, dy = y - height / 2;
    return dx * dx + dy * dy < 40 * 40 ? 0 : full * uint32_t(x) / uint32_t(width);
}

struct StripCase {
    const char* key;
    Settings settings;
};

// The host's read ports give the document as it was when the run began, so a strip's margin
// never holds pixels an earlier strip has already filtered: the joins must not show.
TEST(BlurEffectsStripsThroughTheHost, SixteenRowStripsEqualOneTile) {
    const auto pictures = documents(
        {{"coffee.png", 8}, {"astronaut.png", 16}, {"coffee.png", 8, true}, {"astronaut.png", 16, true}},
        alphaRampWithHole);
    const StripCase cases[] = {
        {"FastBlur", {}},
        {"FastBlur", {{"blurX", "3"}, {"blurY", "17.5"}, {"gang", "off"}}},
        {"Defocus", {}},
        {"Defocus", {{"view", "Matte"}}},
        {"Defocus", {{"hblur", "35"}, {"bloom", "20"}, {"matteBlur", "25"}, {"blend", "ADD"}}},
        {"Overexpose", {{"amount", "50"}}},
        {"Overexpose", {{"amount", "70"}, {"intensity", "300"}, {"blur", "7.5"}}},
    };
    for (const StripCase& c : cases)
        for (const auto& [name, picture] : pictures) {
            const Picture strips = runInTiles(picture, c.key, c.settings, kSmallTile);
            const Picture whole = runInTiles(picture, c.key, c.settings, kOneTile);
            EXPECT_NE(largestDifference(whole, picture), 0u) << c.key << ", " << name;
            EXPECT_EQ(largestDifference(strips, whole), 0u) << c.key << " case " << (&c - cases) << ", " << name;
        }
}

}  // namespace
