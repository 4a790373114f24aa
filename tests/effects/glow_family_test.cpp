// The glow and mist looks: views, the extractor's window, the blur pair's gang rules, preview
// scale, margins and depth agreement, for every member; Night Vision and Infra-Red, which hold
// the same glow and matte groups, join the tests of the views, the gang rules and the margins.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/color_correct.h"
#include "imaging/pixel_utils.h"
#include "tests/support/effect_harness.h"
#include "tests/support/glow_family_members.h"

namespace {

constexpr uint32_t kViewMatte = 1, kViewOriginal = 2;

// Each member with the keys in which they differ.
using Member = test_support::GlowLookKeys;
constexpr const auto& kMembers = test_support::kGlowLooks;

// The looks, then Night Vision and Infra-Red.
const std::vector<Member>& withGlowGroups() {
    static const std::vector<Member> members = [] {
        std::vector<Member> all(std::begin(kMembers), std::end(kMembers));
        for (const char* key : {"NightVision", "InfraRed"})
            all.push_back({key, "glowBlend", "glowBrightness", "glowBlurH", "glowBlurV", "glowBlurGang"});
        return all;
    }();
    return members;
}

bool isNightVision(const Member& m) { return std::string(m.key) == "NightVision"; }

const Member& member(const std::string& key) {
    if (key == test_support::kFauxFilm.key) return test_support::kFauxFilm;
    for (const Member& m : withGlowGroups())
        if (key == m.key) return m;
    ADD_FAILURE() << "no member " << key;
    return kMembers[0];
}

// Settings that move every step of the render away from its neutral value.
std::vector<Setting> busySettings(const Member& m) {
    return {{m.brightness, 300}, {m.blurH, 7}, {m.blurV, 4}, {"glowMode", 0}, {"hue", 40}, {"saturation", 20},
            {"contrast", 30},    {"red", 10},  {"matteBlur", 3}, {"matteRange", 60}};
}

TEST(GlowFamily, ViewsThatPassTheSourceThrough) {
    // No glow leaves the corrected picture, which the neutral correction leaves as it was; the
    // Original view ignores every other setting (here the busiest; with the matte views too).
    for (const Member& m : kMembers)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(std::string(m.key) + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const ImagePtr source = makeHighlightPicture(bytes);
            EffectHarness dark(m.key), original(m.key), look(m.key);
            dark.setNumber(m.brightness, 0);
            EXPECT_EQ(maxDifference(*dark.render(*source), *source), 0u);
            original.apply(busySettings(m));
            original.setList("view", kViewOriginal);
            EXPECT_EQ(maxDifference(*original.render(*source), *source), 0u);
            // And the look does change the picture at its defaults.
            EXPECT_GT(maxDifference(*look.render(*source), *source), 0u);
        }
}

// The Matte view is the extractor's matte at position / 100 and range x 0.02 (a Range of 50
// is a window of 1.0), blurred by the matte blur, whatever the glow's brightness; the Original
// view with the same settings is the source.
TEST(GlowFamily, MatteViewShowsTheExtractorsMatte) {
    struct Case {
        double position, rangePercent;
        float range;
        double blur, brightness;
    };
    const Case cases[] = {
        {100, 50, 1.0f, 0, 0}, {100, 100, 2.0f, 0, 0}, {30, 25, 0.5f, 0, 75}, {60, 80, 1.6f, 5, 0}, {0, 80, 1.6f, 0, 800},
    };
    for (const Member& m : withGlowGroups())
        for (const Case& c : cases)
            for (uint32_t bytes : {1u, 2u}) {
                SCOPED_TRACE(std::string(m.key) + " position " + std::to_string(c.position) + " range " +
                             std::to_string(c.rangePercent) + (bytes == 2 ? " 16-bit" : " 8-bit"));
                const ImagePtr source = makeHighlightPicture(bytes);
                EffectHarness harness(m.key), original(m.key);
                for (EffectHarness* h : {&harness, &original})
                    h->apply({{"mattePosition", c.position}, {"matteRange", c.rangePercent}, {"matteBlur", c.blur},
                              {m.brightness, c.brightness}, {"contrast", 40}});
                harness.setList("view", kViewMatte);
                original.setList("view", kViewOriginal);
                const ImagePtr shown = harness.render(*source);

                EXPECT_EQ(maxDifference(*shown, *matteAsShown(*source, float(c.position / 100), c.range, float(c.blur))),
                          0u);
                EXPECT_FALSE(isUniform(*shown));
                EXPECT_EQ(maxDifference(*original.render(*source), *source), 0u);
            }
}

// What a change in the dialog does to the blur pair: in the mist looks the vertical size
// follows a new horizontal one while ganged; Glow only enables and disables the vertical
// control; Streaks has no gang.
TEST(GlowFamily, BlurPairChanges) {
    constexpr uint32_t kNeedsRefresh = 0x0020;
    struct Case {
        const char* key;
        bool changedHorizontal;  // else the gang switch, or the vertical size without one
        bool gang;
        double verticalAfter;
        bool refreshed;  // the value moved or the control's state changed
        bool verticalEnabled;
    };
    const Case cases[] = {
        {"BlackMist", true, true, 123, true, true},  {"BlackMist", true, false, 45, false, true},
        {"BlackMist", false, true, 45, true, false}, {"BlackMist", false, false, 45, false, true},
        {"Fog", true, true, 123, true, true},        {"Fog", false, true, 45, true, false},
        {"Glow", true, true, 45, false, true},        {"Glow", false, true, 45, true, false},
        {"Glow", false, false, 45, false, true},      {"Streaks", true, true, 45, false, true},
        {"Streaks", false, true, 45, false, true},    {"FauxFilm", true, true, 123, true, true},
        {"FauxFilm", false, false, 45, false, true},  {"NightVision", true, true, 123, true, true},
        {"NightVision", true, false, 45, false, true}, {"NightVision", false, true, 45, true, false},
        {"NightVision", false, false, 45, false, true},
    };
    for (const Case& c : cases) {
        const Member& m = member(c.key);
        const char* changed = c.changedHorizontal ? m.blurH : m.gang ? m.gang : m.blurV;
        SCOPED_TRACE(std::string(c.key) + " " + changed + (c.gang ? " ganged" : " apart"));
        EffectHarness harness(c.key);
        Effect& effect = harness.effect();
        const uint32_t v = harness.index(m.blurV);
        harness.setNumber(m.blurV, 45);
        harness.setNumber(m.blurH, 123);
        if (m.gang) harness.setBoolean(m.gang, c.gang);
        effect.parameter(v).flags = uint16_t(effect.parameter(v).flags & ~kNeedsRefresh);
        effect.effectClass->parameterChanged(&effect, harness.index(changed));
        EXPECT_EQ(effect.numberValue(v), c.verticalAfter);
        EXPECT_EQ((effect.parameter(v).flags & kNeedsRefresh) != 0, c.refreshed);
        EXPECT_EQ(effect.parameter(v).isEnabled(), c.verticalEnabled);
    }
}

// While ganged the render reads the horizontal size for both directions; without a gang
// (Streaks) the vertical size is its own.
TEST(GlowFamily, VerticalBlurCountsOnlyWhenNotGanged) {
    for (const Member& m : kMembers) {
        SCOPED_TRACE(m.key);
        const ImagePtr source = makeHighlightPicture(1);
        EffectHarness before(m.key), after(m.key);
        for (EffectHarness* h : {&before, &after}) h->apply({{m.blurH, 6}, {m.blurV, 6}, {m.brightness, 200}});
        after.setNumber(m.blurV, 15);
        const uint32_t difference = maxDifference(*before.render(*source), *after.render(*source));
        if (m.gang) {
            EXPECT_EQ(difference, 0u);
            after.setBoolean(m.gang, false);
            EXPECT_GT(maxDifference(*before.render(*source), *after.render(*source)), 0u);
        } else {
            EXPECT_GT(difference, 0u);
        }
    }
}

// A picture of one colour stays of one colour, its alpha untouched, whatever the look does
// (Night Vision without its grain).
TEST(GlowFamily, ConstantPictureStaysConstant) {
    for (const Member& m : withGlowGroups())
        for (uint32_t glowMode : {0u, 1u})
            for (uint32_t bytes : {1u, 2u}) {
                SCOPED_TRACE(testing::Message() << m.key << " mode " << glowMode << " bytes " << bytes);
                const uint32_t full = bytes == 2 ? 32768 : 255;
                const ImagePtr source = makeImage(29, 23, 4, bytes, {full * 9 / 10, full * 8 / 10, full / 2, full / 3});
                EffectHarness harness(m.key);
                harness.apply({{"glowMode", double(glowMode)}, {m.blend, 1}, {m.blurH, 9}, {"matteBlur", 4}});
                if (isNightVision(m)) harness.setNumber("GrainAmount", 0);
                const ImagePtr output = harness.render(*source);
                EXPECT_TRUE(isUniform(*output));
                EXPECT_EQ(sampleAt(*output, 0, 0, 3), full / 3);
            }
}

// A preview at half size renders the picture with blurs of half the size, and asks for a
// margin of the half sizes rounded up.
TEST(GlowFamily, PreviewScaleHalvesBlursAndMargins) {
    struct Case {
        double blurH, blurV, matteBlur;
    };
    const Case cases[] = {{40, 40, 20}, {31, 31, 0}, {0, 0, 9}, {17, 5, 3}};
    for (const Member& m : kMembers)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << m.key << " blur " << c.blurH << " matte " << c.matteBlur);
            auto settings = [&](double factor) {
                std::vector<Setting> s = {{m.blurH, c.blurH * factor}, {m.blurV, c.blurV * factor},
                                          {"matteBlur", c.matteBlur * factor}, {"glowMode", 0}};
                if (m.gang) s.push_back({m.gang, c.blurH == c.blurV ? 1.0 : 0.0});
                return s;
            };
            EffectHarness half(m.key), full(m.key);
            half.apply(settings(1.0));
            full.apply(settings(0.5));
            const ImagePtr source = makeHighlightPicture(2);
            EXPECT_EQ(maxDifference(*half.render(*source, 0.5), *full.render(*source, 1.0)), 0u);

            const PixelRect halfMargin = half.requiredSource({100, 100, 200, 200}, 1000, 1000, 0.5);
            EXPECT_EQ(halfMargin, full.requiredSource({100, 100, 200, 200}, 1000, 1000));
            // At least the half sizes rounded up, the two blurs one after the other.
            EXPECT_LE(halfMargin.left, 100 - int32_t(std::ceil(c.blurH / 2) + std::ceil(c.matteBlur / 2)));
            EXPECT_LE(halfMargin.top, 100 - int32_t(std::ceil(c.blurV / 2) + std::ceil(c.matteBlur / 2)));
        }
}

// The matte blur and the glow blur follow each other, so their reaches add up; Night Vision's
// grain reads nothing around a pixel, whatever its size.
TEST(GlowFamily, MarginAddsTheMatteBlurAndTheGlowBlur) {
    for (const Member& m : withGlowGroups()) {
        SCOPED_TRACE(m.key);
        auto grownBy = [&](double matteBlur, double glowBlur) {
            EffectHarness h(m.key);
            h.apply({{"matteBlur", matteBlur}, {m.blurH, glowBlur}, {m.blurV, glowBlur}});
            if (isNightVision(m)) h.setNumber("GrainSize", 10);
            const PixelRect grown = h.requiredSource({50, 50, 60, 60}, 1000, 1000);
            EXPECT_EQ(50 - grown.left, 50 - grown.top);
            EXPECT_EQ(grown.right - 60, 50 - grown.left);
            return 50 - grown.left;
        };
        EXPECT_EQ(grownBy(0, 0), 0);
        EXPECT_GE(grownBy(0, 500), 500);
        EXPECT_EQ(grownBy(200, 500), grownBy(200, 0) + grownBy(0, 500));
        EXPECT_EQ(grownBy(13, 31), grownBy(13, 0) + grownBy(0, 31));
    }
}

// 8 and 16 bits give the same picture but for rounding, which the busy settings (three times
// the light, a contrast lift) magnify.
TEST(GlowFamily, EightAndSixteenBitsAgree) {
    const ImagePtr source = makeNoiseImage(48, 40, 4, 1, 3);
    for (const Member& m : kMembers) {
        SCOPED_TRACE(m.key);
        EXPECT_LE(renderDepthDifference(m.key, {}, *source), 4u);
        EXPECT_LE(renderDepthDifference(m.key, {{m.blend, 1}, {"glowMode", 0}}, *source), 6u);
        EXPECT_LE(renderDepthDifference(m.key, busySettings(m), *source), 16u);
    }
}

// Faux Film is Black Mist's glow with the matte at Mist's position, its own places for the
// colour-correct and matte groups, and grain last. Without grain it renders what Mist renders
// with the same settings, in every view; at brightness 0 it is the Grain effect's grain on the
// picture, which it adds whether or not the picture glows.
TEST(GlowFamily, FauxFilmIsMistWithGrain) {
    const Member& mist = member("Mist");
    const std::vector<Setting> noGrain = {{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0}};
    for (uint32_t bytes : {1u, 2u}) {
        SCOPED_TRACE(bytes == 2 ? "16-bit" : "8-bit");
        const ImagePtr source = makeHighlightPicture(bytes);
        for (const std::vector<Setting>& settings : {std::vector<Setting>{}, busySettings(mist),
                                                     std::vector<Setting>{{"view", double(kViewMatte)}}}) {
            EffectHarness film("FauxFilm"), reference("Mist");
            film.apply(settings);
            film.apply(noGrain);
            reference.apply(settings);
            EXPECT_EQ(maxDifference(*film.render(*source), *reference.render(*source)), 0u);
            EXPECT_EQ(film.requiredSource({50, 50, 60, 60}, 1000, 1000),
                      reference.requiredSource({50, 50, 60, 60}, 1000, 1000));
        }
        EffectHarness film("FauxFilm"), grain("Grain");
        film.setNumber("glowBrightness", 0);
        const ImagePtr grained = film.render(*source);
        EXPECT_GT(maxDifference(*grained, *source), 0u);
        EXPECT_EQ(maxDifference(*grained, *grain.render(*source)), 0u);
    }
}

// Without glow the look is the colour-correct pass and the warm/cool shift with each slider
// divided by 100. Read as slider x 0.01 these sliders give other fractions in the last bit and
// a tone table one level apart somewhere on the scale, so the picture holds every level.
TEST(GlowFamily, CorrectionTakesEachSliderOverOneHundred) {
    struct Case {
        const char* key;
        double value;
        uint32_t bytes;
    };
    const Case cases[] = {{"brightness", -94, 1}, {"gamma", -70, 1}, {"red", -82, 1},
                          {"contrast", 35, 2},    {"blue", -83, 2},  {"green", -94, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.value));
        const int32_t levels = int32_t(fullScale(c.bytes)) + 1;
        const ImagePtr source = makeImage(levels, 1, 4, c.bytes, {0, 0, 0, fullScale(c.bytes)});
        for (int32_t x = 0; x < levels; ++x)
            for (uint32_t channel = 0; channel < 3; ++channel)
                setSample(*source, x, 0, channel, uint32_t(x + int32_t(channel) * 97) % uint32_t(levels));
        auto corrected = [&](double fraction) {
            double f[7] = {};  // saturation, gain, contrast, bend, red, green, blue
            const char* keys[] = {"saturation", "brightness", "contrast", "gamma", "red", "green", "blue"};
            for (int i = 0; i < 7; ++i)
                if (std::string(keys[i]) == c.key) f[i] = fraction;
            ImagePtr expected = makeImage(levels, 1, 4, c.bytes, {0});
            copyRect(*source, *expected, source->bounds);
            colorCorrect(*expected, expected->bounds, 0, f[0], f[1], f[2], f[3], f[4], f[5], f[6], false);
            return expected;
        };
        const ImagePtr expected = corrected(c.value / 100);
        ASSERT_GT(maxDifference(*expected, *corrected(c.value * 0.01)), 0u);
        EffectHarness harness("Mist");
        harness.apply({{"glowBrightness", 0}, {c.key, c.value}});
        EXPECT_EQ(maxDifference(*harness.render(*source), *expected), 0u);
    }
}

}  // namespace
