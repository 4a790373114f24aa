#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "imaging/image.h"
#include "imaging/shear_rotation.h"
#include "tests/support/effect_harness.h"

namespace {

// The sample of a placed image at plane point (x, y), 0 outside it.
uint32_t sampleOnPlane(const PlacedImage& placed, int32_t x, int32_t y) {
    const int32_t column = x - placed.left, row = y - placed.top;
    if (column < 0 || row < 0 || column >= placed.image->width || row >= placed.image->height) return 0;
    return sampleAt(*placed.image, column, row, 0);
}

uint64_t sumOf(const Image& image) {
    uint64_t sum = 0;
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) sum += sampleAt(image, x, y, 0);
    return sum;
}

// A one-channel image of 0 with the given pixels set.
struct Mark {
    int32_t x, y;
    uint32_t value;
};
ImagePtr markedImage(int32_t width, int32_t height, uint32_t bytes, std::initializer_list<Mark> marks) {
    ImagePtr image = makeImage(width, height, 1, bytes, {0});
    for (const Mark& m : marks) setSample(*image, m.x, m.y, 0, m.value);
    return image;
}

TEST(ShearRotation, BackwardUndoesForwardAndTheOppositeAngleUndoesTheTurn) {
    struct Case {
        float degrees;
        double centreX, centreY;
    };
    const Case cases[] = {{45.0f, 50.0, 40.0}, {45.0f, 50.5, 33.0}, {-45.0f, 0.0, 0.0}, {30.0f, 7.5, -12.0},
                          {89.0f, 100.0, 100.0}, {0.0f, 3.0, 3.0}};
    for (const Case& c : cases) {
        const ShearRotation turn(c.degrees, c.centreX, c.centreY);
        const ShearRotation back(-c.degrees, c.centreX, c.centreY);
        for (int32_t y = -60; y <= 160; y += 7)
            for (int32_t x = -80; x <= 190; x += 9) {
                const PixelPoint p{x, y};
                ASSERT_EQ(turn.forward(turn.backward(p)), p) << c.degrees << " at " << x << "," << y;
                ASSERT_EQ(turn.backward(turn.forward(p)), p) << c.degrees << " at " << x << "," << y;
                ASSERT_EQ(back.forward(turn.forward(p)), p) << c.degrees << " at " << x << "," << y;
            }
    }
}

// A turn by 45 degrees takes a point at distance d right of the centre to about (d, d) / sqrt 2
// from it (x toward y), within the truncations of the three shifts; 0 degrees moves nothing.
TEST(ShearRotation, TurnsTowardTheYAxisAboutTheCentre) {
    const ShearRotation turn(45.0f, 100.5, 200.5);
    EXPECT_EQ(turn.forward({100, 200}), (PixelPoint{100, 200}));
    for (int32_t d : {10, 57, 300}) {
        const PixelPoint right = turn.forward({100 + d, 200});
        EXPECT_NEAR(right.x - 100, d / std::sqrt(2.0), 3.0) << d;
        EXPECT_NEAR(right.y - 200, d / std::sqrt(2.0), 2.0) << d;
        const PixelPoint below = turn.forward({100, 200 + d});
        EXPECT_NEAR(below.x - 100, -d / std::sqrt(2.0), 3.0) << d;
        EXPECT_NEAR(below.y - 200, d / std::sqrt(2.0), 2.0) << d;
    }
    const ShearRotation still(0.0f, 3.0, 4.0);
    EXPECT_EQ(still.forward({-17, 29}), (PixelPoint{-17, 29}));
}

// Turning by 45 degrees (and a steeper angle) and back returns every sample to its place: a single pixel, an
// asymmetric shape and a noise picture, at both sample sizes, with the picture's centre inside
// it, on its edge and outside it. The turned image holds every sample (the sums agree).
TEST(ShearRotation, TurnAndTurnBackReturnTheImageAligned) {
    struct Case {
        const char* what;
        int32_t width, height;
        int32_t left, top;
        double centreX, centreY;
        bool noise;
        float degrees = 45.0f;
    };
    const Case cases[] = {
        {"pixel off centre", 31, 21, 0, 0, 15.5, 10.5, false},
        {"shape placed away from the centre", 40, 23, 300, -50, 20.0, 11.5, false},
        {"noise, centre on the edge", 64, 37, 10, 20, 10.0, 38.0, true},
        {"noise, even sizes", 50, 50, -25, -25, 0.0, 0.0, true},
        {"noise, steep turn", 41, 30, 5, 5, 20.0, 20.0, true, 80.0f},
    };
    for (uint32_t bytes : {1u, 2u})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const uint32_t full = bytes == 2 ? 32768 : 255;
            // An L of three pixels and a lone pixel: no symmetry maps it onto itself.
            const ImagePtr source = c.noise ? makeNoiseImage(c.width, c.height, 1, bytes, 7)
                                            : markedImage(c.width, c.height, bytes,
                                                          {{3, 17, full}, {3, 18, full / 2}, {4, 18, 9}, {27, 4, 200}});
            const ShearRotation turn(c.degrees, c.centreX, c.centreY);
            const PlacedImage turned = turn.rotate({source, c.left, c.top}, 3);
            EXPECT_EQ(sumOf(*turned.image), sumOf(*source));
            // Every sample sits where forward sends it, with 3 zero rows and columns around.
            for (int32_t y = 0; y < c.height; y += 3)
                for (int32_t x = 0; x < c.width; x += 2) {
                    const PixelPoint to = turn.forward({c.left + x, c.top + y});
                    ASSERT_EQ(sampleOnPlane(turned, to.x, to.y), sampleAt(*source, x, y, 0));
                }
            for (int32_t x = 0; x < turned.image->width; ++x)
                for (int32_t edge : {0, 1, 2, turned.image->height - 3, turned.image->height - 1})
                    ASSERT_EQ(sampleAt(*turned.image, x, edge, 0), 0u);

            const PlacedImage back{ImagePtr::make({c.width, c.height}, 1, bytes), c.left, c.top};
            ShearRotation(-c.degrees, c.centreX, c.centreY).rotateInto(turned, back);
            EXPECT_EQ(maxDifference(*back.image, *source), 0u);
        }
}

// Part of a picture turns as the picture does: each of its samples lands where the picture's
// sample lands, and the rest of the target is 0.
TEST(ShearRotation, APartOfThePictureTurnsLikeThePicture) {
    const ImagePtr picture = makeNoiseImage(90, 70, 1, 2, 3);
    const ShearRotation turn(45.0f, 45.0, 35.0);
    const PlacedImage whole = turn.rotate({picture, 0, 0}, 0);
    const PixelRect part = {20, 33, 36, 61};
    const ImagePtr cut = viewOf(*picture, part).clone();
    const PlacedImage turnedPart = turn.rotate({cut, part.left, part.top}, 5);
    for (int32_t y = 0; y < turnedPart.image->height; ++y)
        for (int32_t x = 0; x < turnedPart.image->width; ++x) {
            const int32_t planeX = turnedPart.left + x, planeY = turnedPart.top + y;
            const PixelPoint from = turn.backward({planeX, planeY});
            const bool inPart = from.x >= part.left && from.x < part.right && from.y >= part.top && from.y < part.bottom;
            ASSERT_EQ(sampleAt(*turnedPart.image, x, y, 0), inPart ? sampleOnPlane(whole, planeX, planeY) : 0u);
        }
}

// Two pixels whose turned places lie d apart on a row or a column lie within reachBack(d) of
// each other on both axes of the picture.
TEST(ShearRotation, ReachBackBoundsTheDistanceOnThePicture) {
    const ShearRotation turn(45.0f, 61.0, 47.5);
    for (int32_t d : {1, 5, 40, 130}) {
        int32_t farthest = 0;
        for (int32_t y = -30; y < 130; y += 3)
            for (int32_t x = -40; x < 160; x += 5) {
                const PixelPoint a = turn.backward({x, y});
                for (PixelPoint other : {PixelPoint{x + d, y}, PixelPoint{x, y + d}}) {
                    const PixelPoint b = turn.backward(other);
                    farthest = std::max({farthest, std::abs(b.x - a.x), std::abs(b.y - a.y)});
                }
            }
        EXPECT_LE(farthest, turn.reachBack(d)) << d;
        EXPECT_GE(farthest, int32_t(d / std::sqrt(2.0))) << d;
    }
}

TEST(ShearRotation, RefusesOtherLayouts) {
    const ShearRotation turn(45.0f, 0.0, 0.0);
    const ImagePtr rgba = makeImage(4, 4, 4, 1, {1, 2, 3, 4});
    const ImagePtr grey8 = makeImage(4, 4, 1, 1, {1});
    const ImagePtr grey16 = makeImage(4, 4, 1, 2, {1});
    EXPECT_THROW(turn.rotate({rgba, 0, 0}, 0), std::invalid_argument);
    EXPECT_THROW(turn.rotateInto({grey8, 0, 0}, {grey16, 0, 0}), std::invalid_argument);
    EXPECT_THROW(turn.rotateInto({grey8, 0, 0}, {rgba, 0, 0}), std::invalid_argument);
}

}  // namespace
