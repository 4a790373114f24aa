// The graduated filters' pixel operations: the ramp, the neutral-density darkening, the tint and
// the mix through a matte, with exact values at both depths.
#include "imaging/tint.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/gradient_matte.h"
#include "imaging/matte_mix.h"
#include "imaging/sample_traits.h"
#include "tests/support/effect_harness.h"

namespace {

using Pixel = std::vector<uint32_t>;

Quad rectangleQuad(double width, double height) { return {{{0, 0}, {width, 0}, {width, height}, {0, height}}}; }

// ---- buildGradientMatte ------------------------------------------------------------------

// A 40 x 100 matte under the default corners: a pixel's level is full x (1 - v) (or x v for the
// reversed directions) with v its top-left corner's place along the ramp, truncated; smaller
// sizes harden the ramp around the middle: v = -c + (1 + 2c) y / 100, c = (1 - size) / 2, held
// to 0..1.
TEST(GradientMatte, RampLevels) {
    struct Case {
        uint32_t bytes;
        uint32_t direction;
        double size;
        int32_t x, y;
        uint32_t level;
    };
    const Case cases[] = {
        {1, GradientDirection::kTopToBottom, 1.0, 5, 0, 255},    {1, GradientDirection::kTopToBottom, 1.0, 5, 50, 127},
        {1, GradientDirection::kTopToBottom, 1.0, 5, 99, 2},     {1, GradientDirection::kBottomToTop, 1.0, 5, 0, 0},
        {1, GradientDirection::kBottomToTop, 1.0, 5, 75, 191},   {1, GradientDirection::kLeftToRight, 1.0, 10, 7, 191},
        {1, GradientDirection::kRightToLeft, 1.0, 10, 7, 63},    {1, GradientDirection::kTopToBottom, 0.5, 0, 10, 255},
        {1, GradientDirection::kTopToBottom, 0.5, 0, 25, 223},   {1, GradientDirection::kTopToBottom, 0.5, 0, 90, 0},
        {1, GradientDirection::kTopToBottom, 1.5, 0, 0, 191},    {1, 7, 1.0, 5, 50, 127},
        {2, GradientDirection::kTopToBottom, 1.0, 5, 0, 32768},  {2, GradientDirection::kTopToBottom, 1.0, 5, 25, 24576},
        {2, GradientDirection::kTopToBottom, 1.0, 5, 99, 327},   {2, GradientDirection::kBottomToTop, 1.0, 5, 50, 16384},
        {2, GradientDirection::kRightToLeft, 1.0, 30, 3, 24576}, {2, GradientDirection::kTopToBottom, 0.5, 0, 25, 28672},
    };
    for (const Case& c : cases) {
        const ImagePtr matte = makeImage(40, 100, 1, c.bytes, {0});
        buildGradientMatte(*matte, matte->bounds, 0, 0, rectangleQuad(40, 100), c.size, c.direction);
        EXPECT_EQ(sampleAt(*matte, c.x, c.y, 0), c.level)
            << c.bytes << " direction " << c.direction << " size " << c.size << " at " << c.x << "," << c.y;
    }
}

// A block at any origin holds the same levels as the same place of the whole matte, for tilted
// and projective quads alike; a quad without area leaves the block cleared.
TEST(GradientMatte, BlockAtAnOriginMatchesTheWhole) {
    const Quad quads[] = {rectangleQuad(90, 70), {{{10, -5}, {80, 12}, {95, 60}, {-4, 66}}},
                          {{{30, 10}, {60, 10}, {88, 69}, {2, 69}}}};
    for (uint32_t bytes : {1u, 2u})
        for (const Quad& quad : quads)
            for (uint32_t direction = 0; direction < GradientDirection::kCount; ++direction) {
                const ImagePtr whole = makeImage(90, 70, 1, bytes, {0});
                buildGradientMatte(*whole, whole->bounds, 0, 0, quad, 0.8, direction);
                const ImagePtr block = makeImage(23, 17, 1, bytes, {0});
                buildGradientMatte(*block, block->bounds, 41, 29, quad, 0.8, direction);
                for (int32_t y = 0; y < 17; ++y)
                    for (int32_t x = 0; x < 23; ++x)
                        ASSERT_EQ(sampleAt(*block, x, y, 0), sampleAt(*whole, x + 41, y + 29, 0))
                            << bytes << " direction " << direction << " at " << x << "," << y;
            }
    const ImagePtr matte = makeImage(10, 10, 1, 1, {99});
    buildGradientMatte(*matte, matte->bounds, 0, 0, {{{0, 0}, {10, 0}, {20, 0}, {5, 0}}}, 1.0, 0);
    EXPECT_TRUE(isUniform(*matte));
    EXPECT_EQ(sampleAt(*matte, 3, 3, 0), 0u);
}

// ---- applyNdDarken -----------------------------------------------------------------------

TEST(NdDarken, ScalesColourByTheMatte) {
    struct Case {
        uint32_t bytes;
        double amount;
        uint32_t matte;
        Pixel before, after;
    };
    const Case cases[] = {
        {1, 1.0, 255, {200, 100, 7, 90}, {0, 0, 0, 90}},
        {1, 1.0, 128, {200, 100, 7, 90}, {99, 49, 3, 90}},      // k = 127
        {1, 0.5, 255, {200, 100, 7, 90}, {100, 50, 3, 90}},     // A = 127, k = 128
        {1, 0.0, 255, {200, 100, 7, 90}, {200, 100, 7, 90}},
        {1, 1.0, 0, {200, 100, 7, 90}, {200, 100, 7, 90}},
        {2, 0.5, 32768, {20000, 10000, 3, 5}, {10000, 5000, 1, 5}},
        {2, 1.0, 16384, {20000, 32768, 3, 5}, {10000, 16384, 1, 5}},
        {2, 1.0, 32768, {20000, 32768, 3, 5}, {0, 0, 0, 5}},
    };
    for (const Case& c : cases) {
        const ImagePtr image = makeImage(3, 2, 4, c.bytes, {c.before[0], c.before[1], c.before[2], c.before[3]});
        const ImagePtr matte = makeImage(3, 2, 1, c.bytes, {c.matte});
        applyNdDarken(*image, *matte, {0, 0, 2, 3}, c.amount);
        EXPECT_EQ(pixelAt(*image, 2, 1), c.after) << c.bytes << " amount " << c.amount << " matte " << c.matte;
    }
}

// ---- applyTint ---------------------------------------------------------------------------

TEST(Tint, RecoloursByTheMatteAndOpacity) {
    struct Case {
        const char* name;
        uint32_t bytes;
        TintSettings tint;
        uint32_t matte;
        Pixel before, after;
    };
    const Case cases[] = {
        {"blue, full", 1, {{0, 0, 255}, 1.0, TintMode::kHsv, 1.0}, 255, {200, 100, 50, 77}, {0, 0, 200, 77}},
        {"blue, half opacity", 1, {{0, 0, 255}, 0.5, TintMode::kHsv, 1.0}, 255, {200, 100, 50, 77}, {100, 50, 124, 77}},
        {"blue, matte 0", 1, {{0, 0, 255}, 1.0, TintMode::kHsv, 1.0}, 0, {200, 100, 50, 77}, {200, 100, 50, 77}},
        {"grey tint gives grey at the value", 1, {{128, 128, 128}, 1.0, TintMode::kHsv, 1.0}, 255, {200, 100, 50, 77},
         {200, 200, 200, 77}},
        // s = 0.75000006 in single precision, so the other channels land just under 50.
        {"replace keeps saturation", 1, {{0, 0, 255}, 1.0, TintMode::kReplace, 1.0}, 255, {200, 100, 50, 77},
         {49, 49, 200, 77}},
        {"dark pixel in HLS as in HSV", 1, {{0, 0, 255}, 1.0, TintMode::kHls, 1.0}, 255, {40, 20, 10, 77}, {0, 0, 40, 77}},
        {"white keeps its colour in HLS", 1, {{0, 0, 255}, 1.0, TintMode::kHls, 1.0}, 255, {255, 255, 255, 77},
         {255, 255, 255, 77}},
        {"white tinted in HLS without protection", 1, {{0, 0, 255}, 1.0, TintMode::kHls, 0.0}, 255, {255, 255, 255, 77},
         {0, 0, 255, 77}},
        // The tint colour is bytes / 255 in single precision; scaled by the float 1/255 the
        // blue would come out 3.
        {"tint colour divided by 255", 1, {{0, 110, 40}, 1.0, TintMode::kHsv, 1.0}, 255, {11, 5, 2, 77}, {0, 11, 4, 77}},
        {"16-bit blue, half opacity", 2, {{0, 0, 32768}, 0.5, TintMode::kHsv, 1.0}, 32768, {20000, 10000, 5000, 9},
         {10000, 5000, 12500, 9}},
        {"16-bit half matte", 2, {{0, 0, 32768}, 1.0, TintMode::kHsv, 1.0}, 16384, {20000, 10000, 5000, 9},
         {10000, 5000, 12500, 9}},
    };
    for (const Case& c : cases) {
        const ImagePtr image = makeImage(2, 2, 4, c.bytes, {c.before[0], c.before[1], c.before[2], c.before[3]});
        const ImagePtr matte = makeImage(2, 2, 1, c.bytes, {c.matte});
        applyTint(*image, *matte, image->bounds, c.tint);
        EXPECT_EQ(pixelAt(*image, 1, 1), c.after) << c.name;
        if (c.matte == SampleTraits<uint8_t>::full || c.matte == SampleTraits<uint16_t>::full) {
            const ImagePtr whole = makeImage(2, 2, 4, c.bytes, {c.before[0], c.before[1], c.before[2], c.before[3]});
            applyWholeTint(*whole, whole->bounds, c.tint);
            EXPECT_EQ(maxDifference(*whole, *image), 0u) << c.name << ": the whole tint is the tint through a full matte";
        }
    }
}

// Highlights keep their colour in proportion to "HLS Highlights": a bright pixel moves less the
// higher the protection, and with no protection HLS is HSV.
TEST(Tint, HlsHighlightsProtectBrightPixels) {
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr picture = makeNoiseImage(32, 16, 4, bytes, 5);
        const ImagePtr matte = makeImage(32, 16, 1, bytes, {bytes == 2 ? 32768u : 255u});
        auto tinted = [&](uint32_t mode, double highlights) {
            ImagePtr image = picture->clone();
            applyTint(*image, *matte, image->bounds, {{bytes == 2 ? 32768u : 255u, 0, 0}, 1.0, mode, highlights});
            return image;
        };
        EXPECT_EQ(maxDifference(*tinted(TintMode::kHls, 0.0), *tinted(TintMode::kHsv, 1.0)), 0u) << bytes;
        EXPECT_GT(maxDifference(*tinted(TintMode::kHls, 1.0), *tinted(TintMode::kHsv, 1.0)), 0u) << bytes;
        EXPECT_LT(maxDifference(*tinted(TintMode::kHls, 1.0), *picture), maxDifference(*tinted(TintMode::kHsv, 1.0), *picture)) << bytes;
    }
}

// ---- mixByMatte --------------------------------------------------------------------------

TEST(MatteMix, FullAndEmptyCopyWholePixels) {
    struct Case {
        uint32_t bytes;
        uint32_t matte;
        Pixel result;
    };
    // p = (200, 100, 0, 40), q = (0, 50, 255, 250).
    const Case cases[] = {
        {1, 255, {200, 100, 0, 40}},  {1, 0, {0, 50, 255, 250}}, {1, 64, {50, 62, 191, 40}},
        {2, 32768, {200, 100, 0, 40}}, {2, 0, {0, 50, 255, 250}}, {2, 16384, {100, 75, 127, 40}},
    };
    for (const Case& c : cases) {
        const ImagePtr p = makeImage(2, 1, 4, c.bytes, {200, 100, 0, 40});
        const ImagePtr q = makeImage(2, 1, 4, c.bytes, {0, 50, 255, 250});
        const ImagePtr matte = makeImage(2, 1, 1, c.bytes, {c.matte});
        mixByMatte(*p, *q, *q, q->bounds, *matte);
        EXPECT_EQ(pixelAt(*q, 1, 0), c.result) << c.bytes << " matte " << c.matte;
    }
}

}  // namespace
