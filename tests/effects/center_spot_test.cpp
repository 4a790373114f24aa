// Center Spot: the spot mask's geometry, its reuse, and its place in a preview (in a tile of
// the document, with the strip tests).
#include <gtest/gtest.h>

#include "tests/support/effect_harness.h"

namespace {

constexpr uint32_t kViewSpot = 1;

// On a 200 x 100 picture half the smaller side is 50 pixels; the default spot is centred at
// (100, 50) and reaches full at 50 pixels from it.
TEST(CenterSpot, SpotMaskRisesLinearlyFromTheCentre) {
    struct Case {
        uint32_t bytes;
        double size;
        double x, y;  // the spot's position
        int32_t px, py;
        uint32_t value;
    };
    const Case cases[] = {
        {1, 100, 0, 0, 100, 50, 0},        {1, 100, 0, 0, 125, 50, 127},   // 25 x 255 / 50 = 127.5
        {1, 100, 0, 0, 150, 50, 255},      {1, 100, 0, 0, 100, 0, 255},    {1, 100, 0, 0, 0, 0, 255},
        {1, 50, 0, 0, 110, 50, 102},       {1, 100, 0.25, -0.25, 150, 25, 0},
        {2, 100, 0, 0, 100, 50, 0},        {2, 100, 0, 0, 125, 50, 16384}, {2, 100, 0, 0, 0, 99, 32768},
        {2, 50, 0, 0, 110, 50, 13107},     {2, 100, 0.25, -0.25, 150, 30, 3276},  // 5 x 32768 / 50
    };
    for (const Case& test : cases) {
        const ImagePtr source = makeNoiseImage(200, 100, 4, test.bytes, 2);
        EffectHarness harness("CenterSpot");
        harness.setList("view", kViewSpot);
        harness.setNumber("size", test.size);
        harness.setPoint("pos", test.x, test.y);
        const ImagePtr output = harness.render(*source);
        EXPECT_EQ(sampleAt(*output, test.px, test.py, 0), test.value)
            << test.bytes << " size " << test.size << " at " << test.px << "," << test.py;
    }
}

// One effect rendering one setting after another gives what a fresh effect gives for the last
// setting: the kept mask follows the spot and never stands in for another.
TEST(CenterSpot, KeptMaskFollowsTheSettings) {
    struct Step {
        double x, y, size, blur;
    };
    const Step steps[] = {{0, 0, 100, 10}, {0, 0, 100, 25}, {0.2, 0.1, 100, 25}, {0.2, 0.1, 40, 25}, {0.2, 0.1, 40, 3}};
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = makeNoiseImage(90, 60, 4, bytes, 9);
        EffectHarness kept("CenterSpot");
        for (const Step& step : steps) {
            EffectHarness fresh("CenterSpot");
            for (EffectHarness* harness : {&kept, &fresh}) {
                harness->setPoint("pos", step.x, step.y);
                harness->setNumber("size", step.size);
                harness->setNumber("blurX", step.blur);
            }
            EXPECT_EQ(maxDifference(*kept.render(*source), *fresh.render(*source)), 0u)
                << bytes << " " << step.x << "," << step.y << " size " << step.size << " blur " << step.blur;
        }
    }
}

// A preview sees the picture zoomed while the image size stays the document's: the spot sits on
// the same part of the picture as in the full render.
TEST(CenterSpot, PreviewPlacesTheSpotOnTheZoomedPicture) {
    const ImagePtr zoomed = makeNoiseImage(100, 50, 4, 1, 1);
    EffectHarness harness("CenterSpot");
    harness.setList("view", kViewSpot);
    ImagePtr output = zoomed->clone();
    harness.renderInto(*zoomed, *output, zoomed->bounds, 200, 100, 0.5);
    EXPECT_EQ(sampleAt(*output, 50, 25, 0), 0u);
    EXPECT_EQ(sampleAt(*output, 62, 25, 0), 122u);  // 12 x 255 / 25, as 24 pixels from the centre at full size
    EXPECT_EQ(sampleAt(*output, 75, 25, 0), 255u);
}

}  // namespace
