#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <vector>

#include "imaging/image.h"
#include "imaging/pixel_utils.h"
#include "tests/support/effect_harness.h"

namespace {

TEST(Image, ConstructionSetsTheHeader) {
    Image image(ImageSize{7, 3}, 4, 2);
    EXPECT_EQ(image.rowBytes, 7u * 8u);
    EXPECT_EQ(image.bytesPerPixel, 8u);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_TRUE(image.ownsData);
    EXPECT_NE(image.data, nullptr);
    EXPECT_EQ(image.bounds, (PixelRect{0, 0, 3, 7}));
    Image empty(ImageSize{0, 5}, 1, 1);
    EXPECT_EQ(empty.data, nullptr);
    Image grey(ImageSize{4, 4}, 1, 1);
    EXPECT_FALSE(grey.hasAlpha);
}

TEST(Image, CloneKeepsRowBytesAndPixels) {
    std::vector<uint8_t> memory(10 * 3);
    std::iota(memory.begin(), memory.end(), 0);
    Image view(2, 3, 4, 1, 10, memory.data());  // rows wider than 2 x 4 bytes
    ImagePtr copy = view.clone();
    EXPECT_EQ(copy->rowBytes, 10u);
    EXPECT_EQ(copy->refCount, 1u);
    for (int32_t y = 0; y < 3; ++y) EXPECT_EQ(std::memcmp(copy->row<uint8_t>(y), view.row<uint8_t>(y), 8), 0);
}

TEST(Image, LastHandleOfAViewDoesNotFreeTheMemory) {
    std::vector<uint8_t> memory(16, 9);
    {
        ImagePtr handle(new Image(2, 2, 4, 1, 0, memory.data()));
        ImagePtr second = handle;
        EXPECT_EQ(handle->refCount, 2u);
        EXPECT_FALSE(handle->ownsData);
    }
    EXPECT_EQ(memory[0], 9);  // still ours (AddressSanitizer would object to a free)
}

TEST(PixelUtils, ExpandGreyWritesFullAlpha) {
    for (uint32_t bytes : {1u, 2u}) {
        ImagePtr grey = makeImage(3, 2, 1, bytes, {100});
        ImagePtr rgba = makeImage(3, 2, 4, bytes, {0, 0, 0, 0});
        expandGrayToRGBA(*grey, *rgba, {0, 0, 2, 3});
        const uint32_t full = bytes == 2 ? 32768 : 255;
        for (uint32_t c = 0; c < 3; ++c) EXPECT_EQ(sampleAt(*rgba, 2, 1, c), 100u);
        EXPECT_EQ(sampleAt(*rgba, 2, 1, 3), full);
    }
}

// Tables change the colour samples inside the rect, never alpha; empty rects change nothing.
TEST(PixelUtils, TablesLeaveAlphaAndOutsideAlone) {
    std::vector<uint8_t> invert8(256);
    for (int i = 0; i < 256; ++i) invert8[size_t(i)] = uint8_t(255 - i);
    std::vector<uint16_t> invert16(32769);
    for (int i = 0; i <= 32768; ++i) invert16[size_t(i)] = uint16_t(32768 - i);

    ImagePtr rgba8 = makeImage(4, 4, 4, 1, {10, 20, 30, 40});
    applyLUT(*rgba8, invert8.data(), {1, 1, 3, 3});
    EXPECT_EQ(sampleAt(*rgba8, 1, 1, 0), 245u);
    EXPECT_EQ(sampleAt(*rgba8, 1, 1, 3), 40u);
    EXPECT_EQ(sampleAt(*rgba8, 0, 0, 0), 10u);
    EXPECT_EQ(sampleAt(*rgba8, 3, 3, 0), 10u);

    ImagePtr grey16 = makeImage(2, 2, 1, 2, {1000});
    applyLUT(*grey16, invert16.data(), {0, 0, 2, 2});
    EXPECT_EQ(sampleAt(*grey16, 1, 1, 0), 31768u);

    ImagePtr rgba16 = makeImage(2, 2, 4, 2, {1, 2, 3, 4});
    const uint16_t* tables[3] = {invert16.data(), invert16.data(), invert16.data()};
    applyChannelLUTs(*rgba16, tables, {0, 0, 2, 2});
    EXPECT_EQ(sampleAt(*rgba16, 0, 0, 2), 32765u);
    EXPECT_EQ(sampleAt(*rgba16, 0, 0, 3), 4u);

    const ImagePtr before = rgba8->clone();
    for (PixelRect rect : {PixelRect{2, 0, 2, 3}, PixelRect{0, 2, 3, 1}, PixelRect{3, 3, 0, 0}})
        applyLUT(*rgba8, invert8.data(), rect);
    EXPECT_EQ(maxDifference(*rgba8, *before), 0u);
}

}  // namespace
