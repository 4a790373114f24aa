// Selective Soft Focus and Skin Smoother, and what they share with Center Spot: the masks they
// show, depth agreement and the render rectangle they keep to.
#include <gtest/gtest.h>

#include "tests/support/effect_harness.h"

namespace {

// A picture whose left half has one grey and right half another, alpha opaque.
ImagePtr makeStep(int32_t width, int32_t height, uint32_t bytes, uint32_t left, uint32_t right) {
    ImagePtr image = makeImage(width, height, 4, bytes, {left, left, left, fullScale(bytes)});
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = width / 2; x < width; ++x)
            for (uint32_t c = 0; c < 3; ++c) setSample(*image, x, y, c, right);
    return image;
}

// Every pixel of the rendered view is grey and opaque.
void expectGreyAndOpaque(const Image& image) {
    const uint32_t full = fullScale(image.bytesPerChannel);
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) {
            ASSERT_EQ(sampleAt(image, x, y, 0), sampleAt(image, x, y, 1));
            ASSERT_EQ(sampleAt(image, x, y, 0), sampleAt(image, x, y, 2));
            ASSERT_EQ(sampleAt(image, x, y, 3), full);
        }
}

// However wide the blur: an empty matte leaves the source (Selective Focus; the picture is dark,
// the window over the whitest tones), and a plain picture has no edges and its blur is itself
// (Skin Smoother).
TEST(SelectiveBlur, NothingToBlurLeavesThePicture) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = fullScale(bytes);
        ImagePtr dark = makeNoiseImage(40, 30, 4, bytes, 3);
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x)
                for (uint32_t c = 0; c < 3; ++c) setSample(*dark, x, y, c, sampleAt(*dark, x, y, c) / 3);
        EffectHarness focus("SelectiveFocus"), smoother("SkinSmoother");
        focus.apply({{"mattePosition", 100}, {"matteRange", 0}, {"blurX", 80}});
        smoother.apply({{"blurX", 9}, {"matteBlur", 4}});
        EXPECT_EQ(maxDifference(*focus.render(*dark), *dark), 0u) << bytes;
        const ImagePtr plain = makeImage(33, 21, 4, bytes, {full / 2, full / 3, full / 5, full / 2});
        EXPECT_EQ(maxDifference(*smoother.render(*plain), *plain), 0u) << bytes;
    }
}

TEST(SelectiveBlur, ViewsOfMasksAreGreyAndOpaque) {
    struct Case {
        const char* key;
        uint32_t view;
    };
    for (const Case& test : {Case{"SelectiveFocus", 1}, Case{"SkinSmoother", 1}, Case{"SkinSmoother", 2},
                             Case{"CenterSpot", 1}}) {
        const ImagePtr source = makeTransparentNoiseImage(30, 20, 2);
        EffectHarness harness(test.key);
        harness.setList("view", test.view);
        expectGreyAndOpaque(*harness.render(*source));
    }
}

// Black against white: the two columns at the step see a Sobel difference of 4 x full, scaled by
// 1 / 5.66 and then brightened (saturating at full).
TEST(SkinSmoother, EdgeOfAStep) {
    struct Case {
        uint32_t bytes;
        double brightness;
        uint32_t edge;
    };
    const Case cases[] = {{1, 1.0, 180},   {1, 1.2, 216},   {1, 5.0, 255},
                          {2, 1.0, 23157}, {2, 1.2, 27788}, {2, 5.0, 32768}};
    for (const Case& test : cases) {
        const ImagePtr source = makeStep(8, 6, test.bytes, 0, fullScale(test.bytes));
        EffectHarness harness("SkinSmoother");
        harness.setList("view", 2);
        harness.setNumber("EdgeBlur", 0);
        harness.setNumber("EdgeBrightness", test.brightness);
        const ImagePtr output = harness.render(*source);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 8; ++x)
                ASSERT_EQ(sampleAt(*output, x, y, 0), (x == 3 || x == 4) ? test.edge : 0u)
                    << test.bytes << " " << test.brightness << " at " << x << "," << y;
    }
}

// At full opacity a saturated edge brings the sharp picture back exactly; at opacity 0 the
// edges play no part and the step is blurred.
TEST(SkinSmoother, EdgeOpacityRestoresTheSharpPicture) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = fullScale(bytes);
        const ImagePtr source = makeStep(16, 5, bytes, full * 90 / 255, full * 170 / 255);
        auto render = [&](double opacity, double brightness) {
            EffectHarness harness("SkinSmoother");
            harness.setNumber("EdgeBlur", 0);
            harness.setNumber("EdgeBrightness", brightness);
            harness.setNumber("EdgeOpacity", opacity);
            return harness.render(*source);
        };
        const ImagePtr restored = render(100, 10);
        const ImagePtr softened = render(0, 10);
        EXPECT_EQ(maxDifference(*softened, *render(0, 1)), 0u);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x : {7, 8})
                for (uint32_t c = 0; c < 3; ++c) {
                    EXPECT_EQ(sampleAt(*restored, x, y, c), sampleAt(*source, x, y, c)) << x << "," << y;
                    EXPECT_NE(sampleAt(*softened, x, y, c), sampleAt(*source, x, y, c)) << x << "," << y;
                }
    }
}

// The same picture in 8 and 16 bits gives the same look: the 16-bit result brought to 8 bits
// stays within a few levels of the 8-bit result (each 8-bit step truncates: the premultiply,
// the blur and the lay-over can each lose a level).
TEST(SelectiveBlur, EightAndSixteenBitsAgree) {
    // Soft gradients with a fine ripple, as in a photograph.
    ImagePtr source8 = ImagePtr::make({48, 40}, 4, 1);
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 48; ++x) {
            const uint32_t ripple = uint32_t((x * 7 + y * 3) % 9);
            setSample(*source8, x, y, 0, uint32_t(x * 5) + ripple);
            setSample(*source8, x, y, 1, uint32_t(y * 6) + ripple);
            setSample(*source8, x, y, 2, uint32_t(x * 2 + y * 3) + ripple);
            setSample(*source8, x, y, 3, 255u);
        }
    for (const char* key : {"SelectiveFocus", "SkinSmoother", "CenterSpot"})
        EXPECT_LE(renderDepthDifference(key, {}, *source8), 4u) << key;
}

// A render rectangle inside the images: nothing outside it is written, and inside it the
// result is that of the cropped picture (its edges act as the picture's edges).
TEST(SelectiveBlur, RenderRectInsideTheImage) {
    const PixelRect rect = {3, 5, 21, 31};
    for (const char* key : {"SelectiveFocus", "SkinSmoother"})
        for (uint32_t view : {0u, 1u})
            for (uint32_t bytes : {1u, 2u}) {
                const ImagePtr source = makeTransparentNoiseImage(40, 25, bytes);
                const ImagePtr cropped = viewOf(*source, rect).clone();
                EffectHarness whole(key), part(key);
                whole.setList("view", view);
                part.setList("view", view);
                const ImagePtr expected = part.render(*cropped);

                ImagePtr output = makeImage(40, 25, 4, bytes, {1, 2, 3, 4});
                whole.renderInto(*source, *output, rect, 40, 25);
                for (int32_t y = 0; y < 25; ++y)
                    for (int32_t x = 0; x < 40; ++x)
                        for (uint32_t c = 0; c < 4; ++c) {
                            const bool inside = y >= rect.top && y < rect.bottom && x >= rect.left && x < rect.right;
                            const uint32_t want = inside ? sampleAt(*expected, x - rect.left, y - rect.top, c) : c + 1;
                            ASSERT_EQ(sampleAt(*output, x, y, c), want) << key << " view " << view << " " << bytes
                                                                        << " at " << x << "," << y << "," << c;
                        }
            }
}

}  // namespace
