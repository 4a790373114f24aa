// What holds for many effects at once: settings that must leave the picture exactly as it is,
// renders that keep to their tile, constant pictures that stay constant with 8 and 16 bits in
// agreement, and sources of a layout an effect does not handle left alone.
#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/effect_harness.h"

namespace {

struct SettingsCase {
    const char* key;
    std::vector<Setting> settings;
};

// "Temperature view=1": how a failure names its case.
std::string describe(const SettingsCase& c) {
    std::ostringstream text;
    text << c.key;
    for (const Setting& s : c.settings) text << " " << s.key << "=" << s.value;
    return text.str();
}

// The defaults of the effects that start neutral, every "Original" view whatever else is set,
// and the settings that switch an effect's work off.
const SettingsCase kLeaveThePicture[] = {
    {"ColorCorrect", {}},
    {"ColorCorrect", {{"ccMidBri", 40}, {"ccHighB", -50}, {"ccMasterHue", 45}, {"ccTintAmount", 30}, {"view", 4}}},
    {"Temperature", {}},
    {"Temperature", {{"temperature", 60}, {"cyanMagenta", 20}, {"brightness", -40}, {"view", 1}}},
    {"WarmCool", {}},
    {"Fluorescent", {}},
    {"BlackAndWhite", {{"view", 1}}},
    {"InfraRed", {{"view", 2}}},
    {"Diffusion", {{"view", 3}, {"glowBrightness", 300}}},
    {"BleachBypass", {{"view", 1}}},
    {"BleachBypass", {{"amount", 0}, {"saturation", 60}, {"contrast", -20}}},  // no bleach, whatever else
    {"Overexpose", {{"amount", 80}, {"view", 1}}},
    {"LowContrast", {{"lightBrightness", 0}, {"shadowBrightness", 0}}},  // no light and no shadow lift
    {"LowContrast", {{"lightBrightness", 800}, {"view", 3}}},
    {"SelectiveFocus", {{"blurX", 0}}},
    {"SkinSmoother", {{"blurX", 0}}},
    {"CenterSpot", {{"blurX", 0}}},
    {"SelectiveFocus", {{"view", 2}, {"blurX", 30}}},
    {"SkinSmoother", {{"view", 3}, {"blurX", 30}}},
    {"CenterSpot", {{"view", 2}, {"blurX", 30}}},
    {"Star", {{"StarSize", 0}, {"StarBrightness", 800}}},  // no stars, however bright
    {"Star", {{"StarBrightness", 0}, {"matteBlur", 30}}},
    {"Star", {{"view", 3}, {"StarSize", 300}, {"mattePosition", 50}, {"matteRange", 100}}},
    {"Grain", {{"view", 1}, {"grainRAmount", 100}}},
    {"Light", {{"view", 1}, {"lBrightness", 300}, {"sBrightness", 60}}},
    {"Grain", {{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0}, {"grainRSize", 4}}},
};

TEST(EffectInvariants, SettingsThatLeaveThePictureAsItIs) {
    for (const SettingsCase& c : kLeaveThePicture)
        for (uint32_t bytes : {1u, 2u}) {
            const ImagePtr source = makeTransparentNoiseImage(40, 30, bytes);
            EffectHarness harness(c.key);
            harness.apply(c.settings);
            EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u) << describe(c) << ", " << 8 * bytes;
        }
}

// Active settings, the colour effects' first, with and without margins: a tile rendered into a
// larger block changes its own pixels and nothing outside them.
const SettingsCase kActive[] = {
    {"ColorCorrect", {{"ccMidBri", 40}, {"ccMidGam", -30}, {"ccShadG", 25}, {"ccMasterB", -10}}},
    {"Temperature", {{"temperature", 37}, {"cyanMagenta", -61}, {"brightness", 23}}},
    {"Temperature", {{"temperature", -80}, {"cyanMagenta", 45}, {"brightness", -30}}},
    {"WarmCool", {{"temperature", -17}}},
    {"WarmCool", {{"temperature", 33}}},
    {"Fluorescent", {{"temperature", 13}}},
    {"FastBlur", {}},
    {"Defocus", {}},
    {"Overexpose", {{"amount", 40}, {"blur", 5}}},
    {"Light", {{"sBrightness", 40}, {"lDisplacement", 20}}},
};

TEST(EffectInvariants, WritesOnlyInsideTheRenderRect) {
    for (const SettingsCase& c : kActive) {
        const ImagePtr source = makeNoiseImage(30, 26, 4, 1, 6);
        EffectHarness harness(c.key);
        harness.apply(c.settings);
        // The tile covers the top-left 20 x 16 pixels of the block.
        const ImagePtr output = harness.renderTile(*source, {0, 0, 16, 20}, {40, 50, 56, 70}, 300, 200);
        const TileChanges changes = tileChanges(*output, *source, 16, 20);
        EXPECT_EQ(changes.outside, 0u) << describe(c);
        EXPECT_GT(changes.inside, 0u) << describe(c);
    }
}

// The colour effects, stars, grain and the blurs laid over the colours change the colours, in
// every view that shows something, and never the alpha.
TEST(EffectInvariants, ColourEffectsKeepAlpha) {
    std::vector<SettingsCase> cases(std::begin(kActive), std::begin(kActive) + 6);
    for (double view = 1; view <= 3; ++view)
        cases.push_back({"ColorCorrect", {{"ccMidBri", 40}, {"ccMasterSat", 40}, {"view", view}}});
    cases.push_back({"Star", {}});
    cases.push_back({"Grain", {}});
    cases.push_back({"Grain", {{"grainRSize", 6}, {"grainBAmount", 80}, {"grainRAmount", 50}}});
    cases.push_back({"SelectiveFocus", {}});
    cases.push_back({"CenterSpot", {}});
    for (const SettingsCase& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            const ImagePtr source = makeTransparentNoiseImage(17, 11, bytes);
            EffectHarness harness(c.key);
            harness.apply(c.settings);
            const ImagePtr output = harness.render(*source);
            for (int32_t y = 0; y < 11; ++y)
                for (int32_t x = 0; x < 17; ++x)
                    ASSERT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3)) << describe(c);
            EXPECT_NE(maxDifference(*output, *source), 0u) << describe(c);
        }
}

// A constant picture stays constant, and its 16-bit result brought to 8 bits lies within a few
// levels of the 8-bit one.
TEST(EffectInvariants, ConstantPicturesStayConstantAndDepthsAgree) {
    using Levels = std::vector<std::array<uint32_t, 3>>;
    const Levels colours = {{0, 0, 0}, {255, 255, 255}, {128, 128, 128}, {200, 90, 30}, {17, 160, 240}};
    const Levels blurred = {{0, 0, 0}, {255, 255, 255}, {200, 190, 180}, {90, 140, 30}};
    const Levels dark = {{0, 0, 0}, {30, 15, 10}, {64, 32, 21}, {200, 100, 66}};
    struct Case {
        SettingsCase effect;
        const Levels& levels;
        uint32_t tolerance;
    };
    const Case cases[] = {
        {{"Temperature", {{"temperature", 37}, {"cyanMagenta", -61}, {"brightness", 23}}}, colours, 2},
        {{"Temperature", {{"temperature", -80}, {"cyanMagenta", 45}, {"brightness", -30}}}, colours, 2},
        {{"WarmCool", {{"temperature", -17}}}, colours, 2},
        {{"WarmCool", {{"temperature", 33}}}, colours, 2},
        {{"Fluorescent", {{"temperature", 13}}}, colours, 2},
        {{"FastBlur", {{"blurX", 33}}}, blurred, 3},
        {{"Defocus", {}}, blurred, 3},
        {{"Defocus", {{"blend", 1}, {"bloom", 250}, {"matteBlur", 7}}}, blurred, 3},
        {{"Overexpose", {{"amount", 40}, {"blur", 5}}}, dark, 2},
        {{"Light", {{"sBrightness", 30}, {"lBlend", 1}}}, blurred, 3},
    };
    for (const Case& c : cases)
        for (const auto& level : c.levels) {
            const ImagePtr source8 = makeImage(30, 22, 4, 1, {level[0], level[1], level[2], 255});
            EffectHarness harness(c.effect.key);
            harness.apply(c.effect.settings);
            const ImagePtr output8 = harness.render(*source8);
            const ImagePtr output16 = harness.render(*widenTo16(*source8));
            EXPECT_TRUE(isUniform(*output8) && isUniform(*output16)) << describe(c.effect) << " level " << level[0];
            EXPECT_LE(depthDifference(*output8, *output16), c.tolerance) << describe(c.effect) << " level " << level[0];
        }
}

// Stored values beyond their records' ranges act as the ends of the ranges, in the render and in
// the margins asked for.
struct DamagedCase {
    const char* key;
    std::vector<Setting> damaged, held;
};

const DamagedCase kDamaged[] = {
    {"LowContrast",
     {{"view", 17}, {"lightBrightness", 1e9}, {"lightSpread", -40}, {"shadowBrightness", 1e300}, {"matteBlur", 1e12}},
     {{"lightBrightness", 800}, {"lightSpread", 0}, {"shadowBrightness", 30}, {"matteBlur", 200}}},
    {"SkinSmoother", {{"EdgeBrightness", 1e9}, {"mattePosition", -3}}, {{"EdgeBrightness", 10}, {"mattePosition", 0}}},
    {"SelectiveFocus", {{"blurX", -40}}, {{"blurX", 0}}},
    {"Light",
     {{"lBrightness", 1e9}, {"sBrightness", -5}, {"lBlurX", 1e12}, {"sOpacity", 300}, {"compositeFunc", 40}},
     {{"lBrightness", 500}, {"sBrightness", 0}, {"lBlurX", 500}, {"sOpacity", 100}, {"compositeFunc", 7}}},
};

TEST(EffectInvariants, DamagedStoredValuesAreHeldToTheirRanges) {
    for (const DamagedCase& c : kDamaged)
        for (uint32_t bytes : {1u, 2u}) {
            const std::string name = describe({c.key, c.damaged});
            const ImagePtr source = makeNoiseImage(30, 20, 4, bytes, 8);
            EffectHarness damaged(c.key), held(c.key);
            damaged.apply(c.damaged);
            held.apply(c.held);
            EXPECT_EQ(maxDifference(*damaged.render(*source), *held.render(*source)), 0u) << name;
            const PixelRect tile{0, 0, 16, 16};
            EXPECT_EQ(damaged.requiredSource(tile, 30, 20), held.requiredSource(tile, 30, 20)) << name;
        }
}

// The host hands over four-channel pictures; a one-channel source is copied as it is.
TEST(EffectInvariants, OneChannelSourceIsLeftAlone) {
    const ImagePtr grey = makeNoiseImage(20, 16, 1, 2, 5);
    for (const SettingsCase& c : kActive) {
        EffectHarness harness(c.key);
        harness.apply(c.settings);
        EXPECT_EQ(maxDifference(*harness.render(*grey), *grey), 0u) << describe(c);
    }
    for (const char* key : {"SelectiveFocus", "SkinSmoother", "CenterSpot"}) {
        EffectHarness harness(key);
        EXPECT_EQ(maxDifference(*harness.render(*grey), *grey), 0u) << key;
    }
}

}  // namespace
