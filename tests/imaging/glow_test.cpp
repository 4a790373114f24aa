#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <vector>

#include "imaging/blur.h"
#include "imaging/glow.h"
#include "imaging/image.h"
#include "tests/support/effect_harness.h"

namespace {

// Random colours and alpha, and a random matte with about a third of it dark.
struct Scene {
    ImagePtr image;
    ImagePtr matte;
};

Scene randomScene(int32_t width, int32_t height, uint32_t bytes, uint32_t seed) {
    Scene scene{makeRandomImage(width, height, 4, bytes, seed), makeRandomImage(width, height, 1, bytes, seed + 1)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if ((x + 2 * y) % 3 == 0) setSample(*scene.matte, x, y, 0, 0);
    return scene;
}

// ---------------------------------------------------------------------------------------

// Worked values of the matte-source rules: K = trunc(amount x full) gives n = K div (full + 1)
// whole steps and a partial one of weight r = K mod (full + 1).
TEST(Glow, MatteSourceWorkedValues) {
    struct Case {
        const char* what;
        uint32_t bytes;
        uint32_t value;  // red, green and blue
        uint32_t matte;
        GlowColor color;
        double amount;
        int32_t mode;
        std::vector<uint32_t> expected;  // red, green, blue
    };
    const Case cases[] = {
        // 8-bit amount 1.0: K = 255, n = 0, r = 255, one partial step equal to a full one.
        {"white 1.0 screen", 1, 100, 255, {1, 1, 1}, 1.0, kGlowScreen, {161, 161, 161}},
        {"white 2.0 screen", 1, 60, 200, {1, 1, 1}, 2.0, kGlowScreen, {125, 125, 125}},
        {"white 2.0 add", 1, 60, 200, {1, 1, 1}, 2.0, kGlowAdd, {153, 153, 153}},
        {"white 0.5 screen", 1, 60, 200, {1, 1, 1}, 0.5, kGlowScreen, {78, 78, 78}},
        {"white 0.5 add", 1, 60, 200, {1, 1, 1}, 0.5, kGlowAdd, {83, 83, 83}},
        {"grey light screen", 1, 200, 128, {0.5, 0.5, 0.5}, 1.0, kGlowScreen, {211, 211, 211}},
        {"grey light add", 1, 200, 128, {0.5, 0.5, 0.5}, 1.0, kGlowAdd, {249, 249, 249}},
        {"grey light 2.0 add clamps", 1, 200, 128, {0.5, 0.5, 0.5}, 2.0, kGlowAdd, {255, 255, 255}},
        // The partial step of a colour takes the value it is applied to (after the whole step).
        {"grey light 2.0 screen", 1, 10, 130, {0.5, 0.5, 0.5}, 2.0, kGlowScreen, {15, 15, 15}},
        // White takes its own rule; a colour a hair from white takes the colour rule.
        {"white 1.0 dark", 1, 5, 255, {1, 1, 1}, 1.0, kGlowScreen, {10, 10, 10}},
        {"near white 1.0 dark", 1, 5, 255, {1, 1, 0.999}, 1.0, kGlowScreen, {10, 10, 9}},
        // 16-bit amount 2.5: K = 81920, n = 2, r = 16382.
        {"16-bit 2.5 screen", 2, 8192, 32768, {1, 1, 1}, 2.5, kGlowScreen, {20672, 20672, 20672}},
        {"16-bit 2.5 add", 2, 8192, 32768, {1, 1, 1}, 2.5, kGlowAdd, {28671, 28671, 28671}},
        {"16-bit 2.5 add clamps", 2, 20000, 32768, {1, 1, 1}, 2.5, kGlowAdd, {32768, 32768, 32768}},
        {"black light", 1, 90, 255, {0, 0, 0}, 3.0, kGlowAdd, {90, 90, 90}},
        {"other mode", 1, 90, 255, {1, 1, 1}, 3.0, 2, {90, 90, 90}},
    };
    for (const Case& c : cases) {
        ImagePtr image = makeImage(3, 2, 4, c.bytes, {c.value, c.value, c.value, 77});
        ImagePtr matte = makeImage(3, 2, 1, c.bytes, {c.matte});
        compositeGlow(*image, *matte, image->bounds, c.color, c.amount, c.mode);
        std::vector<uint32_t> expected = c.expected;
        expected.push_back(77);
        EXPECT_EQ(pixelAt(*image, 1, 1), expected) << c.what;
        // applyGlow without blur is the same step.
        ImagePtr again = makeImage(3, 2, 4, c.bytes, {c.value, c.value, c.value, 77});
        applyGlow(*again, *matte, again->bounds, 0.0, 0.0, c.amount, kGlowFromMatte, c.mode, c.color, 1);
        EXPECT_EQ(maxDifference(*again, *image), 0u) << c.what;
    }
}

// Worked values of the image-source rules (no blur: the light is the premultiplied picture).
TEST(Glow, ImageSourceWorkedValues) {
    struct Case {
        const char* what;
        uint32_t bytes;
        std::vector<uint32_t> pixel;  // red, green, blue, alpha
        uint32_t matte;
        GlowColor color;
        double amount;
        int32_t mode;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        // Add: c + trunc(Gc x (amount x colour)), the factor in single precision: 100 x 0.29f is
        // 29.000002 where double precision would give 28.999999.
        {"add float factor", 1, {100, 200, 100, 9}, 255, {1, 1, 1}, 0.29, kGlowAdd, {129, 255, 129, 9}},
        {"add float factor 0.53", 1, {100, 50, 10, 9}, 255, {1, 1, 1}, 0.53, kGlowAdd, {152, 76, 15, 9}},
        {"add colour", 1, {200, 100, 50, 9}, 255, {1, 0.5, 0.25}, 0.5, kGlowAdd, {255, 125, 56, 9}},
        // Premultiplied light: 200 x 51 / 255 = 40, then add 40 x 1.0.
        {"add partial matte", 1, {200, 100, 50, 9}, 51, {1, 1, 1}, 1.0, kGlowAdd, {240, 120, 60, 9}},
        // Screen, amount 1.0: n = 0, r = 255, R = trunc(255 x colour), g' = R x Gc / 255.
        {"screen white", 1, {100, 200, 0, 9}, 255, {1, 1, 1}, 1.0, kGlowScreen, {161, 244, 0, 9}},
        {"screen other mode", 1, {100, 200, 0, 9}, 255, {1, 1, 1}, 1.0, 5, {161, 244, 0, 9}},
        // 16-bit 2.5: n = 2 whole steps of g = Gc, then g' = 16382 x Gc >> 15.
        {"16-bit screen 2.5", 2, {8192, 0, 32768, 3}, 32768, {1, 1, 1}, 2.5, kGlowScreen, {20672, 0, 32768, 3}},
        // Samples above full (a host may hand them over): the light is the sample itself, the
        // steps run on it unclamped and only the result is held to full.
        {"16-bit screen 3.0 over full", 2, {40000, 65535, 100, 7}, 32768, {1, 1, 1}, 3.0, kGlowScreen,
         {32691, 7, 399, 7}},
        {"16-bit add over full", 2, {40000, 30000, 1000, 7}, 32768, {1, 0.5, 0.25}, 2.0, kGlowAdd,
         {32768, 32768, 1500, 7}},
        // Where no light arrives the pixel is left as it is, even above full.
        {"unlit pixel over full", 2, {40000, 50000, 0, 1}, 0, {1, 1, 1}, 3.0, kGlowScreen, {40000, 50000, 0, 1}},
    };
    for (const Case& c : cases) {
        ImagePtr image = makeImage(2, 2, 4, c.bytes, {c.pixel[0], c.pixel[1], c.pixel[2], c.pixel[3]});
        ImagePtr matte = makeImage(2, 2, 1, c.bytes, {c.matte});
        applyGlow(*image, *matte, image->bounds, 0.0, 0.0, c.amount, kGlowFromImage, c.mode, c.color, 1);
        EXPECT_EQ(pixelAt(*image, 0, 1), c.expected) << c.what;
    }
}

// No light, no change: amount 0 (or less), a dark matte, a black colour with the matte source.
TEST(Glow, NothingToAdd) {
    struct Case {
        const char* what;
        double amount;
        bool darkMatte;
        GlowColor color;
        int32_t source;
    };
    const Case cases[] = {
        {"amount 0, matte", 0.0, false, {1, 1, 1}, kGlowFromMatte},
        {"amount 0, image", 0.0, false, {1, 0.3, 1}, kGlowFromImage},
        {"negative amount", -2.0, false, {1, 1, 1}, kGlowFromMatte},
        {"NaN amount", std::numeric_limits<double>::quiet_NaN(), false, {1, 1, 1}, kGlowFromImage},
        {"dark matte, matte", 8.0, true, {1, 1, 1}, kGlowFromMatte},
        {"dark matte, image", 8.0, true, {0.2, 1, 1}, kGlowFromImage},
        {"black, matte", 8.0, false, {0, 0, 0}, kGlowFromMatte},
    };
    for (uint32_t bytes : {1u, 2u})
        for (const Case& c : cases)
            for (int32_t mode : {kGlowScreen, kGlowAdd})
                for (double blur : {0.0, 6.0}) {
                    Scene scene = randomScene(24, 18, bytes, 5);
                    if (c.darkMatte) scene.matte = makeImage(24, 18, 1, bytes, {0});
                    ImagePtr before = scene.image->clone();
                    applyGlow(*scene.image, *scene.matte, scene.image->bounds, blur, blur, c.amount, c.source, mode,
                              c.color, 1);
                    EXPECT_EQ(maxDifference(*scene.image, *before), 0u) << c.what << ", " << bytes << " bytes";
                }
}

// Whatever the settings, colours stay within 0..full, alpha is untouched, the caller's matte
// is untouched, and nothing outside the rect changes.
TEST(Glow, Invariants) {
    const PixelRect rect{3, 4, 17, 25};
    for (uint32_t bytes : {1u, 2u})
        for (int32_t source : {kGlowFromMatte, kGlowFromImage})
            for (int32_t mode : {kGlowScreen, kGlowAdd})
                for (double amount : {0.4, 1.0, 2.5, 8.0}) {
                    Scene scene = randomScene(30, 20, bytes, uint32_t(amount * 10) + bytes);
                    ImagePtr before = scene.image->clone();
                    ImagePtr matteBefore = scene.matte->clone();
                    applyGlow(*scene.image, *scene.matte, rect, 7.0, 3.5, amount, source, mode, {1.0, 0.6, 0.3}, 1);
                    EXPECT_EQ(maxDifference(*scene.matte, *matteBefore), 0u);
                    bool changed = false;
                    for (int32_t y = 0; y < 20; ++y)
                        for (int32_t x = 0; x < 30; ++x) {
                            const bool inside = y >= rect.top && y < rect.bottom && x >= rect.left && x < rect.right;
                            for (uint32_t c = 0; c < 4; ++c) {
                                const uint32_t now = sampleAt(*scene.image, x, y, c);
                                const uint32_t was = sampleAt(*before, x, y, c);
                                ASSERT_LE(now, fullScale(bytes));
                                if (c == 3 || !inside) ASSERT_EQ(now, was);
                                else ASSERT_GE(now, was);  // light only ever brightens
                                changed = changed || now != was;
                            }
                        }
                    EXPECT_TRUE(changed);
                }
}

// The matte source lights the picture with the blurred matte, the image source with the blurred
// premultiplied picture; light built over the whole image reaches into the rect.
TEST(Glow, BlurSpreadsTheLight) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = fullScale(bytes);
        ImagePtr matte = makeImage(21, 9, 1, bytes, {0});
        setSample(*matte, 10, 4, 0, full);
        const PixelRect right{0, 12, 9, 21};  // the lit pixel lies left of the rect

        ImagePtr image = makeImage(21, 9, 4, bytes, {full / 4, full / 4, full / 4, full});
        ImagePtr byMatte = image->clone();
        applyGlow(*byMatte, *matte, byMatte->bounds, 8.0, 8.0, 1.0, kGlowFromMatte, kGlowAdd, {}, 0);
        ImagePtr blurred = matte->clone();
        Blur blur;
        blur.setSize(8.0f, 8.0f);
        blur.apply(*blurred, blurred->bounds);
        ImagePtr expected = image->clone();
        compositeGlow(*expected, *blurred, expected->bounds, {}, 1.0, kGlowAdd);
        EXPECT_EQ(maxDifference(*byMatte, *expected), 0u);
        EXPECT_GT(sampleAt(*byMatte, 13, 4, 0), full / 4);

        ImagePtr byImage = image->clone();
        applyGlow(*byImage, *matte, right, 8.0, 8.0, 1.0, kGlowFromImage, kGlowAdd, {}, 0);
        EXPECT_GT(sampleAt(*byImage, 12, 4, 0), full / 4);
        EXPECT_EQ(sampleAt(*byImage, 10, 4, 0), full / 4);  // outside the rect
    }
}

// The same scene in 8 and 16 bits gives the same picture to within the 8-bit roundings (a
// few levels: each truncation of a step costs up to one).
TEST(Glow, EightAndSixteenBitsAgree) {
    for (int32_t source : {kGlowFromMatte, kGlowFromImage})
        for (int32_t mode : {kGlowScreen, kGlowAdd}) {
            Scene narrow = randomScene(16, 12, 1, 3);
            ImagePtr wideImage = widenTo16(*narrow.image);
            ImagePtr wideMatte = widenTo16(*narrow.matte);
            const GlowColor color{0.9, 0.7, 1.0};
            applyGlow(*narrow.image, *narrow.matte, narrow.image->bounds, 3.0, 3.0, 1.5, source, mode, color, 1);
            applyGlow(*wideImage, *wideMatte, wideImage->bounds, 3.0, 3.0, 1.5, source, mode, color, 1);
            EXPECT_LE(depthDifference(*narrow.image, *wideImage), 6u) << "source " << source << " mode " << mode;
        }
}

TEST(Glow, RefusesOtherLayouts) {
    ImagePtr rgba = makeImage(4, 4, 4, 1, {0, 0, 0, 0});
    ImagePtr grey = makeImage(4, 4, 1, 1, {0});
    ImagePtr grey16 = makeImage(4, 4, 1, 2, {0});
    ImagePtr small = makeImage(3, 4, 1, 1, {0});
    EXPECT_THROW(compositeGlow(*grey, *grey, grey->bounds, {}, 1.0, kGlowScreen), std::invalid_argument);
    EXPECT_THROW(compositeGlow(*rgba, *rgba, rgba->bounds, {}, 1.0, kGlowScreen), std::invalid_argument);
    EXPECT_THROW(applyGlow(*rgba, *grey16, rgba->bounds, 0, 0, 1.0, 0, 0, {}, 1), std::invalid_argument);
    EXPECT_THROW(applyGlow(*rgba, *small, rgba->bounds, 0, 0, 1.0, 1, 0, {}, 1), std::invalid_argument);
    EXPECT_NO_THROW(applyGlow(*rgba, *grey, PixelRect{2, 2, 2, 9}, 5, 5, 1.0, 1, 0, {}, 1));
}

// Working memory kept between calls, as an effect keeps it between renders, gives what fresh
// memory gives, whatever sizes, sample sizes and sources came before.
TEST(Glow, KeptLightMemoryGivesTheSameResult) {
    struct Call {
        int32_t width;
        int32_t height;
        uint32_t bytes;
        int32_t source;
    };
    const Call calls[] = {{40, 30, 2, kGlowFromImage}, {17, 9, 1, kGlowFromImage}, {23, 41, 2, kGlowFromMatte},
                          {40, 30, 1, kGlowFromMatte}, {64, 33, 2, kGlowFromImage}};
    ScratchImage lightMemory;
    uint32_t seed = 1;
    for (const Call& call : calls) {
        for (int32_t mode : {kGlowScreen, kGlowAdd}) {
            const Scene fresh = randomScene(call.width, call.height, call.bytes, seed);
            const Scene kept = randomScene(call.width, call.height, call.bytes, seed++);
            applyGlow(*fresh.image, *fresh.matte, fresh.image->bounds, 6.0, 2.5, 1.7, call.source, mode,
                      {0.9, 0.4, 1}, 1);
            applyGlow(*kept.image, *kept.matte, kept.image->bounds, 6.0, 2.5, 1.7, call.source, mode,
                      {0.9, 0.4, 1}, 1, lightMemory);
            EXPECT_EQ(maxDifference(*fresh.image, *kept.image), 0u)
                << call.width << "x" << call.height << " " << call.bytes * 8 << "-bit source " << call.source;
        }
    }
}

}  // namespace
