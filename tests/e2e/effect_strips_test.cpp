// Every built effect rendered by the stand-in host in narrow 16 x 16 tiles gives exactly what one
// tile gives, on real photographs at 8 and 16 bits, with and without transparency. The host's
// read ports give the document as it was when the run began, so a tile's margin never holds
// pixels an earlier tile has already filtered: the joins show unless the margins each effect's
// requiredSource asks for cover everything its render reads. The last strip, whose block is
// taller than what is read, must render like the others, and the host must hold no buffer the
// plug-in allocated once a run is over.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/strip_check.h"

namespace {

using namespace test_support;
using editor::Picture;

struct StripCase {
    const char* key;
    Settings settings;
    bool changesThePicture = true;
};

// How a failure names the case: FastBlur blurX=3 blurY=17.5 gang=off.
void PrintTo(const StripCase& c, std::ostream* out) {
    *out << c.key;
    for (const auto& [key, value] : c.settings) *out << " " << key << "=" << value;
}

// A tilted quad that reaches past the picture on two sides, for the effects with a Grad group.
Settings withCorners(Settings settings) {
    const Settings corners = {{"ul", "-0.6,-0.3"}, {"ur", "0.4,-0.55"}, {"lr", "0.55,0.35"}, {"ll", "-0.35,0.6"}};
    settings.insert(settings.end(), corners.begin(), corners.end());
    return settings;
}

const StripCase kCases[] = {
    {"FastBlur", {}},
    {"FastBlur", {{"blurX", "3"}, {"blurY", "17.5"}, {"gang", "off"}}},
    {"Defocus", {}},
    {"Defocus", {{"view", "Matte"}}},
    {"Defocus", {{"hblur", "35"}, {"bloom", "20"}, {"matteBlur", "25"}, {"blend", "ADD"}}},
    {"Overexpose", {{"amount", "50"}}},
    {"Overexpose", {{"amount", "70"}, {"intensity", "300"}, {"blur", "7.5"}}},
    {"BlackAndWhite", {}},
    {"BlackAndWhite", {{"filter", "Orange"}, {"brightness", "20"}, {"gamma", "-35"}}},
    {"BleachBypass", {}},
    {"BleachBypass", {{"amount", "65"}, {"saturation", "-40"}, {"contrast", "35"}}},
    {"InfraRed", {}},
    // Vertically the matte blur (2 x 14) and the glow blur (2 x 34) add up to a margin of 96.
    {"InfraRed",
     {{"glowBlurGang", "off"}, {"glowBlurH", "11.5"}, {"glowBlurV", "64"}, {"matteBlur", "25"}, {"mattePosition", "70"},
      {"glowMode", "Subtle"}, {"glowBlend", "ADD"}, {"glowBrightness", "250"}, {"contrast", "20"}}},
    // The matte blur alone, of a size whose box has partial taps: each pass reaches
    // floor(9.7 / 2) + 2 = 6 rows. At ceil(9.7 / 2) = 5 a row of each strip's first pass is
    // divided as a line end where one tile divides it as an interior sample, one level apart.
    {"InfraRed", {{"view", "Matte"}, {"matteBlur", "9.7"}, {"glowBlurH", "0"}, {"mattePosition", "60"}}},
    {"ColorCorrect", {}, false},
    {"ColorCorrect",
     {{"ccShadR", "60"}, {"ccMidBri", "30"}, {"ccMidGam", "-20"}, {"ccHighB", "-40"}, {"ccContrast", "15"},
      {"ccMasterG", "10"}, {"ccTintAmount", "10"}}},
    {"ColorCorrect", {{"ccMasterHue", "40"}, {"ccMasterSat", "-30"}, {"ccShadB", "50"}}},
    {"ColorCorrect", {{"view", "Midtones"}}},
    {"Ozone", {}, false},
    {"Ozone", {{"bri2", "30"}, {"grn2", "50"}, {"con5", "40"}, {"red5", "-60"}, {"gam8", "30"}, {"blu8", "120"}}},
    {"Ozone", {{"use", "Hue"}, {"red3", "150"}, {"gam6", "-40"}}},
    {"Ozone", {{"use", "Saturation"}, {"view", "Zone 7"}}},
    {"SelectiveColor", {}, false},
    {"SelectiveColor",
     {{"saturation", "-100"}, {"position", "50"}, {"range", "60"}, {"matteAdjust", "2.5"}, {"matteBlurX", "9"}}},
    {"SelectiveColor",
     {{"hue", "-70"}, {"ccContrast", "20"}, {"ccMasterB", "-30"}, {"warmCool", "15"}, {"extractOn", "Hue"},
      {"position", "10"}, {"range", "30"}, {"clipBlack", "20"}, {"matteBlurX", "3"}, {"matteBlurY", "14"},
      {"matteBlurGang", "off"}, {"invert", "on"}}},
    {"SelectiveColor", {{"view", "Matte"}, {"extractOn", "Red"}, {"matteAdjust", "-3"}}},
    {"ColorGrad", withCorners({{"tintMode", "HLS"}, {"highlights", "60"}, {"size", "40"}, {"tint", "1,0.5,0.1"}})},
    {"ColorGrad",
     withCorners({{"dir", "Right-to-left"}, {"hue", "30"}, {"saturation", "20"}, {"contrast", "15"}, {"warmCool", "10"}})},
    {"NDGrad", withCorners({{"dir", "Bottom-to-top"}, {"opacity", "70"}, {"size", "150"}})},
    {"NDGrad", withCorners({{"view", "Gradient"}, {"dir", "Left-to-right"}})},
    {"CombinedGrad", withCorners({{"tintMode", "Replace"}, {"gamma", "-20"}, {"red", "10"}})},
    {"SelectiveGrad",
     withCorners({{"extractOn", "Blue"}, {"range", "60"}, {"matteBlurX", "6"}, {"matteAdjust", "2"}, {"tintMode", "HLS"}})},
    {"SelectiveGrad", withCorners({{"view", "Matte"}, {"matteBlurX", "3"}})},
    {"Tint", {{"highlights", "50"}, {"opacity", "80"}}},
    {"Tint", {{"tintMode", "Replace"}}},
    {"DualTint", withCorners({{"tint1mode", "HLS"}, {"size", "60"}})},
    {"DualTint", withCorners({{"opacity1", "0"}, {"dir", "Left-to-right"}})},
    {"Polarizer", withCorners({{"gradEnable", "on"}, {"matteBlur", "5"}, {"hue", "-15"}})},
    {"Polarizer", withCorners({{"gradEnable", "on"}, {"view", "Sky"}, {"matteBlur", "2"}})},
    {"LowContrast", {}},
    {"LowContrast",
     {{"matteBlur", "30"}, {"lightSpread", "45"}, {"lightBrightness", "300"}, {"shadowBrightness", "20"}}},
    {"LowContrast", {{"view", "Spread"}, {"matteBlur", "9"}, {"lightSpread", "61"}}},
    {"MatteGenerator", {}},
    {"MatteGenerator", {{"matteAdjust", "4"}, {"matteBlurX", "25"}}},
    {"MatteGenerator", {{"matteAdjust", "-3.5"}}},
    {"MatteGenerator",
     {{"matteAdjust", "-2.5"}, {"matteBlurGang", "off"}, {"matteBlurX", "7"}, {"matteBlurY", "31"},
      {"extractOn", "Saturation"}, {"range", "60"}}},
    {"SelectiveFocus", {}},
    // A blurred matte under a wider blur: the two reaches add up.
    {"SelectiveFocus", {{"matteBlur", "12"}, {"blurX", "7.5"}}},
    {"SkinSmoother", {}},
    {"SkinSmoother", {{"EdgeBlur", "9"}, {"matteBlur", "5"}, {"blurX", "4.5"}}},
    {"SkinSmoother", {{"view", "Edge"}}},
    {"CenterSpot", {}},
    {"CenterSpot", {{"gang", "off"}, {"blurX", "25"}, {"blurY", "3"}, {"pos", "0.3,-0.2"}, {"size", "40"}}},
    // A texture moved, scaled and rotated over the picture: each tile takes its part of it.
    {"Diffusion",
     {{"diffTexture", "brick.png"}, {"diffTexBlend", "Multiply"}, {"dvePosition", "0.15,-0.1"}, {"dveScaleX", "70"},
      {"dveRotate", "30"}, {"matteBlur", "4"}, {"glowMode", "Subtle"}}},
    {"Diffusion", {{"view", "Texture"}, {"diffTexture", "gravel.png"}, {"dveRotate", "-20"}, {"dveScaleX", "150"}}},
    {"Light", {}},
    // A moved, turned and blurred shape displaced by the luminance, under a blurred matte.
    {"Light",
     {{"pattern", "brick.png"}, {"lDisplacement", "15"}, {"dvePosition", "0.1,-0.05"}, {"dveScaleX", "70"},
      {"dveRotate", "20"}, {"sBlurX", "6"}, {"matteBlur", "9.7"}, {"sBrightness", "30"}, {"lBlend", "Screen"},
      {"lColor", "1,0.8,0.5"}}},
    {"Light",
     {{"pattern", "gravel.png"}, {"view", "Matte"}, {"compositeFunc", "Multiply"}, {"dveScaleX", "60"},
      {"sBlurX", "10"}, {"lDisplacement", "-20"}}},
};

// An alpha ramp across and down the picture, with a fully transparent disc in the middle and a
// transparent corner.
uint32_t alphaRampWithHoles(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full) {
    const int32_t dx = x - width / 2, dy = y - height / 2;
    if (dx * dx + dy * dy < 40 * 40 || (x < 40 && y < 40)) return 0;
    return uint32_t(x + 2 * y) * full / uint32_t(width + 2 * height);
}

// The sample documents, read once for every case.
const std::vector<Document>& sampleDocuments() {
    static const std::vector<Document> pictures = documents({{"coffee.png", 8},
                                                             {"coffee.png", 16},
                                                             {"astronaut.png", 8},
                                                             {"astronaut.png", 16},
                                                             {"coffee.png", 8, true},
                                                             {"coffee.png", 16, true},
                                                             {"astronaut.png", 8, true},
                                                             {"astronaut.png", 16, true}},
                                                            alphaRampWithHoles);
    return pictures;
}

class EffectStrips : public testing::TestWithParam<StripCase> {};

TEST_P(EffectStrips, NarrowTilesEqualOneTile) {
    const StripCase& c = GetParam();
    for (const Document& document : sampleDocuments()) {
        SCOPED_TRACE(document.name);
        const Picture strips = runInTiles(document.picture, c.key, c.settings, kSmallTile, BufferCheck::AllReleased);
        const Picture whole = runInTiles(document.picture, c.key, c.settings, kOneTile, BufferCheck::AllReleased);
        EXPECT_EQ(largestDifference(strips, whole), 0u);
        EXPECT_EQ(whole.data != document.picture.data, c.changesThePicture);
    }
}

// Named after the effect and the case's place in the table: FastBlur_1.
INSTANTIATE_TEST_SUITE_P(EveryEffect, EffectStrips, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<StripCase>& info) {
                             return std::string(info.param.key) + "_" + std::to_string(info.index);
                         });

}  // namespace
