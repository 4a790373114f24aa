// Selective Soft Focus, Skin Smoother and Center Spot run by the stand-in host in 16-row strips
// give the same pixels as one run in a single tile, on real photographs in 8 and 16 bits, with
// and without transparency: the margins their requiredSource hooks ask for cover everything
// their renders read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;
using editor::Picture;

// A varied transparency: alpha falls across the picture and rises down it (drawn at 8 bits).
uint32_t alphaAcrossAndDown(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t) {
    return uint32_t(std::clamp(255 - x * 255 / width + y * 128 / height, 0, 255));
}

struct StripCase {
    const char* key;
    Settings settings;
};

const StripCase kCases[] = {
    {"SelectiveFocus", {}},
    // A blurred matte under a wider blur: the two reaches add up.
    {"SelectiveFocus", {{"matteBlur", "12"}, {"blurX", "7.5"}}},
    {"SkinSmoother", {}},
    {"SkinSmoother", {{"EdgeBlur", "9"}, {"matteBlur", "5"}, {"blurX", "4.5"}}},
    {"SkinSmoother", {{"view", "Edge"}}},
    {"CenterSpot", {}},
    {"CenterSpot", {{"gang", "off"}, {"blurX", "25"}, {"blurY", "3"}, {"pos", "0.3,-0.2"}, {"size", "40"}}},
};

TEST(SelectiveBlurStrips, StripsEqualOneTile) {
    const auto sources = documents({{"coffee.png", 8},
                                    {"coffee.png", 16},
                                    {"astronaut.png", 8},
                                    {"astronaut.png", 16},
                                    {"coffee.png", 8, true},
                                    {"astronaut.png", 16, true}},
                                   alphaAcrossAndDown, AlphaDepth::EightBits);
    for (const Document& source : sources) {
        for (const StripCase& test : kCases) {
            std::string settings;
            for (const auto& [name, value] : test.settings) settings += " " + name + "=" + value;
            SCOPED_TRACE(std::string(test.key) + settings + " on " + source.name);
            const Picture whole = runInTiles(source.picture, test.key, test.settings, kOneTile);
            const Picture strips = runInTiles(source.picture, test.key, test.settings, kSmallTile);
            EXPECT_EQ(largestDifference(whole, strips), 0u);
        }
    }
}

}  // namespace
