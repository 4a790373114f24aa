#include "imaging/pixel_measure.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The grey rule touches greys on "Hue" only; a one-channel grey measures as its RGBA twin.
TEST(PixelMeasure, GreyRuleAndOneChannelGreys) {
    struct Case {
        uint16_t r, g, b;
        bool grey;
    };
    const Case cases[] = {{200, 100, 50, false}, {255, 0, 255, false}, {7, 7, 7, true}, {0, 0, 0, true},
                          {255, 255, 255, true}};
    for (const Case& c : cases) {
        const uint8_t rgba[4] = {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), 255};
        const int32_t zero = MeasureOf<uint8_t, 4, PixelMeasure::Hue, GreyHue::Zero>()(rgba);
        const int32_t unmeasured = MeasureOf<uint8_t, 4, PixelMeasure::Hue, GreyHue::Unmeasured>()(rgba);
        EXPECT_EQ(zero, c.grey ? 0 : unmeasured) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(unmeasured < 0, c.grey);
        if (!c.grey) continue;
        for (uint32_t index = 0; index < kPixelMeasureCount + 1; ++index) {
            const int32_t four = withPixelMeasure<uint8_t, 4, GreyHue::Zero>(index, [&](auto m) { return m(rgba); });
            const int32_t one = withPixelMeasure<uint8_t, 1, GreyHue::Zero>(index, [&](auto m) { return m(rgba); });
            EXPECT_EQ(four, one) << "measure " << index << " of grey " << c.r;
        }
    }
}

}  // namespace
