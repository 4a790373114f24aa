// Color Grad, ND Grad, Combined Grad, Selective Grad, Tint, Dual Tint and Polarizer: the ramp's
// place on the document, the views, and the cases where the picture must not change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fx/grad_group.h"
#include "imaging/gradient_matte.h"
#include "imaging/tint.h"
#include "tests/support/effect_harness.h"

namespace {

// Corners off their defaults: a tilted, non-parallel quad reaching past the picture.
void moveCorners(EffectHarness& harness) {
    harness.setPoint("ul", -0.6, -0.3);
    harness.setPoint("ur", 0.4, -0.55);
    harness.setPoint("lr", 0.55, 0.35);
    harness.setPoint("ll", -0.35, 0.6);
}

bool rowEquals(const Image& a, const Image& b, int32_t y) {
    for (int32_t x = 0; x < a.width; ++x)
        for (uint32_t c = 0; c < 4; ++c)
            if (sampleAt(a, x, y, c) != sampleAt(b, x, y, c)) return false;
    return true;
}

// With the default corners and Top-to-bottom the top row takes the whole effect and, on a
// picture taller than 255 rows, the bottom row none of it.
TEST(GradientEffects, DefaultCornersSpanThePicture) {
    const ImagePtr picture = makeNoiseImage(16, 300, 4, 1, 4);
    struct Case {
        const char* key;
        std::vector<Setting> settings;
    };
    const Case cases[] = {{"ColorGrad", {}}, {"NDGrad", {}}, {"CombinedGrad", {}}, {"SelectiveGrad", {{"range", 100}}}};
    for (const Case& c : cases) {
        EffectHarness harness(c.key);
        harness.apply(c.settings);
        const ImagePtr output = harness.render(*picture);
        EXPECT_TRUE(rowEquals(*output, *picture, 299)) << c.key;
        EXPECT_FALSE(rowEquals(*output, *picture, 0)) << c.key;
    }
    // ND Grad at Opacity 100 turns the top row black; Color Grad tints it fully blue.
    EffectHarness nd("NDGrad");
    const ImagePtr darkened = nd.render(*picture);
    ImagePtr tintedWhole = picture->clone();
    applyWholeTint(*tintedWhole, tintedWhole->bounds, {{0, 0, 255}, 1.0, TintMode::kHsv, 1.0});
    EffectHarness color("ColorGrad");
    const ImagePtr tinted = color.render(*picture);
    for (int32_t x = 0; x < 16; ++x) {
        for (uint32_t c = 0; c < 3; ++c) EXPECT_EQ(sampleAt(*darkened, x, 0, c), 0u);
        EXPECT_EQ(sampleAt(*darkened, x, 0, 3), sampleAt(*picture, x, 0, 3));
    }
    EXPECT_TRUE(rowEquals(*tinted, *tintedWhole, 0));
}

// Opacity 0 (ND Brightness 0) leaves the picture as the colour-correct group makes it, here as it
// came; so does Tint at Opacity 0, which also reports itself inactive.
TEST(GradientEffects, NothingToApplyLeavesThePicture) {
    struct Case {
        const char* key;
        std::vector<Setting> settings;
    };
    const Case cases[] = {
        {"ColorGrad", {{"opacity", 0}}},
        {"NDGrad", {{"opacity", 0}}},
        {"CombinedGrad", {{"opacity", 0}, {"ndOpacity", 0}}},
        {"SelectiveGrad", {{"opacity", 0}, {"ndOpacity", 0}}},
        {"DualTint", {{"opacity1", 0}, {"opacity2", 0}}},
        {"Tint", {{"opacity", 0}}},
    };
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr picture = makeNoiseImage(40, 30, 4, bytes, 6);
        for (const Case& c : cases) {
            EffectHarness harness(c.key);
            harness.apply(c.settings);
            if (std::string(c.key) != "Tint") moveCorners(harness);
            EXPECT_EQ(maxDifference(*harness.render(*picture), *picture), 0u) << c.key << " " << bytes;
        }
    }
    EffectHarness tint("Tint");
    tint.setNumber("opacity", 0);
    EXPECT_FALSE(tint.isActive(*makeNoiseImage(4, 4, 4, 1)));
}

// "Gradient" shows the ramp in grey with alpha full and ignores the colour correction;
// "Original" is the source and the effect is inactive.
TEST(GradientEffects, GradientAndOriginalViews) {
    struct Case {
        const char* key;
        uint32_t gradientView;
        uint32_t originalView;
    };
    const Case cases[] = {{"ColorGrad", 1, 2},    {"NDGrad", 1, 2},   {"CombinedGrad", 1, 2},
                          {"SelectiveGrad", 2, 3}, {"DualTint", 1, 2}, {"Polarizer", 2, 4}};
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr picture = makeNoiseImage(50, 40, 4, bytes, 7);
        const ImagePtr ramp = makeImage(50, 40, 1, bytes, {0});
        buildGradientMatte(*ramp, ramp->bounds, 0, 0, {{{0, 0}, {50, 0}, {50, 40}, {0, 40}}}, 1.0,
                           GradientDirection::kLeftToRight);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        for (const Case& c : cases) {
            EffectHarness harness(c.key);
            harness.setList("view", c.gradientView);
            harness.setList("dir", GradientDirection::kLeftToRight);
            if (std::string(c.key) != "DualTint") harness.setNumber("brightness", 60);
            const ImagePtr output = harness.render(*picture);
            for (int32_t x = 0; x < 50; x += 7)
                EXPECT_EQ(pixelAt(*output, x, 9), (std::vector<uint32_t>{sampleAt(*ramp, x, 9, 0),
                                                                          sampleAt(*ramp, x, 9, 0),
                                                                          sampleAt(*ramp, x, 9, 0), full}))
                    << c.key << " " << bytes << " at " << x;
            harness.setList("view", c.originalView);
            EXPECT_FALSE(harness.isActive(*picture)) << c.key;
            EXPECT_EQ(maxDifference(*harness.render(*picture), *picture), 0u) << c.key;
        }
    }
}

// Tint: a new effect starts in "HLS", a reset selects "HSV"; the mode enables "HLS Highlights".
// Its render is the whole-picture tint of its settings.
TEST(TintEffect, StartsInHlsAndTintsTheWholePicture) {
    EffectHarness harness("Tint");
    Effect& effect = harness.effect();
    const uint32_t mode = harness.index("tintMode");
    const uint32_t highlights = harness.index("highlights");
    EXPECT_EQ(effect.listValue(mode), TintMode::kHls);
    effect.resetToDefaults();
    EXPECT_EQ(effect.listValue(mode), TintMode::kHsv);
    effect.effectClass->parameterChanged(&effect, mode);
    EXPECT_FALSE(effect.parameter(highlights).isEnabled());
    harness.setList("tintMode", TintMode::kHls);
    effect.effectClass->parameterChanged(&effect, mode);
    EXPECT_TRUE(effect.parameter(highlights).isEnabled());

    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr picture = makeNoiseImage(30, 20, 4, bytes, 9);
        harness.setNumber("opacity", 70);
        harness.setNumber("highlights", 40);
        ImagePtr expected = picture->clone();
        applyWholeTint(*expected, expected->bounds,
                       tintSettings(effect, {harness.index("opacity"), harness.index("tint"), mode, highlights}, bytes == 2));
        EXPECT_EQ(maxDifference(*harness.render(*picture), *expected), 0u) << bytes;
    }
}

// Dual Tint with both opacities at 100: the top row is tint 1 and the bottom row tint 2, each as
// the whole-picture tint gives it. With Opacity 2 at 0 it is Color Grad with tint 1.
TEST(DualTintEffect, TwoTintsAlongTheRamp) {
    const ImagePtr picture = makeNoiseImage(12, 300, 4, 1, 10);
    EffectHarness dual("DualTint");
    const ImagePtr output = dual.render(*picture);
    ImagePtr blue = picture->clone();
    applyWholeTint(*blue, blue->bounds, {{0, 0, 255}, 1.0, TintMode::kHsv, 1.0});
    ImagePtr warm = picture->clone();
    applyWholeTint(*warm, warm->bounds, tintSettings(dual.effect(), {9, 10, 11, 12}, false));
    EXPECT_TRUE(rowEquals(*output, *blue, 0));
    EXPECT_TRUE(rowEquals(*output, *warm, 299));

    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr noise = makeNoiseImage(40, 30, 4, bytes, 11);
        EffectHarness single("DualTint");
        EffectHarness color("ColorGrad");
        for (EffectHarness* h : {&single, &color}) {
            moveCorners(*h);
            h->setNumber("size", 60);
        }
        single.setNumber("opacity2", 0);
        single.setNumber("opacity1", 80);
        single.setList("tint1mode", TintMode::kReplace);
        color.setNumber("opacity", 80);
        color.setList("tintMode", TintMode::kReplace);
        EXPECT_EQ(maxDifference(*single.render(*noise), *color.render(*noise)), 0u) << bytes;
    }
}

// Polarizer: with the defaults a blue sky becomes more saturated and darker while a red area is
// unchanged; "Sky" differs from "Matte" only with the ramp enabled, which with Bottom-to-top
// takes the most away at the bottom.
TEST(PolarizerEffect, CorrectsTheSkyThroughTheBlueMatte) {
    const ImagePtr picture = makeImage(20, 40, 4, 1, {60, 110, 160, 255});
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 10; x < 20; ++x) {
            setSample(*picture, x, y, 0, 200);
            setSample(*picture, x, y, 1, 30);
            setSample(*picture, x, y, 2, 0);
        }
    EffectHarness harness("Polarizer");
    const ImagePtr output = harness.render(*picture);
    EXPECT_LT(sampleAt(*output, 2, 5, 0), 60u);
    EXPECT_LT(sampleAt(*output, 2, 5, 2), 160u);
    for (uint32_t c = 0; c < 4; ++c) EXPECT_EQ(sampleAt(*output, 15, 5, c), sampleAt(*picture, 15, 5, c));

    harness.setList("view", 1);
    const ImagePtr matte = harness.render(*picture);
    harness.setList("view", 3);
    EXPECT_EQ(maxDifference(*harness.render(*picture), *matte), 0u);
    harness.setBoolean("gradEnable", true);
    const ImagePtr sky = harness.render(*picture);
    EXPECT_GT(maxDifference(*sky, *matte), 0u);
    EXPECT_LT(sampleAt(*sky, 2, 39, 0), sampleAt(*sky, 2, 0, 0));

    harness.setList("view", 0);
    const ImagePtr graded = harness.render(*picture);
    const PixelRect bottom = {35, 0, 40, 10};
    const PixelRect top = {0, 0, 5, 10};
    EXPECT_LT(maxDifference(viewOf(*graded, bottom), viewOf(*picture, bottom)),
              maxDifference(viewOf(*graded, top), viewOf(*picture, top)));
}

// Selective Grad acts only where its matte selects: "Matte" shows the extractor's matte, and
// where it is 0 the output is the source.
TEST(SelectiveGradEffect, RestrictedToTheMatte) {
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr picture = makeNoiseImage(30, 30, 4, bytes, 12);
        EffectHarness harness("SelectiveGrad");
        harness.setList("view", 1);
        const ImagePtr matte = harness.render(*picture);
        harness.setList("view", 0);
        const ImagePtr output = harness.render(*picture);
        EffectHarness combined("CombinedGrad");
        const ImagePtr everywhere = combined.render(*picture);
        const uint32_t full = bytes == 2 ? 32768 : 255;
        int32_t selected = 0, left = 0;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 30; ++x) {
                const uint32_t m = sampleAt(*matte, x, y, 0);
                const Image& expected = m == 0 ? *picture : *everywhere;
                if (m != 0 && m != full) continue;
                (m == 0 ? left : selected)++;
                for (uint32_t c = 0; c < 4; ++c)
                    ASSERT_EQ(sampleAt(*output, x, y, c), sampleAt(expected, x, y, c)) << bytes << " " << x << "," << y;
            }
        EXPECT_GT(left, 0);
    }
}

}  // namespace
