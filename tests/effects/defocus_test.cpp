// Defocus and Fast Blur: pixels.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/effect_harness.h"

namespace {

// Fast Blur blurs the picture as the effects are documented to blur it: sizes scaled, two passes.
TEST(DefocusEffects, FastBlurIsTheBlurAtTheScaledSizes) {
    struct Case {
        std::vector<Setting> settings;
        double scale;
        float horizontal, vertical;
    };
    const Case cases[] = {
        {{}, 1.0, 10, 10},
        {{{"blurX", 20}}, 0.25, 5, 5},
        {{{"blurX", 7}, {"blurY", 0}, {"gang", 0}}, 1.0, 7, 0},
        {{{"blurX", 0}, {"blurY", 3.5}, {"gang", 0}}, 1.0, 0, 3.5},
        {{{"blurX", 0}, {"blurY", 30}}, 1.0, 0, 0},  // ganged: both 0
    };
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr source = makeNoiseImage(41, 29, 4, bytes, 5);
        for (const Case& c : cases) {
            EffectHarness harness("FastBlur");
            harness.apply(c.settings);
            ImagePtr output = harness.render(*source, c.scale);
            ImagePtr expected = blurred(*source, source->bounds, c.horizontal, c.vertical, 1);
            EXPECT_EQ(maxDifference(*output, *expected), 0u) << "case " << (&c - cases) << " bytes " << bytes;
        }
    }
}

TEST(DefocusEffects, DefocusBlursLikeFastBlurBeforeTheBloom) {
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr source = makeNoiseImage(33, 40, 4, bytes, 8);
        EffectHarness defocus("Defocus");
        defocus.apply({{"hblur", 6.5}, {"vblur", 2}, {"gang", 0}, {"bloom", 0}});
        EffectHarness fast("FastBlur");
        fast.apply({{"blurX", 6.5}, {"blurY", 2}, {"gang", 0}});
        EXPECT_EQ(maxDifference(*defocus.render(*source), *fast.render(*source)), 0u);
    }
}

TEST(DefocusEffects, NothingToDoReturnsTheSource) {
    struct Case {
        const char* effect;
        std::vector<Setting> settings;
    };
    const Case cases[] = {
        {"FastBlur", {{"blurX", 0}, {"blurY", 0}, {"gang", 0}}},
        {"Defocus", {{"hblur", 0}, {"bloom", 0}}},
        {"Defocus", {{"view", 2}}},
        {"Defocus", {{"view", 2}, {"blend", 1}, {"bloom", 300}, {"matteBlur", 40}}},
    };
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr source = makeNoiseImage(20, 14, 4, bytes, 3);
        for (int32_t x = 0; x < 20; ++x) setSample(*source, x, 5, 3, uint32_t(x * 9));
        for (const Case& c : cases) {
            EffectHarness harness(c.effect);
            harness.apply(c.settings);
            EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u) << c.effect << " case " << (&c - cases);
        }
    }
}

// Bloom alone (no blur) only lights: no sample gets darker, dark pixels outside the matte stay,
// alpha stays, and ADD lights at least as much as Screen.
TEST(DefocusEffects, BloomWithoutBlurOnlyAddsHighlights) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = bytes == 2 ? 32768 : 255;
        ImagePtr source = makeNoiseImage(24, 18, 4, bytes, 11);
        for (int32_t y = 0; y < 18; ++y)
            for (int32_t x = 0; x < 24; ++x) setSample(*source, x, y, 3, full - uint32_t(x * y) % (full / 2));
        for (int32_t x = 0; x < 24; ++x)  // a black row: luminance 0 is outside the highlight window
            for (uint32_t c = 0; c < 3; ++c) setSample(*source, x, 0, c, 0);
        EffectHarness screen("Defocus");
        screen.apply({{"hblur", 0}, {"bloom", 120}});
        EffectHarness add("Defocus");
        add.apply({{"hblur", 0}, {"bloom", 120}, {"blend", 1}});
        ImagePtr screened = screen.render(*source);
        ImagePtr added = add.render(*source);
        uint32_t brighter = 0;
        for (int32_t y = 0; y < 18; ++y)
            for (int32_t x = 0; x < 24; ++x) {
                ASSERT_EQ(sampleAt(*screened, x, y, 3), sampleAt(*source, x, y, 3));
                ASSERT_EQ(sampleAt(*added, x, y, 3), sampleAt(*source, x, y, 3));
                for (uint32_t c = 0; c < 3; ++c) {
                    const uint32_t s = sampleAt(*source, x, y, c);
                    ASSERT_GE(sampleAt(*screened, x, y, c), s);
                    ASSERT_GE(sampleAt(*added, x, y, c), sampleAt(*screened, x, y, c));
                    ASSERT_LE(sampleAt(*added, x, y, c), full);
                    if (y == 0) { ASSERT_EQ(sampleAt(*screened, x, y, c), 0u); }
                    brighter += sampleAt(*screened, x, y, c) > s;
                }
            }
        EXPECT_GT(brighter, 24u * 17u);
    }
}

// The matte view shows, grey and opaque, the matte of the blurred picture: a hard edge gives a
// two-level matte without blur and a soft one with it, even with no matte blur.
TEST(DefocusEffects, MatteViewShowsTheMatteOfTheBlurredPicture) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = fullScale(bytes);
        ImagePtr source = makeImage(40, 6, 4, bytes, {0, 0, 0, full / 3});
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 20; x < 40; ++x)
                for (uint32_t c = 0; c < 3; ++c) setSample(*source, x, y, c, full);
        for (double blur : {0.0, 12.0}) {
            EffectHarness harness("Defocus");
            harness.apply({{"view", 1}, {"hblur", blur}, {"bloom", 0}});
            const ImagePtr blurredSource = blurred(*source, source->bounds, float(blur), float(blur), 1);
            EXPECT_EQ(maxDifference(*harness.render(*source), *matteAsShown(*blurredSource, 1.0f, 1.6f, 0.0f)), 0u)
                << bytes << " blur " << blur;
        }
    }
}

}  // namespace
