// Color Correct and its engine: the prepare step, pixels in the four views,
// the 8/16-bit switch and the behaviour when table memory runs out.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "effects/color_correct_engine.h"
#include "imaging/tone_curve.h"
#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"
#include "tests/support/rationed_memory.h"

namespace {

// ---- Pixels through the effect -------------------------------------------------------------

const std::vector<Setting> kMixed = {{"ccMidBri", 40}, {"ccMidGam", -30}, {"ccHighB", -50}, {"ccShadG", 25},
                                     {"ccBrightness", 10}, {"ccContrast", -20}, {"ccGamma", 15},
                                     {"ccMasterR", 5}, {"ccMasterB", -10}};

const std::vector<Setting> kFullFlash = {{"ccTintAmount", 100}, {"ccShadR", -60}, {"ccBrightness", -40}};

const std::vector<Setting> kHueAndMidRed = {{"ccMasterHue", 40}, {"ccMasterSat", -30}, {"ccMidR", 30}};

INSTANTIATE_TEST_SUITE_P(
    ColorCorrect, ConstantPixel,
    ::testing::Values(
        // Shadow red +100: the mix is scaled by the level, so black stays black and white
        // (outside the shadow range) stays white.
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 1, {0, 0, 0}, {0, 0, 0}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 1, {3, 3, 3}, {5, 3, 3}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 1, {64, 64, 64}, {99, 64, 64}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 1, {128, 128, 128}, {134, 128, 128}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 1, {255, 255, 255}, {255, 255, 255}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 2, {0, 0, 0}, {0, 0, 0}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 2, {8224, 8224, 8224}, {12858, 8224, 8224}},
        ConstantPixelCase{"ColorCorrect", {{"ccShadR", 100}}, 2, {16384, 16384, 16384}, {17305, 16384, 16384}},
        // Zones, master tone and master channels together.
        ConstantPixelCase{"ColorCorrect", kMixed, 1, {200, 90, 30}, {220, 122, 55}},
        ConstantPixelCase{"ColorCorrect", kMixed, 1, {60, 120, 180}, {91, 150, 177}},
        ConstantPixelCase{"ColorCorrect", kMixed, 1, {10, 10, 10}, {37, 40, 36}},
        ConstantPixelCase{"ColorCorrect", kMixed, 2, {25000, 11000, 4000}, {27774, 15188, 7119}},
        ConstantPixelCase{"ColorCorrect", kMixed, 2, {7000, 15000, 23000}, {11096, 18941, 22747}},
        // Hue and saturation first, then the zones at the luma of the shifted pixel.
        ConstantPixelCase{"ColorCorrect", kHueAndMidRed, 1, {200, 90, 30}, {203, 200, 81}},
        ConstantPixelCase{"ColorCorrect", kHueAndMidRed, 1, {10, 200, 120}, {105, 167, 200}},
        ConstantPixelCase{"ColorCorrect", kHueAndMidRed, 2, {25000, 11000, 4000}, {26101, 25000, 10300}},
        // Master channel offsets add a fraction of the level: 100 + trunc(100 x 0.5).
        ConstantPixelCase{"ColorCorrect", {{"ccMasterR", 50}}, 1, {100, 100, 100}, {150, 100, 100}},
        ConstantPixelCase{"ColorCorrect", {{"ccMasterB", -100}}, 2, {9000, 9000, 9000}, {9000, 9000, 0}},
        // Flash towards white: (level x (255 - t) + t x 255) / 255 with t = trunc(0.5 x 255) = 127;
        // at 100 every channel is full whatever came before.
        ConstantPixelCase{"ColorCorrect", {{"ccTintAmount", 50}}, 1, {0, 100, 200}, {127, 177, 227}},
        ConstantPixelCase{"ColorCorrect", {{"ccTintAmount", 50}}, 1, {1, 2, 3}, {127, 128, 128}},  // 127.5, 128.0, 128.5
        ConstantPixelCase{"ColorCorrect", kFullFlash, 1, {10, 200, 30}, {255, 255, 255}},
        ConstantPixelCase{"ColorCorrect", kFullFlash, 2, {1000, 20000, 300}, {32768, 32768, 32768}},
        // Saturation -100 gives the grey of the value, the largest channel.
        ConstantPixelCase{"ColorCorrect", {{"ccMasterSat", -100}}, 1, {200, 90, 30}, {200, 200, 200}},
        ConstantPixelCase{"ColorCorrect", {{"ccMasterSat", -100}}, 2, {11000, 25000, 4000}, {25000, 25000, 25000}}));

TEST(ColorCorrect, FullHueTurnsKeepColoursAndGreysNeverMove) {
    for (uint32_t bytes : {1u, 2u})
        for (double hue : {360.0, -360.0}) {
            ImagePtr source = makeNoiseImage(40, 10, 4, bytes, 17);
            for (int32_t x = 0; x < 40; ++x) {
                const uint32_t level = uint32_t(x) * fullScale(bytes) / 39;
                for (uint32_t c = 0; c < 3; ++c) setSample(*source, x, 0, c, level);  // a row of greys
            }
            EffectHarness harness("ColorCorrect");
            harness.apply({{"ccMasterHue", hue}});
            ImagePtr output = harness.render(*source);
            EXPECT_LE(maxDifference(*output, *source), 1u) << hue;
            for (int32_t x = 0; x < 40; ++x)
                for (uint32_t c = 0; c < 4; ++c) ASSERT_EQ(sampleAt(*output, x, 0, c), sampleAt(*source, x, 0, c));
        }
}

// A grey ramp through the three mask views: the weights follow each zone's position.
TEST(ColorCorrect, ZoneViewsShowTheZoneMasks) {
    // 16-bit greys: luma equals the level, so the midtone mask can be read level by level.
    // The window's points come from the 32-bit float position and range in single precision
    // (0.5f - 0.4f / 2 and so on); in double, 8047, 11198 and 15599 would give one more.
    EffectHarness harness("ColorCorrect");
    harness.setList("view", 2);
    harness.apply({{"ccMidBri", 70}, {"ccMasterHue", 30}});  // not applied in a mask view
    for (const auto& [level, mask] : {std::pair{16384u, 32768u}, {0u, 0u}, {3276u, 0u}, {29492u, 0u}, {32768u, 0u},
                                      {8047u, 1565u}, {11198u, 12804u}, {15599u, 32048u}}) {
        ImagePtr source = makeImage(2, 1, 4, 2, {level, level, level, 777});
        ImagePtr output = harness.render(*source);
        EXPECT_EQ(sampleAt(*output, 1, 0, 0), mask) << level;
        EXPECT_EQ(sampleAt(*output, 1, 0, 2), mask) << level;
        EXPECT_EQ(sampleAt(*output, 1, 0, 3), 777u);
    }
    ImagePtr ramp = makeImage(256, 1, 4, 1, {0, 0, 0, 255});
    for (int32_t x = 0; x < 256; ++x)
        for (uint32_t c = 0; c < 3; ++c) setSample(*ramp, x, 0, c, uint32_t(x));
    // Midtones: 0 up to 10%, rising to the peak at 50%, falling to 0 again at 90%.
    ImagePtr midtones = harness.render(*ramp);
    for (int32_t x = 0; x < 256; ++x) {
        const uint32_t w = sampleAt(*midtones, x, 0, 0);
        if (x <= 25 || x >= 230) {
            ASSERT_EQ(w, 0u) << x;
        } else if (x <= 127) {
            ASSERT_GE(w, sampleAt(*midtones, x - 1, 0, 0)) << x;
        } else {
            ASSERT_GE(w, sampleAt(*midtones, x + 1, 0, 0)) << x;
        }
    }
    EXPECT_GE(sampleAt(*midtones, 127, 0, 0), 250u);
    // Shadows: full at black, 0 from 80% up; highlights the mirror image.
    const struct {
        uint32_t view;
        int32_t x;
        uint32_t weight;
    } points[] = {{1, 0, 255}, {1, 205, 0}, {1, 255, 0}, {3, 0, 0}, {3, 50, 0}, {3, 255, 255}};
    for (const auto& point : points) {
        harness.setList("view", point.view);
        EXPECT_EQ(sampleAt(*harness.render(*ramp), point.x, 0, 0), point.weight) << point.view << " at " << point.x;
    }
    // Highlights moved to the midtones' position and range show the midtone mask.
    harness.apply({{"ccHighPos", 50}, {"ccHighRange", 40}});
    EXPECT_EQ(maxDifference(*harness.render(*ramp), *midtones), 0u);
}

// The same settings on the same picture at both depths give the same picture on the 8-bit
// scale, within a few levels; and one instance switching depth back and forth gives
// what fresh instances give.
TEST(ColorCorrect, DepthsAgreeAndSwitchingDepthRebuildsTheTables) {
    const std::vector<std::vector<Setting>> settings = {
        kMixed,
        {{"ccShadR", 100}, {"ccHighG", -100}},
        {{"ccMasterHue", 120}, {"ccMidCon", 50}},
        {{"ccTintAmount", 40}}};
    ImagePtr source8 = makeNoiseImage(64, 16, 4, 1, 31);
    ImagePtr source16 = widenTo16(*source8);
    for (const auto& s : settings) {
        EffectHarness fresh8("ColorCorrect"), fresh16("ColorCorrect"), switching("ColorCorrect");
        fresh8.apply(s);
        fresh16.apply(s);
        switching.apply(s);
        ImagePtr expected8 = fresh8.render(*source8);
        ImagePtr expected16 = fresh16.render(*source16);
        EXPECT_EQ(maxDifference(*switching.render(*source8), *expected8), 0u);
        EXPECT_EQ(maxDifference(*switching.render(*source16), *expected16), 0u);
        EXPECT_EQ(maxDifference(*switching.render(*source8), *expected8), 0u);
        // The zone mix is looked up at the luma, which 8 bits quantise 128 times coarser; where
        // the mix is steep (a full channel offset) one luma level moves it by up to 2 levels.
        EXPECT_LE(depthDifference(*expected8, *expected16, 3), 4u) << s[0].key;
    }
}

// ---- The engine on its own -----------------------------------------------------------------

ColorCorrectSettings zoneSettings() {
    ColorCorrectSettings s;
    s.zones[kMidtoneZone].brightness = 0.3f;
    s.zones[kShadowZone].red = 0.5f;
    s.masterGamma = -0.2f;
    return s;
}

TEST(ColorCorrectEngine, UpdateReportsChangesAndDepthSwitches) {
    ColorCorrectEngine engine;
    ColorCorrectSettings s;
    EXPECT_TRUE(engine.update(s, false));  // first build
    EXPECT_FALSE(engine.active());
    EXPECT_FALSE(engine.update(s, false));
    EXPECT_TRUE(engine.update(s, true));  // depth switch
    EXPECT_TRUE(engine.readyFor(true));
    EXPECT_FALSE(engine.readyFor(false));
    EXPECT_FALSE(engine.update(s, true));
    s.zones[kHighlightZone].position = 0.7f;  // position alone: a change, still inactive
    EXPECT_TRUE(engine.update(s, true));
    EXPECT_FALSE(engine.active());
    EXPECT_TRUE(engine.channelOnly());
    s.hue = 5.0f;
    EXPECT_TRUE(engine.update(s, true));
    EXPECT_TRUE(engine.active());
    EXPECT_FALSE(engine.channelOnly());
}

TEST(ColorCorrectEngine, ARowNeedsTablesOfItsDepth) {
    ColorCorrectEngine engine;
    uint8_t pixels8[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t out8[8] = {};
    EXPECT_THROW(engine.renderRow8(pixels8, out8, 2), std::logic_error);
    engine.update(zoneSettings(), true);
    EXPECT_THROW(engine.renderRow8(pixels8, out8, 2), std::logic_error);
    engine.update(zoneSettings(), false);
    EXPECT_NO_THROW(engine.renderRow8(pixels8, out8, 2));
}

TEST(ColorCorrectEngine, RunningOutOfMemoryRaisesAndTheNextUpdateRebuilds) {
    const uint16_t pixels[] = {100, 2000, 30000, 32768, 16384, 16384, 16384, 5, 9000, 500, 12000, 0};
    ColorCorrectEngine reference;
    reference.update(zoneSettings(), true);
    uint16_t expected[12];
    reference.renderRow16(pixels, expected, 3);

    for (uint32_t allowed = 0; allowed < 12; ++allowed) {
        RationedMemory memory;
        ColorCorrectEngine engine(memory);
        memory.allowed = allowed;
        EXPECT_THROW(engine.update(zoneSettings(), true), fx::OutOfMemory) << allowed;
        EXPECT_FALSE(engine.readyFor(true));
        memory.allowed = 1000;
        EXPECT_TRUE(engine.update(zoneSettings(), true)) << allowed;  // nothing changed, but rebuilt
        uint16_t out[12] = {};
        engine.renderRow16(pixels, out, 3);
        EXPECT_EQ(std::memcmp(out, expected, sizeof(out)), 0) << allowed;
    }
}

TEST(ColorCorrectEngine, AZoneWeightTableThatCannotBeHadFallsBackToTheDefault) {
    RationedMemory memory;
    ColorCorrectEngine engine(memory);
    ColorCorrectSettings s;  // no zone adjustments: the update needs no weight tables
    s.zones[kMidtoneZone].position = 0.3f;
    ASSERT_TRUE(engine.update(s, true));
    memory.allowed = 0;
    const uint16_t* fallback = engine.zoneWeightTable16(kMidtoneZone);
    EXPECT_EQ(fallback, defaultZoneWeightTable<uint16_t>(kMidtoneZone));
    ToneCurve midtones = ToneCurve::midtones();
    for (int32_t i : {0, 3641, 12741, 16384, 20000, 29127, 32768})
        EXPECT_EQ(fallback[i], uint16_t(midtones.evaluate(i * (1.0 / 32768)) * 32768)) << i;
    // Once memory is back, the zone gets its own table, peaking at its own position.
    memory.allowed = 1000;
    const uint16_t* own = engine.zoneWeightTable16(kMidtoneZone);
    EXPECT_NE(own, fallback);
    EXPECT_GT(own[9830], 32000);  // near its position 0.3
    EXPECT_LT(fallback[9830], 20000);
}

TEST(ColorCorrectEngine, WeightTablesAreRemadeOnlyWhenPositionOrRangeChange) {
    RationedMemory memory;
    ColorCorrectEngine engine(memory);
    ColorCorrectSettings s = zoneSettings();
    ASSERT_TRUE(engine.update(s, false));
    const uint32_t afterFirst = memory.allocations;
    const uint8_t before = engine.zoneWeightTable8(kShadowZone)[60];
    s.zones[kShadowZone].blue = 0.25f;  // not a position or range: the weights stay
    ASSERT_TRUE(engine.update(s, false));
    EXPECT_EQ(engine.zoneWeightTable8(kShadowZone)[60], before);
    EXPECT_GT(before, 0);
    // Only the three temporary tone tables were allocated for the new mix.
    EXPECT_EQ(memory.allocations - afterFirst, 3u);
    s.zones[kShadowZone].range = 0.2f;
    ASSERT_TRUE(engine.update(s, false));
    EXPECT_EQ(engine.zoneWeightTable8(kShadowZone)[60], 0);  // 60/255 lies beyond 0.2
}

}  // namespace
