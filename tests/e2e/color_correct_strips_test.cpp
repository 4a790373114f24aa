// Color Correct, Ozone, Selective Color, the graduated filters, Tint, Dual Tint and Polarizer
// through the plug-in file on real photographs: a run in narrow 16 x 16 tiles gives exactly what
// a run in one tile gives, at 8 and 16 bits and with transparency. The ramps lie on a tilted quad
// with its corners moved off their defaults.
#include <gtest/gtest.h>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;
using editor::Picture;

struct StripCase {
    const char* name;
    const char* key;
    Settings settings;
    bool changesThePicture;
};

// A tilted quad that reaches past the picture on two sides.
Settings withCorners(Settings settings) {
    const Settings corners = {{"ul", "-0.6,-0.3"}, {"ur", "0.4,-0.55"}, {"lr", "0.55,0.35"}, {"ll", "-0.35,0.6"}};
    settings.insert(settings.end(), corners.begin(), corners.end());
    return settings;
}

const StripCase kCases[] = {
    {"ColorCorrect defaults", "ColorCorrect", {}, false},
    {"ColorCorrect zones and master",
     "ColorCorrect",
     {{"ccShadR", "60"}, {"ccMidBri", "30"}, {"ccMidGam", "-20"}, {"ccHighB", "-40"}, {"ccContrast", "15"},
      {"ccMasterG", "10"}, {"ccTintAmount", "10"}},
     true},
    {"ColorCorrect hue", "ColorCorrect", {{"ccMasterHue", "40"}, {"ccMasterSat", "-30"}, {"ccShadB", "50"}}, true},
    {"ColorCorrect midtone view", "ColorCorrect", {{"view", "Midtones"}}, true},
    {"Ozone defaults", "Ozone", {}, false},
    {"Ozone three zones",
     "Ozone",
     {{"bri2", "30"}, {"grn2", "50"}, {"con5", "40"}, {"red5", "-60"}, {"gam8", "30"}, {"blu8", "120"}},
     true},
    {"Ozone hue measure", "Ozone", {{"use", "Hue"}, {"red3", "150"}, {"gam6", "-40"}}, true},
    {"Ozone zone view", "Ozone", {{"use", "Saturation"}, {"view", "Zone 7"}}, true},
    {"SelectiveColor defaults", "SelectiveColor", {}, false},
    {"SelectiveColor midtones grey",
     "SelectiveColor",
     {{"saturation", "-100"}, {"position", "50"}, {"range", "60"}, {"matteAdjust", "2.5"}, {"matteBlurX", "9"}},
     true},
    {"SelectiveColor hue matte",
     "SelectiveColor",
     {{"hue", "-70"}, {"ccContrast", "20"}, {"ccMasterB", "-30"}, {"warmCool", "15"}, {"extractOn", "Hue"},
      {"position", "10"}, {"range", "30"}, {"clipBlack", "20"}, {"matteBlurX", "3"}, {"matteBlurY", "14"},
      {"matteBlurGang", "off"}, {"invert", "on"}},
     true},
    {"SelectiveColor matte view", "SelectiveColor", {{"view", "Matte"}, {"extractOn", "Red"}, {"matteAdjust", "-3"}},
     true},
    {"ColorGrad HLS", "ColorGrad",
     withCorners({{"tintMode", "HLS"}, {"highlights", "60"}, {"size", "40"}, {"tint", "1,0.5,0.1"}}), true},
    {"ColorGrad corrected", "ColorGrad",
     withCorners({{"dir", "Right-to-left"}, {"hue", "30"}, {"saturation", "20"}, {"contrast", "15"}, {"warmCool", "10"}}),
     true},
    {"NDGrad", "NDGrad", withCorners({{"dir", "Bottom-to-top"}, {"opacity", "70"}, {"size", "150"}}), true},
    {"NDGrad gradient view", "NDGrad", withCorners({{"view", "Gradient"}, {"dir", "Left-to-right"}}), true},
    {"CombinedGrad", "CombinedGrad", withCorners({{"tintMode", "Replace"}, {"gamma", "-20"}, {"red", "10"}}), true},
    {"SelectiveGrad", "SelectiveGrad",
     withCorners({{"extractOn", "Blue"}, {"range", "60"}, {"matteBlurX", "6"}, {"matteAdjust", "2"}, {"tintMode", "HLS"}}),
     true},
    {"SelectiveGrad matte view", "SelectiveGrad", withCorners({{"view", "Matte"}, {"matteBlurX", "3"}}), true},
    {"Tint HLS", "Tint", {{"highlights", "50"}, {"opacity", "80"}}, true},
    {"Tint Replace", "Tint", {{"tintMode", "Replace"}}, true},
    {"DualTint both", "DualTint", withCorners({{"tint1mode", "HLS"}, {"size", "60"}}), true},
    {"DualTint second only", "DualTint", withCorners({{"opacity1", "0"}, {"dir", "Left-to-right"}}), true},
    {"Polarizer graded", "Polarizer", withCorners({{"gradEnable", "on"}, {"matteBlur", "5"}, {"hue", "-15"}}), true},
    {"Polarizer sky view", "Polarizer", withCorners({{"gradEnable", "on"}, {"view", "Sky"}, {"matteBlur", "2"}}), true},
};

// An alpha ramp and a transparent corner.
uint32_t alphaRampWithCorner(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    return (x < 40 && y < 40) ? 0 : uint32_t(x + y) * full / uint32_t(width + height);
}

TEST(ColorCorrectStrips, NarrowTilesMatchOneTile) {
    for (const Document& document : documents({{"coffee.png", 8},
                                               {"astronaut.png", 16},
                                               {"coffee.png", 16},
                                               {"astronaut.png", 8, true},
                                               {"coffee.png", 16, true}},
                                              alphaRampWithCorner))
        for (const StripCase& c : kCases) {
            SCOPED_TRACE(document.name + ", " + c.name);
            const Picture strips = runInTiles(document.picture, c.key, c.settings, kSmallTile);
            const Picture whole = runInTiles(document.picture, c.key, c.settings, kOneTile);
            EXPECT_EQ(largestDifference(strips, whole), 0u);
            EXPECT_EQ(strips.data != document.picture.data, c.changesThePicture);
        }
}

}  // namespace
