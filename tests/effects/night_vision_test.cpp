// Night Vision: the grey picture through each filter, toned and tinted; the grain last; the
// dialog's enabling rules and the agreement of 8 and 16 bits. Its views, gang rules, margin and
// constant pictures are tested with the glow looks, whose glow and matte groups it shares.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/black_and_white_convert.h"
#include "imaging/color_correct.h"
#include "imaging/tint.h"
#include "tests/support/effect_harness.h"

namespace {

constexpr const char* kKey = "NightVision";

// No glow and no grain: what is left is the grey picture, toned and tinted.
const std::vector<Setting> kNeitherGlowNorGrain = {{"glowBrightness", 0}, {"GrainAmount", 0}};

// Without glow and grain the output is the source through the filter, the tone curve and the
// whole tint, the imaging core's own operations applied directly (their worked values are
// tested with the imaging core).
TEST(NightVision, WithoutGlowAndGrainIsTheTintedGreyPicture) {
    struct Case {
        uint32_t filter;
        RGBValue color;  // components that are whole levels at both depths
        uint32_t mode;
        double highlights, brightness, contrast, gamma;
    };
    const Case cases[] = {
        {0, {0, 1, 0}, TintMode::kHsv, 100, 0, 0, 0},     {1, {0, 1, 0}, TintMode::kHsv, 100, 0, 0, 0},
        {2, {1, 0, 1}, TintMode::kHls, 100, 0, 0, 0},     {3, {1, 0, 1}, TintMode::kHls, 35, 0, 0, 0},
        {4, {0, 1, 0}, TintMode::kReplace, 100, 0, 0, 0}, {5, {0.5, 1, 0}, TintMode::kHsv, 100, 0, 0, 0},
        {0, {0, 1, 0}, TintMode::kHsv, 100, 25, 0, 0},    {2, {0, 1, 0}, TintMode::kHls, 60, -40, 55, 30},
        {5, {1, 0, 1}, TintMode::kReplace, 0, 0, -70, -20},
    };
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << ", " << bytes * 8 << "-bit");
            const ImagePtr source = makeHighlightPicture(bytes);
            EffectHarness harness(kKey);
            harness.apply(kNeitherGlowNorGrain);
            harness.apply({{"filter", double(c.filter)}, {"tintMode", double(c.mode)}, {"highlights", c.highlights},
                           {"brightness", c.brightness}, {"contrast", c.contrast}, {"gamma", c.gamma}});
            harness.setColor("TintColor", c.color);

            ImagePtr expected = source->clone();
            toBlackAndWhite(*expected, expected->bounds, c.filter);
            colorCorrect(*expected, expected->bounds, 0, 0, c.brightness / 100, c.contrast / 100, c.gamma / 100, 0,
                         0, 0, false);
            const uint32_t full = bytes == 2 ? 32768 : 255;
            TintSettings tint;
            tint.color = {uint32_t(c.color.red * full), uint32_t(c.color.green * full), uint32_t(c.color.blue * full)};
            tint.mode = c.mode;
            tint.highlights = c.highlights / 100;
            applyWholeTint(*expected, expected->bounds, tint);
            EXPECT_EQ(maxDifference(*harness.render(*source), *expected), 0u);
        }
}

// The grain is the last step and is the Grain effect's own: one size and strength for the three
// channels, each with its own noise, laid over the tinted picture.
TEST(NightVision, GrainIsTheGrainEffectsOverTheTintedPicture) {
    struct Case {
        double size, amount;
    };
    const Case cases[] = {{1, 15}, {3, 60}, {7.5, 100}};
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << "size " << c.size << " amount " << c.amount << ", " << 8 * bytes);
            const ImagePtr source = makeHighlightPicture(bytes, 64, 48);
            EffectHarness plain(kKey), grained(kKey), grain("Grain");
            plain.apply({{"GrainAmount", 0}});
            grained.apply({{"GrainSize", c.size}, {"GrainAmount", c.amount}});
            grain.apply({{"grainRSize", c.size}, {"grainGSize", c.size}, {"grainBSize", c.size},
                         {"grainRAmount", c.amount}, {"grainGAmount", c.amount}, {"grainBAmount", c.amount}});
            const ImagePtr tinted = plain.render(*source);
            const ImagePtr output = grained.render(*source);
            EXPECT_EQ(maxDifference(*output, *grain.render(*tinted)), 0u);
            EXPECT_GT(maxDifference(*output, *tinted), 0u);
        }
}

// "HLS Highlights" is enabled only in "HLS", whichever record changed. The blur pair's gang
// rules are tested with the glow looks'.
TEST(NightVision, HighlightsEnabledOnlyInHls) {
    struct Case {
        const char* changed;
        uint32_t mode;
        bool highlightsEnabled;
    };
    const Case cases[] = {{"tintMode", TintMode::kHsv, false}, {"tintMode", TintMode::kHls, true},
                          {"tintMode", TintMode::kReplace, false}, {"highlights", TintMode::kReplace, true},
                          {"glowBlurH", TintMode::kHsv, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.changed) + " mode " + std::to_string(c.mode));
        EffectHarness harness(kKey);
        Effect& effect = harness.effect();
        harness.setList("tintMode", c.mode);
        effect.effectClass->parameterChanged(&effect, harness.index(c.changed));
        EXPECT_EQ(effect.parameter(harness.index("highlights")).isEnabled(), c.highlightsEnabled);
    }
}

// 8 and 16 bits give the same picture but for rounding, which strong light magnifies.
TEST(NightVision, EightAndSixteenBitsAgree) {
    const ImagePtr source = makeNoiseImage(48, 40, 4, 1, 3);
    EXPECT_LE(renderDepthDifference(kKey, {{"GrainAmount", 0}}, *source), 4u);
    EXPECT_LE(renderDepthDifference(kKey, {}, *source), 4u);
    // The highlight mix of "HLS" magnifies the rounding of the added light.
    EXPECT_LE(renderDepthDifference(kKey, {{"glowMode", 0}, {"glowBlend", 1}, {"tintMode", TintMode::kHls},
                                           {"filter", 4}, {"GrainAmount", 0}}, *source), 16u);
    EXPECT_LE(renderDepthDifference(kKey, {{"glowBrightness", 300}, {"contrast", 30}, {"gamma", -20}, {"filter", 5},
                                           {"GrainSize", 3}}, *source), 16u);
}

}  // namespace
