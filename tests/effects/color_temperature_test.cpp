// Temperature, Warm/Cool and Fluorescent: isActive and pixels.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"

namespace {

const char* const kKeys[] = {"Temperature", "WarmCool", "Fluorescent"};

// ---- Pixels ------------------------------------------------------------------------------

INSTANTIATE_TEST_SUITE_P(
    TemperatureEffects, ConstantPixel,
    ::testing::Values(
        // Warm/Cool: k = trunc(t x 0.01 x one), blue + k, red - k.
        ConstantPixelCase{"WarmCool", {{"temperature", 50}}, 1, {100, 100, 100}, {0, 100, 227}},
        ConstantPixelCase{"WarmCool", {{"temperature", 50}}, 2, {16384, 16384, 16384}, {0, 16384, 32768}},
        ConstantPixelCase{"WarmCool", {{"temperature", -50}}, 1, {100, 100, 100}, {227, 100, 0}},
        ConstantPixelCase{"WarmCool", {{"temperature", 10}}, 1, {200, 7, 0}, {175, 7, 25}},
        // Fluorescent: k = 51 at 20; blue 179 + 35, green 77 + 15, red 128 + 25.
        ConstantPixelCase{"Fluorescent", {{"temperature", 20}}, 1, {128, 128, 128}, {153, 92, 214}},
        // At 16 bits k = trunc(0.2f x 32768) = 6553: blue 22937 + 4587, green 9831 + 1966, red 16384 + 3276.
        ConstantPixelCase{"Fluorescent", {{"temperature", 20}}, 2, {16384, 16384, 16384}, {19660, 11797, 27524}},
        ConstantPixelCase{"Fluorescent", {{"temperature", 20}}, 1, {255, 255, 255}, {255, 244, 255}},
        // f = 0.1: k = 25; blue 25 + 2; green stays at 0.
        ConstantPixelCase{"Fluorescent", {{"temperature", 10}}, 1, {0, 0, 0}, {0, 0, 27}},
        // Temperature: half-scale sliders.
        ConstantPixelCase{"Temperature", {{"temperature", 100}}, 1, {100, 100, 100}, {0, 100, 227}},
        ConstantPixelCase{"Temperature", {{"temperature", 100}}, 2, {16384, 16384, 16384}, {0, 16384, 32768}},
        ConstantPixelCase{"Temperature", {{"cyanMagenta", 100}}, 1, {100, 100, 100}, {227, 0, 227}},
        ConstantPixelCase{"Temperature", {{"cyanMagenta", -100}}, 1, {100, 100, 100}, {0, 227, 227}},
        ConstantPixelCase{"Temperature", {{"cyanMagenta", -100}}, 2, {16384, 16384, 16384}, {0, 32768, 32768}},
        // T = 51, C = 25, A = 25.
        ConstantPixelCase{
            "Temperature", {{"temperature", 40}, {"cyanMagenta", -20}}, 1, {200, 100, 50}, {124, 125, 126}},
        // Brightness +100 is x 1.5 through the rounded table, clamped.
        ConstantPixelCase{"Temperature", {{"brightness", 100}}, 1, {100, 102, 200}, {150, 153, 255}},
        ConstantPixelCase{"Temperature", {{"brightness", 100}}, 2, {16384, 8192, 30000}, {24576, 12288, 32768}},
        ConstantPixelCase{"Temperature", {{"brightness", -100}}, 1, {100, 102, 255}, {50, 51, 128}},
        // The shift comes first, then the brightness table: red 101 - 25 = 76 -> 114, blue 126 -> 189.
        ConstantPixelCase{
            "Temperature", {{"temperature", 20}, {"brightness", 100}}, 1, {101, 100, 101}, {114, 150, 189}}));

// ---- Invariants --------------------------------------------------------------------------

struct InvariantCase {
    const char* effect;
    std::vector<Setting> settings;
};

const InvariantCase kActiveSettings[] = {
    {"Temperature", {{"temperature", 37}, {"cyanMagenta", -61}, {"brightness", 23}}},
    {"Temperature", {{"temperature", -80}, {"cyanMagenta", 45}, {"brightness", -30}}},
    {"WarmCool", {{"temperature", -17}}},
    {"WarmCool", {{"temperature", 33}}},
    {"Fluorescent", {{"temperature", 13}}},
};

TEST(ColorTemperatureEffects, AlphaUntouchedAndColourChanged) {
    for (const InvariantCase& c : kActiveSettings)
        for (uint32_t bytes : {1u, 2u}) {
            ImagePtr source = makeNoiseImage(17, 11, 4, bytes, 9);
            for (int32_t y = 0; y < 11; ++y)
                for (int32_t x = 0; x < 17; ++x) setSample(*source, x, y, 3, uint32_t(x * 13 + y * 7));
            EffectHarness harness(c.effect);
            harness.apply(c.settings);
            ImagePtr output = harness.render(*source);
            for (int32_t y = 0; y < 11; ++y)
                for (int32_t x = 0; x < 17; ++x)
                    ASSERT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3)) << c.effect;
            EXPECT_NE(maxDifference(*output, *source), 0u) << c.effect;
        }
}

TEST(ColorTemperatureEffects, WritesOnlyInsideTheRenderRect) {
    for (const InvariantCase& c : kActiveSettings) {
        ImagePtr source = makeNoiseImage(12, 10, 4, 1, 4);
        EffectHarness harness(c.effect);
        harness.apply(c.settings);
        // The tile covers the top-left 6 x 5 pixels of the block.
        ImagePtr output = harness.renderTile(*source, {0, 0, 5, 6}, {20, 30, 25, 36}, 100, 100);
        const TileChanges changes = tileChanges(*output, *source, 5, 6);
        EXPECT_EQ(changes.outside, 0u) << c.effect;
        EXPECT_GT(changes.inside, 0u) << c.effect;
    }
}

TEST(ColorTemperatureEffects, ConstantImageStaysConstantAndDepthsAgree) {
    const uint32_t levels[][3] = {{0, 0, 0}, {255, 255, 255}, {128, 128, 128}, {200, 90, 30}, {17, 160, 240}};
    for (const InvariantCase& c : kActiveSettings)
        for (const auto& level : levels) {
            ImagePtr source8 = makeImage(7, 4, 4, 1, {level[0], level[1], level[2], 255});
            EffectHarness harness(c.effect);
            harness.apply(c.settings);
            ImagePtr output8 = harness.render(*source8);
            ImagePtr output16 = harness.render(*widenTo16(*source8));
            EXPECT_TRUE(isUniform(*output8) && isUniform(*output16)) << c.effect << " level " << level[0];
            // The 16-bit result on the 8-bit scale lies within two levels of the 8-bit result.
            EXPECT_LE(depthDifference(*output8, *output16, 3), 2u) << c.effect << " level " << level[0];
        }
}

TEST(ColorTemperatureEffects, TemperatureViewOriginalRendersTheSource) {
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr source = makeNoiseImage(9, 6, 4, bytes, 2);
        EffectHarness harness("Temperature");
        harness.setNumber("temperature", 60);
        harness.setNumber("cyanMagenta", 20);
        harness.setNumber("brightness", -40);
        harness.setList("view", 1);
        EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u);
    }
}

TEST(ColorTemperatureEffects, DefaultsRenderTheSource) {
    for (const char* key : kKeys)
        for (uint32_t bytes : {1u, 2u}) {
            ImagePtr source = makeNoiseImage(9, 6, 4, bytes, 6);
            EffectHarness harness(key);
            EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u) << key;
        }
}

TEST(ColorTemperatureEffects, GreyImageIsCopiedWithoutFault) {
    for (const InvariantCase& c : kActiveSettings) {
        ImagePtr source = makeNoiseImage(6, 4, 1, 1, 8);
        EffectHarness harness(c.effect);
        harness.apply(c.settings);
        EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u) << c.effect;
    }
}

}  // namespace
