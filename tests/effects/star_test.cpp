// Star: hooks and pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/effect_harness.h"

namespace {

// An opaque black picture with one white pixel at (x, y).
ImagePtr brightPixel(int32_t size, uint32_t bytes, int32_t x, int32_t y) {
    const uint32_t full = fullScale(bytes);
    ImagePtr picture = makeImage(size, size, 4, bytes, {0, 0, 0, full});
    for (uint32_t c = 0; c < 3; ++c) setSample(*picture, x, y, c, full);
    return picture;
}

// The star of one bright pixel, seen in the "Stars" view around the pixel at (cx, cy).
struct StarShape {
    // Values along the row and the column through the pixel, outward: right, left, down, up.
    std::vector<uint32_t> upright[4];
    // Values in the four quarters off those lines, sorted; the farthest reach of each quarter.
    std::vector<uint32_t> quarter[4];
    int32_t quarterReach[4] = {};
    int32_t uprightLength = 0;
};

StarShape starShape(const Image& stars, int32_t cx, int32_t cy) {
    StarShape shape;
    for (int32_t y = 0; y < stars.height; ++y)
        for (int32_t x = 0; x < stars.width; ++x) {
            const int32_t dx = x - cx, dy = y - cy;
            const uint32_t v = sampleAt(stars, x, y, 0);
            if (dx == 0 || dy == 0) continue;
            if (v == 0) continue;
            const int q = (dx > 0) + 2 * (dy > 0);
            shape.quarter[q].push_back(v);
            shape.quarterReach[q] = std::max({shape.quarterReach[q], std::abs(dx), std::abs(dy)});
        }
    for (auto& values : shape.quarter) std::sort(values.begin(), values.end());
    const int32_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int d = 0; d < 4; ++d)
        for (int32_t k = 1;; ++k) {
            const int32_t x = cx + k * steps[d][0], y = cy + k * steps[d][1];
            if (x < 0 || y < 0 || x >= stars.width || y >= stars.height) break;
            shape.upright[d].push_back(sampleAt(stars, x, y, 0));
            if (shape.upright[d].back() != 0) shape.uprightLength = std::max(shape.uprightLength, k);
        }
    return shape;
}

size_t valuesApart(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    std::vector<uint32_t> apart;
    std::set_symmetric_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(apart));
    return apart.size();
}

// The upright cross is exactly symmetric under the eight symmetries of the square. The diagonal
// cross comes back from the turned frame by whole-pixel shears, so its arms are not mirror
// images pixel for pixel; each arm carries the same values as the others, apart from at most
// two that the shears put on the row or column through the pixel, and reaches as far within
// two pixels. A pixel at the picture's centre (the turns' centre) gives a star that a half turn
// maps exactly onto itself. Larger sizes give longer arms, upright and diagonal.
TEST(Star, BrightPixelGivesASymmetricEightPointedStar) {
    struct Place {
        const char* what;
        int32_t size, x, y;
        bool atCentre;
    };
    // Far enough from the edges that no arm reaches one.
    const Place places[] = {{"at the centre", 141, 70, 70, true}, {"off the centre", 140, 61, 77, false}};
    for (uint32_t bytes : {1u, 2u})
        for (const Place& place : places) {
            int32_t lastUpright = 0, lastReach = 0;
            for (double size : {6.0, 10.0, 20.0, 40.0}) {
                SCOPED_TRACE(std::string(place.what) + ", size " + std::to_string(size) + ", " +
                             std::to_string(bytes * 8) + "-bit");
                EffectHarness harness("Star");
                harness.apply({{"view", 2}, {"StarSize", size}});
                const ImagePtr stars = harness.render(*brightPixel(place.size, bytes, place.x, place.y));
                const StarShape shape = starShape(*stars, place.x, place.y);

                // The diagonal arms cross the row and column only next to the pixel.
                for (int d = 1; d < 4; ++d)
                    for (size_t k = 2; k < 30; ++k) ASSERT_EQ(shape.upright[d][k], shape.upright[0][k]) << d << " " << k;
                for (int q = 1; q < 4; ++q) {
                    EXPECT_LE(valuesApart(shape.quarter[q], shape.quarter[0]), 2u) << q;
                    EXPECT_NEAR(shape.quarterReach[q], shape.quarterReach[0], 2) << q;
                }
                if (place.atCentre) {
                    for (int32_t y = 0; y < place.size; ++y)
                        for (int32_t x = 0; x < place.size; ++x)
                            ASSERT_EQ(sampleAt(*stars, x, y, 0),
                                      sampleAt(*stars, place.size - 1 - x, place.size - 1 - y, 0));
                }

                EXPECT_GT(shape.uprightLength, lastUpright);
                EXPECT_GT(shape.quarterReach[0], lastReach);
                lastUpright = shape.uprightLength;
                lastReach = shape.quarterReach[0];
                // Nothing of the star away from its eight arms: the corners stay black.
                EXPECT_EQ(sampleAt(*stars, 0, place.size - 1, 0), 0u);
            }
        }
}

// The "Matte" view shows the extractor's luminance matte, grey and opaque: position 90 with range
// 15 is a window from 60 to 120 percent of full peaking at 90, so only near-white levels light it.
TEST(Star, MatteViewShowsTheNearWhiteHighlights) {
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = makeHighlightPicture(bytes);
        EffectHarness harness("Star");
        harness.setList("view", 1);
        const ImagePtr matte = harness.render(*source);
        EXPECT_EQ(maxDifference(*matte, *matteAsShown(*source, 0.9f, 0.3f, 0.0f)), 0u) << bytes;
        EXPECT_GT(sampleAt(*matte, 15, 15, 0), fullScale(bytes) / 2) << "the bright square is lit";
    }
}

// "Stars" shows the star image grey and opaque, black where no highlight reaches and black
// altogether at size 0; "Output" lightens exactly where the stars are, in their colour.
TEST(Star, StarsViewShowsWhatOutputLaysOn) {
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = fullScale(bytes);
        ImagePtr picture = brightPixel(60, bytes, 20, 25);
        for (int32_t y = 0; y < 60; ++y)
            for (int32_t x = 0; x < 60; ++x) {
                setSample(*picture, x, y, 3, full / 2);
                if (x == 20 && y == 25) continue;
                setSample(*picture, x, y, 0, full / 2);
                setSample(*picture, x, y, 1, full / 4);
            }
        EffectHarness starsView("Star");
        starsView.apply({{"view", 2}, {"StarSize", 30}});
        const ImagePtr stars = starsView.render(*picture);
        EffectHarness output("Star");
        output.apply({{"StarSize", 30}});
        output.setColor("StarColor", {1.0, 0.0, 1.0});
        const ImagePtr lit = output.render(*picture);
        uint32_t lightened = 0;
        for (int32_t y = 0; y < 60; ++y)
            for (int32_t x = 0; x < 60; ++x) {
                const uint32_t t = sampleAt(*stars, x, y, 0);
                ASSERT_EQ(sampleAt(*stars, x, y, 1), t);
                ASSERT_EQ(sampleAt(*stars, x, y, 3), full);
                ASSERT_EQ(sampleAt(*lit, x, y, 1), sampleAt(*picture, x, y, 1)) << "green has no star colour";
                ASSERT_EQ(sampleAt(*lit, x, y, 3), full / 2) << "alpha is untouched";
                const bool changed = sampleAt(*lit, x, y, 0) != sampleAt(*picture, x, y, 0);
                if (changed) ++lightened;
                if (t == 0) {
                    ASSERT_FALSE(changed) << x << "," << y;
                }
                if (changed) {
                    ASSERT_GT(sampleAt(*lit, x, y, 0), sampleAt(*picture, x, y, 0));
                }
            }
        EXPECT_GT(lightened, 40u);
        EXPECT_EQ(sampleAt(*stars, 59, 0, 0), 0u);

        starsView.setNumber("StarSize", 0);
        const ImagePtr none = starsView.render(*picture);
        EXPECT_TRUE(isUniform(*none));
        EXPECT_EQ(sampleAt(*none, 20, 25, 0), 0u);
    }
}

// 8 and 16 bits give the same stars, within the rounding of the 8-bit scale.
TEST(Star, EightAndSixteenBitsAgree) {
    const ImagePtr picture = makeNoiseImage(64, 48, 4, 1, 5);
    EXPECT_LE(renderDepthDifference("Star", {}, *picture), 6u);
    EXPECT_LE(renderDepthDifference("Star", {{"view", 2}, {"StarSize", 25}, {"mattePosition", 70}, {"matteRange", 40}},
                                    *picture), 6u);
    EXPECT_LE(renderDepthDifference("Star", {{"view", 1}, {"matteBlur", 5}}, *picture), 4u);
}

// How far a blur of this size reads, as Fast Blur asks for it.
int32_t blurReach(double size) {
    EffectHarness fastBlur("FastBlur");
    fastBlur.setNumber("blurX", size);
    return fastBlur.requiredSource({0, 0, 1, 1}, 100, 100).right - 1;
}

// The margin adds the matte blur's reach to the stars' reach, which is the upright arms' for
// sizes where the diagonal ones, brought back to the picture at about 0.71 of their length,
// reach less; at small sizes the whole-pixel slack of the shears makes the diagonal arms reach
// a few pixels farther.
TEST(Star, RequiredSourceAddsTheMatteBlurToTheStarsReach) {
    struct Case {
        double size, matteBlur;
        int32_t diagonalSlack;  // beyond the upright arms' reach, at most
    };
    const Case cases[] = {{0, 0, 0}, {0, 10, 0}, {100, 0, 0}, {100, 10, 0}, {100, 200, 0}, {500, 200, 0}, {4, 0, 8},
                          {1, 7, 8}};
    for (const Case& c : cases) {
        EffectHarness harness("Star");
        harness.apply({{"StarSize", c.size}, {"matteBlur", c.matteBlur}});
        const PixelRect rect = {1000, 2000, 1050, 2060};
        const PixelRect grown = harness.requiredSource(rect, 9000, 9000);
        const int32_t reads = blurReach(c.matteBlur) + blurReach(c.size);
        SCOPED_TRACE("size " + std::to_string(c.size) + ", matte blur " + std::to_string(c.matteBlur));
        EXPECT_EQ(rect.top - grown.top, rect.left - grown.left);
        EXPECT_EQ(grown.bottom - rect.bottom, rect.top - grown.top);
        EXPECT_EQ(grown.right - rect.right, rect.left - grown.left);
        if (c.diagonalSlack == 0) {
            EXPECT_EQ(rect.left - grown.left, reads);
        } else {
            EXPECT_GT(rect.left - grown.left, reads);
            EXPECT_LE(rect.left - grown.left, reads + c.diagonalSlack);
        }
    }
}

}  // namespace
