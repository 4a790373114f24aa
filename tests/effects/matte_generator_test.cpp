// Matte Generator: views and matte values.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/effect_harness.h"

namespace {

constexpr uint32_t kViewOutput = 0, kViewMatte = 1, kViewOriginal = 2;

// "Output" and "Matte" give the same opaque grey picture whatever the source alpha; "Original"
// gives the source.
TEST(MatteGenerator, ViewsAndAlpha) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = bytes == 2 ? 32768 : 255;
        ImagePtr source = makeNoiseImage(33, 21, 4, bytes, 4);
        for (int32_t y = 0; y < 21; ++y)
            for (int32_t x = 0; x < 33; ++x) setSample(*source, x, y, 3, uint32_t(x * y) % full);
        EffectHarness harness("MatteGenerator");
        harness.setNumber("matteBlurX", 5);
        harness.setNumber("matteAdjust", 1.5);
        EXPECT_TRUE(harness.isActive(*source));
        harness.setList("view", kViewOutput);
        ImagePtr output = harness.render(*source);
        harness.setList("view", kViewMatte);
        ImagePtr matte = harness.render(*source);
        EXPECT_EQ(maxDifference(*output, *matte), 0u);
        EXPECT_NE(maxDifference(*output, *source), 0u);
        for (int32_t y = 0; y < 21; ++y)
            for (int32_t x = 0; x < 33; ++x) {
                EXPECT_EQ(sampleAt(*output, x, y, 1), sampleAt(*output, x, y, 0));
                EXPECT_EQ(sampleAt(*output, x, y, 2), sampleAt(*output, x, y, 0));
                ASSERT_EQ(sampleAt(*output, x, y, 3), full);
            }
        harness.setList("view", kViewOriginal);
        EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u);
    }
}

struct MatteCase {
    const char* name;
    std::vector<Setting> settings;
    uint32_t bytes;
    uint32_t grey;
    uint32_t matte;
};

// Whole-picture matte values of a uniform grey source.
TEST(MatteGenerator, MatteOfUniformGrey) {
    const std::vector<Setting> centred = {{"position", 50}, {"range", 25}};
    const std::vector<Setting> centredInverted = {{"position", 50}, {"range", 25}, {"invert", 1}};
    const MatteCase cases[] = {
        // Position 50, range 25 at 16 bits: the window's peak sits at 16384, its feet at 0 and full.
        {"peak", centred, 2, 16384, 32768},
        {"black", centred, 2, 0, 0},
        {"white", centred, 2, 32768, 0},
        {"control point", centred, 2, 8192, 6553},
        {"black 8-bit", centred, 1, 0, 0},
        // Invert without blur or shrink/grow still inverts: the complement in 8 bits.
        {"inverted peak", centredInverted, 2, 16384, 0},
        {"inverted black 8-bit", centredInverted, 1, 0, 255},
        // The defaults (position 100) select the whitest tones.
        {"defaults white", {}, 1, 255, 255},
        {"defaults white 16-bit", {}, 2, 32768, 32768},
    };
    for (const MatteCase& c : cases) {
        ImagePtr source = makeImage(9, 7, 4, c.bytes, {c.grey, c.grey, c.grey, 0});
        EffectHarness harness("MatteGenerator");
        harness.apply(c.settings);
        ImagePtr output = harness.render(*source);
        for (int32_t y = 0; y < 7; y += 3)
            for (int32_t x = 0; x < 9; x += 4) EXPECT_EQ(sampleAt(*output, x, y, 0), c.matte) << c.name;
    }
}

}  // namespace
