// The conversion to grey through the six colour filters.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/black_and_white_convert.h"
#include "tests/support/effect_harness.h"

namespace {

struct GreyCase {
    const char* name;
    uint32_t filter;
    uint32_t bytesPerChannel;
    std::vector<uint32_t> in;  // red, green, blue
    uint32_t grey;
};

TEST(BlackAndWhiteConvert, WorkedGreys) {
    const GreyCase cases[] = {
        // Normal: trunc(0.3 R + 0.59 G + 0.11 B + 2.24 / full), at most full. (White, the
        // filters' worked pixels and the tone table are tested through Black and White.)
        GreyCase{"normal white 16-bit", 0, 2, {32768, 32768, 32768}, 32768},
        GreyCase{"normal black", 0, 1, {0, 0, 0}, 0},
        GreyCase{"normal 16-bit", 0, 2, {1000, 2000, 3000}, 1810},
        GreyCase{"normal red", 0, 1, {255, 0, 0}, 76}, GreyCase{"normal green", 0, 1, {0, 255, 0}, 150},
        GreyCase{"normal blue", 0, 1, {0, 0, 255}, 28}, GreyCase{"normal near black", 0, 1, {1, 1, 1}, 1},
        GreyCase{"normal mixed", 0, 1, {37, 201, 90}, 139}, GreyCase{"normal warm", 0, 1, {200, 100, 50}, 124},
        // The sums land just below a whole number in double precision; the bias lifts them.
        GreyCase{"normal bias", 0, 1, {0, 90, 90}, 63},
        GreyCase{"normal bias 16-bit", 0, 2, {2240, 25181, 3811}, 15948},
        // Yellow: trunc(luma(R, G, 0) x 1.06); luma(200, 100, 0) = 118.
        GreyCase{"yellow", 4, 1, {200, 100, 50}, 125},
        GreyCase{"yellow 16-bit mid", 4, 2, {20000, 10000, 9999}, 12561},
        // Orange: trunc(luma(R, G / 2, 0) x 1.6); luma(200, 50, 0) = 89.
        GreyCase{"orange odd green", 5, 1, {200, 101, 50}, 142},
        GreyCase{"orange 16-bit", 5, 2, {20000, 10001, 123}, 14264}};
    for (const GreyCase& c : cases) {
        const uint32_t alpha = c.bytesPerChannel == 2 ? 12345 : 77;
        ImagePtr image = makeImage(3, 2, 4, c.bytesPerChannel, {c.in[0], c.in[1], c.in[2], alpha});
        toBlackAndWhite(*image, image->bounds, c.filter);
        EXPECT_TRUE(isUniform(*image)) << c.name;
        EXPECT_EQ(pixelAt(*image, 2, 1), (std::vector<uint32_t>{c.grey, c.grey, c.grey, alpha})) << c.name;
    }
}

TEST(BlackAndWhiteConvertInvariants, UnknownFilterLeavesTheImage) {
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr image = makeNoiseImage(9, 7, 4, bytes, 3);
        ImagePtr before = image->clone();
        toBlackAndWhite(*image, image->bounds, kBlackAndWhiteFilterCount);
        toBlackAndWhite(*image, image->bounds, 0xFFFFFFFFu);
        EXPECT_EQ(maxDifference(*image, *before), 0u);
    }
}

TEST(BlackAndWhiteConvertInvariants, OnlyTheRectChangesAndAlphaStays) {
    for (uint32_t bytes : {1u, 2u})
        for (uint32_t filter = 0; filter < kBlackAndWhiteFilterCount; ++filter) {
            ImagePtr image = makeNoiseImage(12, 10, 4, bytes, 5 + filter);
            const uint32_t full = bytes == 2 ? 32768 : 255;
            for (int32_t y = 0; y < 10; ++y)
                for (int32_t x = 0; x < 12; ++x) setSample(*image, x, y, 3, (x * 37 + y * 11) % (full + 1));
            ImagePtr before = image->clone();
            const PixelRect rect = {2, 3, 7, 9};
            toBlackAndWhite(*image, rect, filter);
            for (int32_t y = 0; y < 10; ++y)
                for (int32_t x = 0; x < 12; ++x) {
                    const bool inside = y >= rect.top && y < rect.bottom && x >= rect.left && x < rect.right;
                    EXPECT_EQ(sampleAt(*image, x, y, 3), sampleAt(*before, x, y, 3));
                    if (!inside) {
                        for (uint32_t c = 0; c < 3; ++c) EXPECT_EQ(sampleAt(*image, x, y, c), sampleAt(*before, x, y, c));
                    } else {
                        EXPECT_EQ(sampleAt(*image, x, y, 0), sampleAt(*image, x, y, 1));
                        EXPECT_EQ(sampleAt(*image, x, y, 1), sampleAt(*image, x, y, 2));
                        EXPECT_LE(sampleAt(*image, x, y, 0), full);
                    }
                }
        }
}

// A grey stays itself through every filter except the two that drop blue.
TEST(BlackAndWhiteConvertInvariants, GreysStayGrey) {
    for (uint32_t bytes : {1u, 2u})
        for (uint32_t filter = 0; filter < 4; ++filter)
            for (uint32_t level : {0u, 1u, 77u, 128u, 254u, 255u}) {
                const uint32_t value = bytes == 2 ? level * 128 : level;
                ImagePtr image = makeImage(2, 2, 4, bytes, {value, value, value, 9});
                toBlackAndWhite(*image, image->bounds, filter);
                EXPECT_EQ(sampleAt(*image, 1, 1, 0), value) << "filter " << filter << " bytes " << bytes;
            }
}

// The same picture at 8 and 16 bits converts to the same greys, within the rounding of the
// 8-bit luma and its scaling (up to 1 + 1.6 levels for Orange).
TEST(BlackAndWhiteConvertInvariants, EightAndSixteenBitsAgree) {
    ImagePtr image8 = makeNoiseImage(31, 17, 4, 1, 11);
    for (uint32_t filter = 0; filter < kBlackAndWhiteFilterCount; ++filter) {
        ImagePtr grey8 = image8->clone();
        ImagePtr grey16 = widenTo16(*image8);
        toBlackAndWhite(*grey8, grey8->bounds, filter);
        toBlackAndWhite(*grey16, grey16->bounds, filter);
        EXPECT_LE(depthDifference(*grey8, *grey16), 3u) << "filter " << filter;
    }
}

TEST(BlackAndWhiteConvertInvariants, FromSourceIntoDestination) {
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr source = makeNoiseImage(8, 6, 4, bytes, 21);
        ImagePtr inPlace = source->clone();
        toBlackAndWhite(*inPlace, inPlace->bounds, 0);
        ImagePtr destination = makeImage(8, 6, 4, bytes, {1, 2, 3, 4});
        toBlackAndWhite(*source, *destination, destination->bounds, 0);
        EXPECT_EQ(maxDifference(*destination, *inPlace), 0u);
        // An unknown filter copies the source.
        toBlackAndWhite(*source, *destination, destination->bounds, 17);
        EXPECT_EQ(maxDifference(*destination, *source), 0u);
    }
}

}  // namespace
