// Ozone: the measures, the zone mix, the zone views and alpha.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"

namespace {

constexpr uint32_t kViewZone0 = 1;  // "Zone z" is list item z + 1

enum Use : uint32_t { kLuminance, kHue, kSaturation, kAverage, kRed, kGreen, kBlue, kCyan, kMagenta, kYellow };

// Three zones with every kind of adjustment between them.
const std::vector<Setting> kThreeZones = {{"bri2", 30}, {"gam2", -20}, {"grn2", 50}, {"con5", 40},
                                          {"red5", -60}, {"blu5", 80},  {"bri8", -25}, {"gam8", 30},
                                          {"red8", 20},  {"grn8", -40}, {"blu8", 10}};

TEST(Ozone, NeutralZonesRenderTheSource) {
    for (uint32_t bytes : {1u, 2u})
        for (uint32_t use = 0; use < 10; ++use) {
            ImagePtr source = makeNoiseImage(17, 5, 4, bytes, use + 1);
            EffectHarness harness("Ozone");
            harness.setList("use", use);
            harness.apply({{"pos4", 12}, {"rng6", 90}});
            EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u) << use;
        }
}

const std::vector<Setting> kRed200 = {{"red5", 200}};

INSTANTIATE_TEST_SUITE_P(
    Ozone, ConstantPixel,
    ::testing::Values(
        // Zone 5 red +200: at measure 50% the gain is 2 x one x 0.5 = one; at 0 nothing.
        ConstantPixelCase{"Ozone", plus(kRed200, {"use", kLuminance}), 2, {16384, 16384, 16384}, {32768, 16384, 16384}},
        ConstantPixelCase{"Ozone", plus(kRed200, {"use", kLuminance}), 1, {128, 128, 128}, {255, 128, 128}},
        ConstantPixelCase{"Ozone", plus(kRed200, {"use", kLuminance}), 1, {100, 100, 100}, {192, 100, 100}},
        ConstantPixelCase{"Ozone", plus(kRed200, {"use", kLuminance}), 1, {0, 0, 0}, {0, 0, 0}},
        ConstantPixelCase{"Ozone", plus(kRed200, {"use", kLuminance}), 2, {0, 0, 0}, {0, 0, 0}},
        // Three zones, each measure.
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kLuminance}), 1, {200, 90, 30}, {138, 87, 105}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kLuminance}), 1, {60, 120, 180}, {12, 117, 235}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kLuminance}), 1, {20, 20, 20}, {20, 23, 20}},
        ConstantPixelCase{
            "Ozone", plus(kThreeZones, {"use", kLuminance}), 2, {25000, 11000, 4000}, {17748, 10541, 12597}},
        ConstantPixelCase{
            "Ozone", plus(kThreeZones, {"use", kLuminance}), 2, {7000, 15000, 23000}, {1565, 14564, 29124}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kHue}), 1, {200, 90, 30}, {200, 91, 30}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kHue}), 2, {25000, 11000, 4000}, {24998, 11206, 3998}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kSaturation}), 1, {200, 90, 30}, {206, 0, 18}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kSaturation}), 2, {25000, 11000, 4000}, {25986, 0, 2510}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kAverage}), 1, {200, 90, 30}, {157, 87, 79}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kAverage}), 2, {25000, 11000, 4000}, {19964, 10629, 9614}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kRed}), 1, {200, 90, 30}, {213, 0, 24}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kGreen}), 2, {25000, 11000, 4000}, {23932, 12359, 4995}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kBlue}), 1, {200, 90, 30}, {200, 99, 30}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kCyan}), 1, {200, 90, 30}, {200, 116, 30}},
        ConstantPixelCase{
            "Ozone", plus(kThreeZones, {"use", kMagenta}), 2, {25000, 11000, 4000}, {17528, 10552, 12916}},
        ConstantPixelCase{"Ozone", plus(kThreeZones, {"use", kYellow}), 1, {200, 90, 30}, {141, 95, 120}},
        ConstantPixelCase{
            "Ozone", plus(kThreeZones, {"use", kYellow}), 2, {25000, 11000, 4000}, {16289, 11504, 16793}}));

// The zone's mask through each measure, read where the measure is exactly 50% (Zone 5's
// peak, one) or outside 20%..80% (0). Pixels are 16-bit.
TEST(Ozone, ZoneViewsMeasureEachAxis) {
    const uint32_t half = 16384, full = 32768;
    const struct {
        uint32_t use;
        std::vector<uint32_t> pixel;
        uint32_t mask;
    } cases[] = {
        {kLuminance, {half, half, half}, full},  {kLuminance, {0, 0, 0}, 0},
        {kHue, {0, full, full}, full},           // cyan: 180 degrees
        {kHue, {full, 0, 0}, 0},                 // red: 0 degrees
        {kHue, {half, half, half}, 0},           // grey: no hue
        {kSaturation, {full, half, half}, full}, {kSaturation, {half, half, half}, 0},
        {kAverage, {full, half, 0}, full},       {kAverage, {half, 0, 0}, 0},
        {kRed, {half, 0, full}, full},           {kRed, {full, half, half}, 0},
        {kGreen, {0, half, full}, full},         {kBlue, {full, 0, half}, full},
        {kCyan, {full, full, 0}, full},          {kCyan, {0, full, full}, 0},
        {kMagenta, {full, 0, 0}, full},          {kYellow, {0, full, 0}, full},
        {kYellow, {0, 0, full}, 0},
    };
    for (const auto& c : cases) {
        ImagePtr source = makeImage(2, 1, 4, 2, {c.pixel[0], c.pixel[1], c.pixel[2], 100});
        EffectHarness harness("Ozone");
        harness.setList("view", kViewZone0 + 5);
        harness.setList("use", c.use);
        ImagePtr output = harness.render(*source);
        EXPECT_EQ(pixelAt(*output, 1, 0), (std::vector<uint32_t>{c.mask, c.mask, c.mask, full})) << "use " << c.use;
    }
}

TEST(Ozone, HueMeasurePutsGreysInZoneZero) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t one = fullScale(bytes);
        ImagePtr greys = makeImage(4, 1, 4, bytes, {0, 0, 0, one});
        for (int32_t x = 0; x < 4; ++x)
            for (uint32_t c = 0; c < 3; ++c) setSample(*greys, x, 0, c, uint32_t(x) * one / 3);
        EffectHarness harness("Ozone");
        harness.setList("use", kHue);
        harness.setList("view", kViewZone0);
        ImagePtr mask = harness.render(*greys);
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(sampleAt(*mask, x, 0, 0), one) << x;
        // Measure 0 also means no gain: zone 0's colour leaves greys alone.
        harness.setList("view", 0);
        harness.apply({{"red0", 200}, {"bri0", 100}});
        EXPECT_EQ(maxDifference(*harness.render(*greys), *greys), 0u);
    }
}

TEST(Ozone, ZoneTenMaskIsFullForTheBrightestAndZeroBelowSeventyPercent) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t one = fullScale(bytes);
        const int32_t width = 101;
        ImagePtr ramp = makeImage(width, 1, 4, bytes, {0, 0, 0, 3});
        for (int32_t x = 0; x < width; ++x)
            for (uint32_t c = 0; c < 3; ++c) setSample(*ramp, x, 0, c, uint32_t(x) * one / 100);
        EffectHarness harness("Ozone");
        harness.setList("view", kViewZone0 + 10);
        ImagePtr mask = harness.render(*ramp);
        EXPECT_EQ(sampleAt(*mask, 100, 0, 0), one);
        for (int32_t x = 0; x <= 70; ++x) ASSERT_EQ(sampleAt(*mask, x, 0, 0), 0u) << x;
        for (int32_t x = 71; x <= 100; ++x) {
            ASSERT_GE(sampleAt(*mask, x, 0, 0), sampleAt(*mask, x - 1, 0, 0)) << x;
            ASSERT_EQ(sampleAt(*mask, x, 0, 3), one);
        }
    }
}

TEST(Ozone, OutputKeepsAlphaAndZoneViewsAreOpaque) {
    for (uint32_t bytes : {1u, 2u})
        for (uint32_t view : {0u, 1u, 6u, 11u}) {
            ImagePtr source = makeNoiseImage(19, 7, 4, bytes, 12);
            for (int32_t y = 0; y < 7; ++y)
                for (int32_t x = 0; x < 19; ++x) setSample(*source, x, y, 3, uint32_t(x * 11 + y));
            EffectHarness harness("Ozone");
            harness.apply(kThreeZones);
            harness.setList("view", view);
            ImagePtr output = harness.render(*source);
            for (int32_t y = 0; y < 7; ++y)
                for (int32_t x = 0; x < 19; ++x)
                    ASSERT_EQ(sampleAt(*output, x, y, 3), view == 0 ? sampleAt(*source, x, y, 3) : fullScale(bytes));
        }
}

// One instance, settings changed between renders and depth switched: each render equals
// what a fresh instance gives, and the two depths agree on the 8-bit scale.
TEST(Ozone, TablesFollowSettingsAndDepth) {
    ImagePtr source8 = makeNoiseImage(48, 12, 4, 1, 21);
    ImagePtr source16 = widenTo16(*source8);
    const std::vector<std::vector<Setting>> settings = {kThreeZones, {{"red5", 200}}, {{"blu1", -150}, {"pos1", 25}}};
    EffectHarness switching("Ozone");
    for (const auto& s : settings)
        for (uint32_t use : {kLuminance, kAverage, kCyan}) {
            EffectHarness fresh8("Ozone"), fresh16("Ozone");
            for (EffectHarness* h : {&fresh8, &fresh16, &switching}) {
                h->effect().resetToDefaults();
                h->apply(s);
                h->setList("use", use);
            }
            ImagePtr expected8 = fresh8.render(*source8);
            ImagePtr expected16 = fresh16.render(*source16);
            EXPECT_EQ(maxDifference(*switching.render(*source16), *expected16), 0u);
            EXPECT_EQ(maxDifference(*switching.render(*source8), *expected8), 0u);
            // Offsets reach 2 x one and the mix rises from 0 to its peak over 15% of the axis:
            // there one 8-bit measure level moves it by up to about 9 levels.
            EXPECT_LE(depthDifference(*expected8, *expected16, 3), 10u) << s[0].key << " use " << use;
        }
}

}  // namespace
