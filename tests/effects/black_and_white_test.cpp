// Black and White, Infra-Red and Bleach Bypass: worked pixels and the glow of Infra-Red (its
// matte view is tested with the glow looks').
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"

namespace {

// ---- Pixels of constant pictures ---------------------------------------------------------

INSTANTIATE_TEST_SUITE_P(
    BlackAndWhite, ConstantPixel,
    ::testing::Values(
        // The red filter copies red, the green and blue ones their channels.
        ConstantPixelCase{"BlackAndWhite", {{"filter", 1}}, 1, {10, 20, 30}, {10, 10, 10}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 1}}, 2, {30000, 2000, 3000}, {30000, 30000, 30000}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 2}}, 1, {10, 20, 30}, {20, 20, 20}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 3}}, 2, {1000, 2000, 3000}, {3000, 3000, 3000}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 0}}, 1, {255, 255, 255}, {255, 255, 255}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 0}}, 1, {100, 150, 200}, {140, 140, 140}},
        // The tone table works on the grey: trunc(toneAdjust(140 / 255, ...) x 255).
        ConstantPixelCase{"BlackAndWhite", {{"filter", 0}, {"brightness", 50}}, 1, {100, 150, 200}, {210, 210, 210}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 0}, {"contrast", 30}}, 1, {100, 150, 200}, {145, 145, 145}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 0}, {"gamma", -40}}, 1, {100, 150, 200}, {89, 89, 89}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 0}, {"gamma", 25}}, 2, {1000, 2000, 3000}, {2903, 2903, 2903}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 4}}, 2, {32768, 32768, 32768}, {30774, 30774, 30774}},
        ConstantPixelCase{"BlackAndWhite", {{"filter", 5}}, 1, {200, 100, 50}, {142, 142, 142}}));

// Bleach Bypass, (200, 100, 50) at 8 bits: luma 124; red overlays as 255 - 111 x 131 / 255 = 198,
// green as 2 x 100 x 124 / 255 = 97, blue 48.
INSTANTIATE_TEST_SUITE_P(
    BleachBypass, ConstantPixel,
    ::testing::Values(
        ConstantPixelCase{"BleachBypass", {}, 1, {200, 100, 50}, {198, 97, 48}},
        ConstantPixelCase{"BleachBypass", {}, 2, {25000, 12000, 6000}, {24441, 11135, 5567}},
        // t = trunc(0.5 x 255) = 127: (198 x 127 + 200 x 128) / 255 = 199.
        ConstantPixelCase{"BleachBypass", {{"amount", 50}}, 1, {200, 100, 50}, {199, 98, 49}},
        ConstantPixelCase{"BleachBypass", {{"contrast", 50}}, 1, {200, 100, 50}, {197, 94, 47}},
        ConstantPixelCase{"BleachBypass", {{"contrast", -50}}, 2, {25000, 12000, 6000}, {24721, 11567, 5783}},
        // Saturation -100: the grey of HSV value 200 overlaid with luma 124.
        ConstantPixelCase{"BleachBypass", {{"saturation", -100}}, 1, {200, 100, 50}, {198, 198, 198}},
        ConstantPixelCase{"BleachBypass", {{"saturation", -100}}, 2, {25000, 12000, 6000}, {24441, 24441, 24441}},
        ConstantPixelCase{"BleachBypass", {{"saturation", 100}}, 1, {200, 100, 50}, {198, 64, 0}},
        ConstantPixelCase{"BleachBypass", {{"saturation", 50}}, 2, {25000, 12000, 6000}, {24441, 7324, 0}},
        ConstantPixelCase{
            "BleachBypass", {{"amount", 70}, {"saturation", -30}, {"contrast", 40}}, 1, {60, 180, 90}, {90, 184, 115}},
        // Either side of the middle: 128 screens (255 - 255 x 143 / 255), 127 multiplies (2 x 127 x 112 / 255).
        ConstantPixelCase{"BleachBypass", {}, 1, {128, 127, 0}, {112, 111, 0}},
        ConstantPixelCase{"BleachBypass", {{"contrast", 60}}, 1, {255, 255, 255}, {255, 255, 255}},
        ConstantPixelCase{"BleachBypass", {}, 2, {32768, 32768, 32768}, {32768, 32768, 32768}},
        ConstantPixelCase{"BleachBypass", {{"saturation", 40}}, 1, {0, 0, 0}, {0, 0, 0}},
        // A stored amount above the range counts as 100.
        ConstantPixelCase{"BleachBypass", {{"amount", 400}}, 1, {200, 100, 50}, {198, 97, 48}}));

// With no glow, Infra-Red is the red-filter picture with the tone sliders: tone first and red
// after give the same as red first and tone after, since one table serves every channel. The glow
// screens light onto the picture before the conversion: it never darkens a pixel.
TEST(MonochromeEffects, InfraRedIsTheRedFilterPictureLitByItsGlow) {
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr source = makeNoiseImage(40, 30, 4, bytes, 12);
        EffectHarness withGlow("InfraRed"), withoutGlow("InfraRed"), blackAndWhite("BlackAndWhite");
        blackAndWhite.setList("filter", 1);
        withoutGlow.setNumber("glowBrightness", 0);
        withGlow.setNumber("mattePosition", 60);
        for (EffectHarness* harness : {&withGlow, &withoutGlow, &blackAndWhite})
            harness->apply({{"brightness", 20}, {"contrast", -30}, {"gamma", 40}});
        const ImagePtr lit = withGlow.render(*source), plain = withoutGlow.render(*source);
        EXPECT_EQ(maxDifference(*plain, *blackAndWhite.render(*source)), 0u);
        bool brighter = false;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x) {
                ASSERT_EQ(sampleAt(*lit, x, y, 0), sampleAt(*lit, x, y, 2));
                ASSERT_GE(sampleAt(*lit, x, y, 0), sampleAt(*plain, x, y, 0));
                ASSERT_EQ(sampleAt(*lit, x, y, 3), sampleAt(*source, x, y, 3));
                brighter = brighter || sampleAt(*lit, x, y, 0) > sampleAt(*plain, x, y, 0);
            }
        EXPECT_TRUE(brighter);
    }
}

}  // namespace
