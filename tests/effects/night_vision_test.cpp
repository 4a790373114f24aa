// Night Vision: the grey picture through each filter, toned and tinted; the grain last; the
// views, the dialog's enabling rules, the margin and the agreement of 8 and 16 bits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/black_and_white_convert.h"
#include "imaging/color_correct.h"
#include "imaging/tint.h"
#include "tests/support/effect_harness.h"

namespace {

constexpr const char* kKey = "NightVision";
constexpr uint32_t kViewMatte = 1, kViewOriginal = 2;

// No glow and no grain: what is left is the grey picture, toned and tinted.
const std::vector<Setting> kNeitherGlowNorGrain = {{"glowBrightness", 0}, {"GrainAmount", 0}};

void setTintColor(EffectHarness& harness, const RGBValue& color) {
    harness.effect().parameter(harness.index("TintColor")).color = color;
}

// Without glow and grain the output is the source through the filter, the tone curve and the
// whole tint, the imaging core's own operations applied directly.
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
            SCOPED_TRACE("filter " + std::to_string(c.filter) + " mode " + std::to_string(c.mode) + " tone " +
                         std::to_string(c.brightness) + "/" + std::to_string(c.contrast) + "/" +
                         std::to_string(c.gamma) + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const ImagePtr source = makeHighlightPicture(bytes);
            EffectHarness harness(kKey);
            harness.apply(kNeitherGlowNorGrain);
            harness.apply({{"filter", double(c.filter)}, {"tintMode", double(c.mode)}, {"highlights", c.highlights},
                           {"brightness", c.brightness}, {"contrast", c.contrast}, {"gamma", c.gamma}});
            setTintColor(harness, c.color);

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

// The "Normal" filter's grey at 8 bits, seen through a white tint, which keeps a grey as it is:
// trunc(0.3 R + 0.59 G + 0.11 B + 0.008784313725490198). Alpha is untouched.
TEST(NightVision, NormalFilterGreyAtEightBits) {
    struct Case {
        uint32_t red, green, blue, grey;
    };
    const Case cases[] = {
        {0, 0, 0, 0},     {255, 255, 255, 255}, {1, 1, 1, 1},       {255, 0, 0, 76},   {0, 255, 0, 150},
        {0, 0, 255, 28},  {100, 150, 200, 140}, {37, 201, 90, 139}, {10, 10, 10, 10}, {200, 100, 50, 124},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue));
        const ImagePtr source = makeImage(3, 2, 4, 1, {c.red, c.green, c.blue, 77});
        EffectHarness harness(kKey);
        harness.apply(kNeitherGlowNorGrain);
        setTintColor(harness, {1, 1, 1});
        const ImagePtr output = harness.render(*source);
        EXPECT_TRUE(isUniform(*output));
        for (uint32_t channel = 0; channel < 3; ++channel) EXPECT_EQ(sampleAt(*output, 1, 1, channel), c.grey);
        EXPECT_EQ(sampleAt(*output, 1, 1, 3), 77u);
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
            SCOPED_TRACE("size " + std::to_string(c.size) + " amount " + std::to_string(c.amount) +
                         (bytes == 2 ? " 16-bit" : " 8-bit"));
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

// "Matte" shows the extractor's matte at position / 100 and range x 0.02 whatever the glow's
// brightness; "Original" is the source whatever the other settings.
TEST(NightVision, MatteAndOriginalViews) {
    struct Case {
        double position, rangePercent;
        float range;
        double blur, brightness;
    };
    const Case cases[] = {{100, 50, 1.0f, 0, 0}, {100, 100, 2.0f, 0, 75}, {40, 30, 0.6f, 4, 0}};
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE("position " + std::to_string(c.position) + " range " + std::to_string(c.rangePercent) +
                         (bytes == 2 ? " 16-bit" : " 8-bit"));
            const ImagePtr source = makeHighlightPicture(bytes);
            const std::vector<Setting> settings = {{"mattePosition", c.position}, {"matteRange", c.rangePercent},
                                                   {"matteBlur", c.blur},         {"glowBrightness", c.brightness},
                                                   {"filter", 3},                 {"contrast", 40}};
            EffectHarness matteView(kKey), original(kKey);
            matteView.apply(settings);
            matteView.setList("view", kViewMatte);
            original.apply(settings);
            original.setList("view", kViewOriginal);

            const ImagePtr shown = matteView.render(*source);
            EXPECT_EQ(maxDifference(*shown, *matteAsShown(*source, float(c.position / 100), c.range, float(c.blur))),
                      0u);
            EXPECT_FALSE(isUniform(*shown));
            EXPECT_EQ(maxDifference(*original.render(*source), *source), 0u);
        }
}

// What a change in the dialog does: the vertical blur follows the horizontal one while ganged
// and is enabled only while the gang is off; "HLS Highlights" is enabled only in "HLS".
TEST(NightVision, DialogChanges) {
    constexpr uint32_t kNeedsRefresh = 0x0020;
    struct Case {
        const char* changed;
        uint32_t mode;
        bool gang;
        double verticalAfter;
        bool verticalRefreshed, verticalEnabled, highlightsEnabled;
    };
    const Case cases[] = {
        {"glowBlurH", TintMode::kHsv, true, 123, true, true, true},
        {"glowBlurH", TintMode::kHsv, false, 45, false, true, true},
        {"glowBlurGang", TintMode::kHsv, true, 45, true, false, true},
        {"glowBlurGang", TintMode::kHsv, false, 45, false, true, true},
        {"tintMode", TintMode::kHsv, true, 45, false, true, false},
        {"tintMode", TintMode::kHls, true, 45, false, true, true},
        {"tintMode", TintMode::kReplace, false, 45, false, true, false},
        {"highlights", TintMode::kReplace, true, 45, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.changed) + " mode " + std::to_string(c.mode) + (c.gang ? " ganged" : " apart"));
        EffectHarness harness(kKey);
        Effect& effect = harness.effect();
        const uint32_t vertical = harness.index("glowBlurV");
        harness.apply({{"glowBlurV", 45}, {"glowBlurH", 123}, {"glowBlurGang", c.gang ? 1.0 : 0.0},
                       {"tintMode", double(c.mode)}});
        effect.parameter(vertical).flags = uint16_t(effect.parameter(vertical).flags & ~kNeedsRefresh);
        effect.effectClass->parameterChanged(&effect, harness.index(c.changed));
        EXPECT_EQ(effect.numberValue(vertical), c.verticalAfter);
        EXPECT_EQ((effect.parameter(vertical).flags & kNeedsRefresh) != 0, c.verticalRefreshed);
        EXPECT_EQ(effect.parameter(vertical).isEnabled(), c.verticalEnabled);
        EXPECT_EQ(effect.parameter(harness.index("highlights")).isEnabled(), c.highlightsEnabled);
    }
}

// The matte blur and the glow blur follow each other, so their reaches add up; the grain reads
// nothing around a pixel, whatever its size.
TEST(NightVision, MarginIsTheMatteBlurPlusTheGlowBlur) {
    auto grownBy = [](double matteBlur, double glowBlur, double grainSize) {
        EffectHarness h(kKey);
        h.apply({{"matteBlur", matteBlur}, {"glowBlurH", glowBlur}, {"GrainSize", grainSize}});
        const PixelRect grown = h.requiredSource({50, 50, 60, 60}, 1000, 1000);
        EXPECT_EQ(50 - grown.left, 50 - grown.top);
        EXPECT_EQ(grown.right - 60, 50 - grown.left);
        return 50 - grown.left;
    };
    EXPECT_EQ(grownBy(0, 0, 10), 0);
    EXPECT_GE(grownBy(0, 500, 1), 500);
    EXPECT_EQ(grownBy(200, 500, 1), grownBy(200, 0, 1) + grownBy(0, 500, 1));
    EXPECT_EQ(grownBy(13, 31, 10), grownBy(13, 0, 1) + grownBy(0, 31, 1));
}

// A picture of one colour stays of one colour, its alpha untouched, when nothing adds grain.
TEST(NightVision, ConstantPictureStaysConstant) {
    for (uint32_t filter = 0; filter < 6; ++filter)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE("filter " + std::to_string(filter) + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const uint32_t full = bytes == 2 ? 32768 : 255;
            const ImagePtr source = makeImage(29, 23, 4, bytes, {full * 9 / 10, full * 7 / 10, full / 2, full / 3});
            EffectHarness harness(kKey);
            harness.apply({{"filter", double(filter)}, {"GrainAmount", 0}, {"glowMode", 0}, {"matteBlur", 4},
                           {"glowBlurH", 9}, {"tintMode", TintMode::kHls}, {"contrast", 30}});
            const ImagePtr output = harness.render(*source);
            EXPECT_TRUE(isUniform(*output));
            EXPECT_EQ(sampleAt(*output, 0, 0, 3), full / 3);
        }
}

// 8 and 16 bits give the same picture but for rounding, which strong light magnifies.
TEST(NightVision, EightAndSixteenBitsAgree) {
    const ImagePtr source = makeNoiseImage(48, 40, 4, 1, 3);
    struct Case {
        std::vector<Setting> settings;
        uint32_t tolerance;
    };
    const Case cases[] = {
        {{{"GrainAmount", 0}}, 4},
        {{}, 4},
        // The highlight mix of "HLS" magnifies the rounding of the added light.
        {{{"glowMode", 0}, {"glowBlend", 1}, {"tintMode", TintMode::kHls}, {"filter", 4}, {"GrainAmount", 0}}, 16},
        {{{"glowBrightness", 300}, {"contrast", 30}, {"gamma", -20}, {"filter", 5}, {"GrainSize", 3}}, 16},
    };
    for (const Case& c : cases) EXPECT_LE(renderDepthDifference(kKey, c.settings, *source), c.tolerance);
}

}  // namespace
