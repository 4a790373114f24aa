// Low Contrast: shadow tables, views and pixel rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "effects/low_contrast_tables.h"
#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"
#include "tests/support/rationed_memory.h"

namespace {

constexpr uint32_t kViewOutput = 0, kViewMatte = 1, kViewSpread = 2, kViewOriginal = 3;

// ---- Shadow tables -----------------------------------------------------------------------

TEST(LowContrastShadowTables, BuiltOnceOnFirstUseAfterAnyRefusal) {
    RationedMemory memory;
    {
        ShadowTables tables(memory);
        memory.allowed = 0;
        EXPECT_THROW(tables.table16(), fx::OutOfMemory);
        EXPECT_THROW(tables.table8(), fx::OutOfMemory);
        memory.allowed = 1000;
        const uint16_t* table16 = tables.table16();
        ASSERT_NE(table16, nullptr);
        EXPECT_EQ(tables.table16(), table16);  // built once
        EXPECT_EQ(memory.allocations, 1u);
        const uint8_t* table8 = tables.table8();
        EXPECT_EQ(tables.table8(), table8);
        EXPECT_EQ(memory.allocations, 2u);
        // The curve falls from full at black to 0 at white.
        EXPECT_EQ(table8[0], 255);
        EXPECT_EQ(table8[255], 0);
        EXPECT_EQ(table16[0], 32768);
        EXPECT_EQ(table16[32768], 0);
        for (int i = 1; i <= 32768; ++i) ASSERT_LE(table16[i], table16[i - 1]) << i;
    }
    EXPECT_EQ(memory.releases, 2u);
}

// ---- Pixels ------------------------------------------------------------------------------

// A black picture with a white square in the middle, alpha varied.
ImagePtr squarePicture(uint32_t bytes) {
    const uint32_t full = bytes == 2 ? 32768 : 255;
    ImagePtr image = makeImage(60, 60, 4, bytes, {0, 0, 0, full});
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x) {
            const bool inside = x >= 20 && x < 40 && y >= 20 && y < 40;
            for (uint32_t c = 0; c < 3; ++c) setSample(*image, x, y, c, inside ? full : 0);
            setSample(*image, x, y, 3, full - uint32_t(x + y) * (full / 200));
        }
    return image;
}

// The shadow lift alone: k = trunc(0.3 x full); black rises by shadow[0] x k / full = k, white
// stays white.
const std::vector<Setting> kShadowLiftOnly = {{"lightBrightness", 0}, {"shadowBrightness", 30}};

INSTANTIATE_TEST_SUITE_P(
    LowContrast, ConstantPixel,
    ::testing::Values(ConstantPixelCase{"LowContrast", kShadowLiftOnly, 1, {0, 0, 0}, {76, 76, 76}},
                      ConstantPixelCase{"LowContrast", kShadowLiftOnly, 1, {255, 255, 255}, {255, 255, 255}},
                      ConstantPixelCase{"LowContrast", kShadowLiftOnly, 2, {0, 0, 0}, {9830, 9830, 9830}},
                      ConstantPixelCase{"LowContrast", kShadowLiftOnly, 2, {32768, 32768, 32768}, {32768, 32768, 32768}}));

// The spill is 0 in the middle of a highlight wider than the spread and highest around it, so
// the dark surroundings get light and the highlight itself gets none; black far from any
// light stays black.
TEST(LowContrast, HighlightsLightTheirSurroundingsNotThemselves) {
    for (uint32_t bytes : {1u, 2u}) {
        SCOPED_TRACE(bytes);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        ImagePtr source = squarePicture(bytes);
        EffectHarness harness("LowContrast");
        harness.setNumber("lightSpread", 8);
        harness.setNumber("shadowBrightness", 0);
        harness.setList("view", kViewSpread);
        ImagePtr spill = harness.render(*source);
        EXPECT_EQ(sampleAt(*spill, 30, 30, 0), 0u);
        EXPECT_GT(sampleAt(*spill, 30, 18, 0), full / 4);
        EXPECT_GT(sampleAt(*spill, 30, 18, 0), sampleAt(*spill, 5, 5, 0));
        for (int32_t y = 0; y < 60; y += 3)
            for (int32_t x = 0; x < 60; x += 3) {
                EXPECT_EQ(sampleAt(*spill, x, y, 1), sampleAt(*spill, x, y, 0));
                EXPECT_EQ(sampleAt(*spill, x, y, 2), sampleAt(*spill, x, y, 0));
                EXPECT_EQ(sampleAt(*spill, x, y, 3), full);
            }

        harness.setList("view", kViewMatte);  // position 100: full on white
        EXPECT_EQ(sampleAt(*harness.render(*source), 30, 30, 0), full);

        harness.setList("view", kViewOutput);
        ImagePtr output = harness.render(*source);
        EXPECT_EQ(sampleAt(*output, 30, 30, 0), full);
        EXPECT_EQ(sampleAt(*output, 5, 5, 0), 0u);
        EXPECT_GT(sampleAt(*output, 30, 18, 0), sampleAt(*source, 30, 18, 0) + full / 20);
        for (int32_t y = 0; y < 60; y += 3)
            for (int32_t x = 0; x < 60; x += 3) {
                EXPECT_GE(sampleAt(*output, x, y, 0), sampleAt(*source, x, y, 0));
                EXPECT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3));
            }
    }
}

// On a uniform grey every blur is the identity, so each pixel follows the rules by hand: the
// shadow lift, E = 2m - 2 m m / full, the light x = c E / full, then K = trunc(1.25 x full)
// screens one whole step and a partial one with x' = x r / full.
TEST(LowContrast, UniformGreyFollowsTheRulesByHand) {
    RationedMemory memory;
    ShadowTables tables(memory);
    for (uint32_t bytes : {1u, 2u})
        for (uint32_t level8 : {0u, 30u, 128u, 200u, 250u}) {
            const int64_t full = bytes == 2 ? 32768 : 255;
            const int64_t g = bytes == 2 ? level8 * 32768 / 255 : level8;
            ImagePtr source = makeImage(12, 9, 4, bytes, {uint32_t(g), uint32_t(g), uint32_t(g), uint32_t(full)});
            EffectHarness harness("LowContrast");
            harness.setList("view", kViewMatte);
            const int64_t m = sampleAt(*harness.render(*source), 6, 4, 0);
            harness.setList("view", kViewOutput);
            const int64_t output = sampleAt(*harness.render(*source), 6, 4, 0);

            const int64_t shadow = bytes == 2 ? tables.table16()[g] : tables.table8()[g];
            const int64_t k = int64_t(0.05 * double(full));
            int64_t c = std::min(full, g + shadow * k / full);
            const int64_t e = std::clamp<int64_t>(m + m - 2 * m * m / full, 0, full);
            const int64_t x = c * e / full;
            const int64_t amount = int64_t(1.25 * double(full));
            for (int64_t i = 0; i < amount / (full + 1); ++i) c = c + x - c * x / full;
            const int64_t partial = x * (amount % (full + 1)) / full;
            c = c + partial - c * partial / full;
            EXPECT_EQ(output, std::min(c, full)) << bytes << " " << level8;
        }
}

// The same picture at 8 and 16 bits gives the same look within the rounding of the two scales
// (truncations in the blurs and the repeated screen steps add up to a few levels).
TEST(LowContrast, EightAndSixteenBitsAgree) {
    ImagePtr source8 = makeNoiseImage(40, 30, 4, 1, 3);
    for (std::vector<Setting> settings : std::vector<std::vector<Setting>>{
             {},
             {{"lightBrightness", 800}, {"lightSpread", 3}, {"shadowBrightness", 30}},
             {{"lightBrightness", 260}, {"lightSpread", 20}, {"matteBlur", 6}, {"mattePosition", 70}, {"matteRange", 30}}})
        for (uint32_t view : {kViewOutput, kViewMatte, kViewSpread})
            EXPECT_LE(renderDepthDifference("LowContrast", plus(settings, {"view", double(view)}), *source8), 6u)
                << "view " << view;
}

}  // namespace
