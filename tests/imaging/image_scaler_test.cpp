// The resampler: exact results of the integer weights on small pictures, the invariants every
// layout keeps, and the destination window that stands for a larger picture.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "imaging/image_scaler.h"
#include "tests/support/effect_harness.h"

namespace {

using fx::ImageScaler;

// A one-channel picture from rows of samples.
ImagePtr grayImage(const std::vector<std::vector<uint32_t>>& rows, uint32_t bytesPerChannel) {
    ImagePtr image = makeImage(int32_t(rows[0].size()), int32_t(rows.size()), 1, bytesPerChannel, {0});
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) setSample(*image, int32_t(x), int32_t(y), 0, rows[y][x]);
    return image;
}

std::vector<std::vector<uint32_t>> rowsOf(const Image& image) {
    std::vector<std::vector<uint32_t>> rows(size_t(image.height), std::vector<uint32_t>(size_t(image.width)));
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) rows[size_t(y)][size_t(x)] = sampleAt(image, x, y, 0);
    return rows;
}

// Expected values worked out from the weights by hand (k scaled to 16384, rounded, the
// remainder on the pixel under the centre; 14 fraction bits kept between the passes).
TEST(ImageScaler, ExactResults) {
    struct Case {
        const char* name;
        std::vector<std::vector<uint32_t>> source;
        uint32_t bytesPerChannel;
        int32_t width, height;
        int quality;
        std::vector<std::vector<uint32_t>> expected;
    };
    const Case cases[] = {
        // Equal sizes: weights 2731, 10922, 2731 (1/6, 4/6, 1/6) on each axis soften an impulse.
        {"cubic at equal size",
         {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 255, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
         1, 5, 5, 2,
         {{0, 0, 0, 0, 0}, {0, 7, 28, 7, 0}, {0, 28, 113, 28, 0}, {0, 7, 28, 7, 0}, {0, 0, 0, 0, 0}}},
        // Halving: the triangle reaches two source pixels either side (weights 2048, 6144, 6144, 2048).
        {"triangle widened when halving", {{10, 50, 200, 30, 90, 250, 0, 120}}, 1, 4, 1, 5, {{54, 104, 131, 87}}},
        {"triangle shrinking by three, 16-bit", {{1000, 32768, 0, 20000, 5, 30000, 7000, 100, 32768}}, 2, 3, 1, 5,
         {{15036, 11888, 13728}}},
        {"cubic enlarging, 16-bit", {{0, 32768, 8000}}, 2, 7, 1, 2, {{3028, 9040, 17592, 23176, 20856, 14824, 10288}}},
        {"cubic enlarging both axes", {{0, 255}, {255, 40}}, 1, 5, 3, 5,
         {{50, 82, 130, 178, 210}, {129, 133, 138, 142, 146}, {208, 183, 145, 107, 82}}},
        {"point at scale 2 repeats every pixel", {{3, 200, 7}, {90, 0, 255}}, 1, 6, 4, 0,
         {{3, 3, 200, 200, 7, 7}, {3, 3, 200, 200, 7, 7}, {90, 90, 0, 0, 255, 255}, {90, 90, 0, 0, 255, 255}}},
        {"triangle at scale 1 copies", {{3, 200, 7}, {90, 0, 255}}, 1, 3, 2, 1, {{3, 200, 7}, {90, 0, 255}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImagePtr source = grayImage(c.source, c.bytesPerChannel);
        ImagePtr destination = makeImage(c.width, c.height, 1, c.bytesPerChannel, {0});
        fx::scaleImage(*source, source->bounds, *destination, c.quality);
        EXPECT_EQ(rowsOf(*destination), c.expected);
    }
}

// Every layout, every quality, shrinking, equal and enlarging: a uniform picture stays uniform,
// and nothing leaves the sample range even where a filter overshoots a step.
TEST(ImageScaler, UniformStaysUniformAndResultsStayInRange) {
    struct Layout {
        uint32_t channels, bytes;
        std::vector<uint32_t> levels;
    };
    // 16-bit levels keep their value when they are multiples of 4: the second pass works on the
    // intermediate with 16 bits dropped, a quarter level.
    const Layout layouts[] = {{1, 1, {0, 1, 128, 255}}, {4, 1, {37, 255}}, {1, 2, {0, 12000, 32768}}, {4, 2, {32768}}};
    const ImageSize sizes[] = {{3, 2}, {17, 11}, {40, 25}};
    for (const Layout& layout : layouts)
        for (uint32_t level : layout.levels)
            for (int quality = 0; quality <= 5; ++quality)
                for (const ImageSize& size : sizes) {
                    SCOPED_TRACE(testing::Message() << layout.channels << "x" << layout.bytes * 8 << " level " << level
                                                    << " quality " << quality << " to " << size.width << "x"
                                                    << size.height);
                    std::initializer_list<uint32_t> pixel = {level, level, level, level};
                    const ImagePtr source =
                        makeImage(17, 11, layout.channels, layout.bytes,
                                  layout.channels == 1 ? std::initializer_list<uint32_t>{level} : pixel);
                    ImagePtr destination = makeImage(size.width, size.height, layout.channels, layout.bytes, {1});
                    fx::scaleImage(*source, source->bounds, *destination, quality);
                    EXPECT_TRUE(isUniform(*destination));
                    EXPECT_EQ(sampleAt(*destination, 0, 0, 0), level);
                }
    // Catmull-Rom overshoots a step on both sides; the results are held to 0..full.
    for (uint32_t bytes : {1u, 2u}) {
        const uint32_t full = bytes == 1 ? 255 : 32768;
        const ImagePtr step = grayImage({{0, 0, full, full}}, bytes);
        ImagePtr destination = makeImage(8, 1, 1, bytes, {1});
        ImageScaler::ImageReadInterface reader(*step);
        ImageScaler::ImageWriteInterface writer(*destination);
        fx::ImageScaler scaler(reader, writer);
        ASSERT_NE(fx::findFilter("catrom"), nullptr);
        scaler.scale({0, 0, 3, 0}, {0, 0, 7, 0}, 2);
        for (int32_t x = 0; x < 8; ++x) EXPECT_LE(sampleAt(*destination, x, 0, 0), full);
        EXPECT_EQ(sampleAt(*destination, 7, 0, 0), full);
    }
}

// A destination window larger than the destination: each piece gets exactly the pixels that a
// destination holding the whole window gets there. This is how grain is drawn tile by tile.
TEST(ImageScaler, PiecesOfAWindowMatchTheWhole) {
    const ImagePtr source = makeNoiseImage(23, 17, 4, 1, 7);
    struct Case {
        int32_t width, height;
        int quality;
    };
    const Case cases[] = {{61, 45, 2}, {50, 40, 5}, {11, 9, 5}, {46, 34, 0}, {23, 17, 2}, {30, 17, 1}};
    const PixelRect pieces[] = {{0, 0, 5, 7}, {3, 10, 20, 13}, {30, 2, 45, 61}, {7, 0, 8, 1}};
    for (const Case& c : cases) {
        ImagePtr whole = makeImage(c.width, c.height, 4, 1, {0});
        fx::scaleImage(*source, source->bounds, *whole, c.quality);
        for (PixelRect piece : pieces) {
            piece = piece.intersected(whole->bounds);
            if (piece.isEmpty()) continue;
            SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " quality " << c.quality << " piece at "
                                            << piece.left << "," << piece.top);
            ImagePtr part = makeImage(piece.width(), piece.height(), 4, 1, {0});
            ImageScaler::ImageReadInterface reader(*source);
            ImageScaler::ImageWriteInterface writer(*part);
            fx::ImageScaler(reader, writer)
                .scale({0, 0, 22, 16}, {-piece.left, -piece.top, c.width - 1 - piece.left, c.height - 1 - piece.top},
                       c.quality);
            const Image expected = viewOf(*whole, piece);
            EXPECT_EQ(maxDifference(*part, expected), 0u);
        }
    }
}

TEST(ImageScaler, FilterTable) {
    ASSERT_EQ(fx::scaleFilterCount(), 14u);
    EXPECT_EQ(fx::findFilter("Cubic"), nullptr);
    EXPECT_EQ(fx::findFilter("lanczos"), nullptr);
    EXPECT_EQ(fx::findFilter(nullptr), nullptr);
    // Interpolating kernels are 1 at 0; non-negative ones never dip below 0.
    for (size_t i = 0; i < fx::scaleFilterCount(); ++i) {
        const fx::ScaleFilter& filter = fx::scaleFilters()[i];
        SCOPED_TRACE(filter.name);
        EXPECT_EQ(fx::findFilter(filter.name), &filter);
        if (filter.interpolating) {
            EXPECT_NEAR(filter.kernel(0.0), 1.0, 1e-12);
        }
        if (filter.nonNegative && filter.support > 0.0) {
            for (double x = -filter.support; x <= filter.support; x += 0.125) EXPECT_GE(filter.kernel(x), -1e-12);
        }
    }
    // The piecewise polynomial kernels sum to 1 over whole steps at any shift: a flat picture
    // gives flat weights before any rounding.
    for (const char* name : {"box", "triangle", "quadratic", "cubic", "catrom", "mitchell"}) {
        const fx::ScaleFilter* filter = fx::findFilter(name);
        ASSERT_NE(filter, nullptr) << name;
        for (double shift : {0.0, 0.25, 0.4, 0.75}) {
            double sum = 0.0;
            for (int j = -4; j <= 4; ++j) sum += filter->kernel(shift + j);
            EXPECT_NEAR(sum, 1.0, 1e-12) << name << " shifted by " << shift;
        }
    }
    EXPECT_NEAR(fx::findFilter("cubic")->kernel(0.0), 4.0 / 6.0, 1e-15);
    EXPECT_NEAR(fx::findFilter("cubic")->kernel(1.0), 1.0 / 6.0, 1e-15);
    // Quality to filter, per axis.
    EXPECT_STREQ(ImageScaler::filterFor(5, 10, 5)->name, "triangle");
    EXPECT_STREQ(ImageScaler::filterFor(5, 10, 10)->name, "cubic");
    EXPECT_STREQ(ImageScaler::filterFor(5, 10, 20)->name, "cubic");
    EXPECT_STREQ(ImageScaler::filterFor(4, 10, 20)->name, "point");
    EXPECT_STREQ(ImageScaler::filterFor(3, 10, 20)->name, "cubic");
    EXPECT_EQ(ImageScaler::filterFor(6, 10, 20), nullptr);
    EXPECT_EQ(ImageScaler::filterFor(-1, 10, 20), nullptr);
}

TEST(ImageScaler, RefusesWhatItCannotScale) {
    const ImagePtr gray8 = makeImage(4, 4, 1, 1, {9});
    const ImagePtr gray16 = makeImage(4, 4, 1, 2, {9});
    const ImagePtr rgba8 = makeImage(4, 4, 4, 1, {9, 9, 9, 9});
    ImagePtr out8 = makeImage(4, 4, 1, 1, {9});
    struct Case {
        const char* name;
        const Image& source;
        PixelRect rect;
        Image& destination;
        int quality;
    };
    const Case cases[] = {
        {"sample sizes differ", *gray16, gray16->bounds, *out8, 2},
        {"channels differ", *rgba8, rgba8->bounds, *out8, 2},
        {"empty source", *gray8, {1, 1, 1, 3}, *out8, 2},
        {"source outside the image", *gray8, {0, 0, 4, 5}, *out8, 2},
        {"no such quality", *gray8, gray8->bounds, *out8, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(fx::scaleImage(c.source, c.rect, c.destination, c.quality), std::invalid_argument);
        EXPECT_EQ(sampleAt(*out8, 0, 0, 0), 9u);
    }
}

}  // namespace
