// Overexpose: its change hook and pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/support/constant_pixel.h"
#include "tests/support/effect_harness.h"

namespace {

INSTANTIATE_TEST_SUITE_P(
    Overexpose, ConstantPixel,
    ::testing::Values(
        ConstantPixelCase{"Overexpose", {}, 1, {20, 20, 20}, {20, 20, 20}},
        ConstantPixelCase{"Overexpose", {}, 2, {2570, 2570, 2570}, {2570, 2570, 2570}},
        // Amount 50, intensity 1000: i = 5; w = 1 - cos(pi/4): W = 74 (8-bit), 9597 (16-bit).
        // 20 + 5 x 20 = 120, then (120 x 181 + 74 x 255) / 255 = 159.
        ConstantPixelCase{"Overexpose", {{"amount", 50}}, 1, {20, 20, 20}, {159, 159, 159}},
        ConstantPixelCase{"Overexpose", {{"amount", 50}, {"blur", 0}}, 1, {20, 20, 20}, {159, 159, 159}},
        ConstantPixelCase{"Overexpose", {{"amount", 50}}, 1, {0, 0, 0}, {74, 74, 74}},
        ConstantPixelCase{"Overexpose", {{"amount", 50}}, 1, {100, 100, 100}, {255, 255, 255}},
        ConstantPixelCase{"Overexpose", {{"amount", 50}}, 2, {2570, 2570, 2570}, {20500, 20500, 20500}},
        ConstantPixelCase{"Overexpose", {{"amount", 50}}, 2, {0, 0, 0}, {9597, 9597, 9597}},
        ConstantPixelCase{"Overexpose", {{"amount", 50}}, 2, {12850, 12850, 12850}, {32768, 32768, 32768}},
        // Amount 25, intensity 400: i = 1; W = 19 / 2494. 40 + 40 = 80 -> 93.
        ConstantPixelCase{"Overexpose", {{"amount", 25}, {"intensity", 400}}, 1, {40, 40, 40}, {93, 93, 93}},
        ConstantPixelCase{
            "Overexpose", {{"amount", 25}, {"intensity", 400}}, 2, {5140, 5140, 5140}, {11991, 11991, 11991}},
        // Intensity 0 only washes: (20 x 181 + 74 x 255) / 255 = 88.
        ConstantPixelCase{"Overexpose", {{"amount", 50}, {"intensity", 0}}, 1, {20, 20, 20}, {88, 88, 88}},
        ConstantPixelCase{"Overexpose", {{"amount", 100}}, 1, {20, 20, 20}, {255, 255, 255}},
        ConstantPixelCase{"Overexpose", {{"amount", 100}}, 2, {0, 0, 0}, {32768, 32768, 32768}},
        ConstantPixelCase{"Overexpose", {{"amount", 400}}, 1, {3, 3, 3}, {255, 255, 255}}));

TEST(Overexpose, TheLightIsTheBlurredSourceAndAlphaIsTheSources) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = bytes == 2 ? 32768 : 255;
        ImagePtr source = makeNoiseImage(31, 23, 4, bytes, 12);
        for (int32_t y = 0; y < 23; ++y)
            for (int32_t x = 0; x < 31; ++x) {
                setSample(*source, x, y, 3, uint32_t(x * 37 + y * 11) % (full + 1));
                for (uint32_t c = 0; c < 3; ++c) setSample(*source, x, y, c, sampleAt(*source, x, y, c) / 8);
            }
        for (double blur : {0.0, 6.0}) {
            EffectHarness harness("Overexpose");
            harness.apply({{"amount", 30}, {"intensity", 200}, {"blur", blur}});
            ImagePtr output = harness.render(*source);
            const ImagePtr light = blurred(*source, source->bounds, float(blur), float(blur), 1);
            // a = 0.3: i = 0.6, w = sin(0.3 q - q) + 1.
            const double q = 1.57079632675;
            const int64_t white = int64_t((std::sin(0.3 * q - q) + 1) * full);
            for (int32_t y = 0; y < 23; ++y)
                for (int32_t x = 0; x < 31; ++x) {
                    for (uint32_t c = 0; c < 3; ++c) {
                        const int64_t lit = std::min<int64_t>(full, int64_t(double(sampleAt(*light, x, y, c)) * 0.6 +
                                                                            double(sampleAt(*source, x, y, c))));
                        ASSERT_EQ(int64_t(sampleAt(*output, x, y, c)), (lit * (full - white) + white * full) / full)
                            << "blur " << blur << " at " << x << "," << y;
                    }
                    ASSERT_EQ(sampleAt(*output, x, y, 3), sampleAt(*source, x, y, 3));
                }
        }
    }
}

}  // namespace
