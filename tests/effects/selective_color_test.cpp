// Selective Color: the colour step through a full matte, the mix through a partial matte, and
// the matte view.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/effect_harness.h"

namespace {

constexpr uint32_t kViewOutput = 0, kViewMatte = 1, kViewOriginal = 2;

// A colourful picture whose levels all lie in the darkest fifth, with a varying alpha.
ImagePtr darkPicture(uint32_t bytes, int32_t width = 31, int32_t height = 17) {
    const uint32_t full = bytes == 2 ? 32768 : 255;
    ImagePtr picture = makeNoiseImage(width, height, 4, bytes, 7);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            for (uint32_t c = 0; c < 3; ++c) setSample(*picture, x, y, c, sampleAt(*picture, x, y, c) / 5);
            setSample(*picture, x, y, 3, uint32_t(x * 7 + y * 3) * full / uint32_t(width * 7 + height * 3));
        }
    return picture;
}

// A window over the brightest tones selects nothing of the dark picture; inverted it selects
// all of it.
const std::vector<Setting> kSelectNothing = {{"position", 100}, {"range", 20}};
const std::vector<Setting> kSelectAll = {{"position", 100}, {"range", 20}, {"invert", 1}};

// Whatever the sliders, a matte of 0 everywhere leaves the picture as it is.
TEST(SelectiveColor, ZeroMatteLeavesThePicture) {
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = darkPicture(bytes);
        EffectHarness harness("SelectiveColor");
        harness.apply(kSelectNothing);
        harness.setList("view", kViewMatte);
        const ImagePtr matte = harness.render(*source);
        EXPECT_TRUE(isUniform(*matte) && sampleAt(*matte, 0, 0, 0) == 0);
        harness.setList("view", kViewOutput);
        harness.apply({{"hue", 90}, {"saturation", 60}, {"ccBrightness", 40}, {"ccContrast", -30},
                        {"ccGamma", 25}, {"ccMasterR", 70}, {"ccMasterG", -20}, {"ccMasterB", 10}, {"warmCool", 35}});
        EXPECT_TRUE(harness.isActive(*source));
        EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u) << bytes;
    }
}

// Through a full matte: exact results of the colour step, colour channels only, alpha kept.
TEST(SelectiveColor, ColorStepThroughFullMatte) {
    struct Case {
        const char* name;
        std::vector<Setting> settings;
        uint32_t bytes;
        uint32_t in[3];
        uint32_t out[3];
    };
    const Case cases[] = {
        // Red +100 adds the level itself: min(2i, one).
        {"red +100", {{"ccMasterR", 100}}, 1, {30, 40, 50}, {60, 40, 50}},
        {"red +100 clamps", {{"ccMasterR", 100}}, 1, {200, 40, 50}, {255, 40, 50}},
        {"red +100 16-bit", {{"ccMasterR", 100}}, 2, {3000, 4000, 5000}, {6000, 4000, 5000}},
        {"blue -100 16-bit", {{"ccMasterB", -100}}, 2, {3000, 4000, 5000}, {3000, 4000, 0}},
        // Warm/cool 50 moves trunc(0.5 x one) from red to blue.
        {"cool 50", {{"warmCool", 50}}, 1, {10, 40, 50}, {0, 40, 177}},
        {"warm 50 16-bit", {{"warmCool", -50}}, 2, {3000, 4000, 5000}, {19384, 4000, 0}},
        // A third of a turn takes pure red to pure green, at both depths.
        {"hue 120", {{"hue", 120}}, 1, {50, 0, 0}, {0, 50, 0}},
        {"hue -120 16-bit", {{"hue", -120}}, 2, {6000, 0, 0}, {0, 0, 6000}},
        // Saturation -100 turns a colour into the grey of its largest channel.
        {"saturation -100", {{"saturation", -100}}, 1, {50, 20, 10}, {50, 50, 50}},
        {"saturation -100 16-bit", {{"saturation", -100}}, 2, {1000, 6000, 2000}, {6000, 6000, 6000}},
        // Saturation +100 doubles it: (50, 40, 30) has s 0.4 and v 50. Its hue comes out of the
        // single-precision conversion as 29.9999924, not 30, so green lands just below 30.
        {"saturation +100", {{"saturation", 100}}, 1, {50, 40, 30}, {50, 29, 10}},
        // A grey has no hue: hue and saturation leave it.
        {"grey keeps", {{"hue", 77}, {"saturation", 100}}, 2, {5000, 5000, 5000}, {5000, 5000, 5000}},
        // The channel tables follow the hue step: green +100 doubles the rotated green.
        {"hue then green", {{"hue", 120}, {"ccMasterG", 100}}, 1, {50, 0, 0}, {0, 100, 0}},
    };
    for (const Case& c : cases) {
        const ImagePtr source = darkPicture(c.bytes, 5, 3);
        for (int32_t y = 0; y < 3; ++y)
            for (uint32_t ch = 0; ch < 3; ++ch) setSample(*source, 2, y, ch, c.in[ch]);
        EffectHarness harness("SelectiveColor");
        harness.apply(kSelectAll);
        harness.apply(c.settings);
        const ImagePtr output = harness.render(*source);
        for (int32_t y = 0; y < 3; ++y) {
            for (uint32_t ch = 0; ch < 3; ++ch) EXPECT_EQ(sampleAt(*output, 2, y, ch), c.out[ch]) << c.name;
            for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3)) << c.name;
        }
    }
}

// A whole turn either way gives every colour back, up to one level of rounding.
TEST(SelectiveColor, WholeTurnOfHue) {
    for (uint32_t bytes : {1u, 2u})
        for (double hue : {360.0, -360.0}) {
            const ImagePtr source = makeNoiseImage(31, 17, 4, bytes, 5);
            EffectHarness harness("SelectiveColor");
            harness.apply({{"position", 0}, {"range", 20}, {"invert", 1}});
            harness.setList("view", kViewMatte);
            const ImagePtr matte = harness.render(*source);
            harness.setList("view", kViewOutput);
            harness.setNumber("hue", hue);
            const ImagePtr output = harness.render(*source);
            EXPECT_LE(maxDifference(*output, *source), 1u) << bytes << " " << hue;
            EXPECT_GT(maxDifference(*matte, *makeImage(31, 17, 4, bytes, {0, 0, 0, 0})), 0u);
        }
}

// Where the matte is partial every channel is (source x (one - m) + corrected x m) / one, with
// the corrected picture the one a full matte shows; alpha stays that of the source.
TEST(SelectiveColor, MixThroughPartialMatte) {
    const std::vector<Setting> correction = {{"hue", 45}, {"saturation", 30}, {"ccGamma", 20}, {"warmCool", 10}};
    const std::vector<Setting> partial = {{"extractOn", 4}, {"position", 10}, {"range", 15}, {"matteBlurX", 4}};
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t one = bytes == 2 ? 32768 : 255;
        const ImagePtr source = darkPicture(bytes);

        EffectHarness full("SelectiveColor");
        full.apply(kSelectAll);
        full.apply(correction);
        const ImagePtr corrected = full.render(*source);

        EffectHarness harness("SelectiveColor");
        harness.apply(partial);
        harness.setList("view", kViewMatte);
        const ImagePtr matte = harness.render(*source);
        harness.setList("view", kViewOutput);
        harness.apply(correction);
        const ImagePtr output = harness.render(*source);

        uint32_t partialPixels = 0;
        for (int32_t y = 0; y < source->height; ++y)
            for (int32_t x = 0; x < source->width; ++x) {
                const uint64_t m = sampleAt(*matte, x, y, 0);
                if (m > 0 && m < one) ++partialPixels;
                for (uint32_t c = 0; c < 4; ++c) {
                    const uint64_t s = sampleAt(*source, x, y, c);
                    const uint64_t w = c < 3 ? sampleAt(*corrected, x, y, c) : s;
                    ASSERT_EQ(sampleAt(*output, x, y, c), (s * (one - m) + w * m) / one)
                        << bytes << " at " << x << "," << y << " channel " << c;
                }
            }
        EXPECT_GT(partialPixels, 50u) << bytes;
    }
}

// The matte view shows the extractor's matte as opaque grey, as Matte Generator does with the
// same settings, whether or not a colour slider is set.
TEST(SelectiveColor, MatteViewMatchesMatteGenerator) {
    const std::vector<Setting> settings = {{"extractOn", 1}, {"position", 40}, {"range", 30}, {"clipBlack", 10},
                                           {"matteAdjust", -1.5}, {"matteBlurX", 6}};
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = makeNoiseImage(40, 26, 4, bytes, 3);
        EffectHarness generator("MatteGenerator");
        generator.apply(settings);
        const ImagePtr expected = generator.render(*source);
        for (bool sliders : {false, true}) {
            EffectHarness harness("SelectiveColor");
            harness.apply(settings);
            harness.setList("view", kViewMatte);
            if (sliders) harness.setNumber("saturation", -100);
            EXPECT_EQ(maxDifference(*harness.render(*source), *expected), 0u) << bytes << sliders;
        }
    }
}

// One instance rendering 8 bits, then 16, then 8 again gives what fresh instances give: the
// channel tables follow the depth.
TEST(SelectiveColor, DepthSwitchRebuildsTables) {
    const std::vector<Setting> settings = {{"ccBrightness", 25}, {"ccContrast", 30}, {"ccMasterR", -40}};
    EffectHarness reused("SelectiveColor");
    reused.apply(kSelectAll);
    reused.apply(settings);
    for (uint32_t bytes : {1u, 2u, 1u}) {
        const ImagePtr source = darkPicture(bytes);
        EffectHarness fresh("SelectiveColor");
        fresh.apply(kSelectAll);
        fresh.apply(settings);
        const ImagePtr expected = fresh.render(*source);
        EXPECT_NE(maxDifference(*expected, *source), 0u);
        EXPECT_EQ(maxDifference(*reused.render(*source), *expected), 0u) << bytes;
    }
}

// A stored value beyond a slider's range acts as the end of the range.
TEST(SelectiveColor, OutOfRangeValuesHeldToRange) {
    const ImagePtr source = darkPicture(2);
    auto renderWith = [&](const std::vector<Setting>& settings) {
        EffectHarness harness("SelectiveColor");
        harness.apply(kSelectAll);
        harness.apply(settings);
        return harness.render(*source);
    };
    EXPECT_EQ(maxDifference(*renderWith({{"hue", 1e9}, {"ccMasterG", -500}}),
                            *renderWith({{"hue", 360}, {"ccMasterG", -100}})),
              0u);
    EXPECT_EQ(maxDifference(*renderWith({{"warmCool", 80}}), *renderWith({{"warmCool", 50}})), 0u);
}

}  // namespace
