// Grain: its hooks, and the effect's render against the picture it was given.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/effect_harness.h"

namespace {

TEST(Grain, HooksIsActiveAndRequiredSource) {
    struct Case {
        std::vector<Setting> settings;
        bool active;
        double scale;
        int32_t margin;
    };
    const Case cases[] = {
        {{}, true, 1.0, 1},
        {{{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0}}, false, 1.0, 1},
        {{{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0.5}}, true, 1.0, 1},
        {{{"view", 1}}, false, 1.0, 1},
        {{{"grainGSize", 10}}, true, 0.5, 5},
        {{{"grainBSize", 7}}, true, 0.3, 3},   // ceil(2.1)
        {{{"grainRSize", 900}}, true, 1.0, 10},  // stored values are held to the range
    };
    const ImagePtr image = makeImage(2, 2, 4, 1, {9, 9, 9, 255});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EffectHarness harness("Grain");
        harness.apply(c.settings);
        EXPECT_EQ(harness.isActive(*image), c.active);
        fx::Plugin::RenderInfo info;
        info.scaleX = info.scaleY = c.scale;
        PixelRect rect{10, 20, 30, 40};
        harness.effect().effectClass->requiredSource(&harness.effect(), &info, &rect);
        EXPECT_EQ(rect, (PixelRect{10 - c.margin, 20 - c.margin, 30 + c.margin, 40 + c.margin}));
    }
}

// What a render gives against its source: grain everywhere but on alpha, nothing in the
// Original view or without amounts, and the same grain at 8 and 16 bits.
TEST(Grain, Render) {
    struct Case {
        const char* name;
        std::vector<Setting> settings;
        bool changes;
    };
    const Case cases[] = {
        {"defaults", {}, true},
        {"coarse red, fine blue", {{"grainRSize", 6}, {"grainBAmount", 80}, {"grainRAmount", 50}}, true},
        {"original view", {{"view", 1}, {"grainRAmount", 100}}, false},
        {"no amounts", {{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0}, {"grainRSize", 4}}, false},
    };
    const ImagePtr source8 = makeNoiseImage(48, 32, 4, 1, 11);
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << c.name << ", " << bytes * 8 << "-bit");
            const ImagePtr source = bytes == 1 ? source8 : widenTo16(*source8);
            for (int32_t y = 0; y < source->height; ++y)
                for (int32_t x = 0; x < source->width; ++x) setSample(*source, x, y, 3, uint32_t(x * y) % 200);
            EffectHarness harness("Grain");
            harness.apply(c.settings);
            const ImagePtr output = harness.render(*source);
            EXPECT_EQ(maxDifference(*output, *source) > 0, c.changes);
            for (int32_t y = 0; y < source->height; ++y)
                for (int32_t x = 0; x < source->width; ++x)
                    ASSERT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3));
        }
    // The same noise moves 8 and 16-bit samples alike; the response table is read at a
    // luminance index that may differ by one between the depths.
    EXPECT_LE(renderDepthDifference("Grain", {{"grainGSize", 3}, {"grainRAmount", 70}}, *source8), 2u);
}

}  // namespace
