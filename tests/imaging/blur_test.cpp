#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "imaging/blur.h"
#include "imaging/image.h"
#include "tests/support/effect_harness.h"

namespace {

// ---------------------------------------------------------------------------------------
// Reference: the line filter written out step by step as the running sum that adds and
// drops weighted taps one at a time (plain divisions at the ends, the reciprocal in the
// interior), applied to rows and then to columns walked down one at a time.

void referenceLine(std::vector<int64_t>& s, float radius, bool is16) {
    const int64_t length = int64_t(s.size());
    const float whole = std::ceil(radius);
    float fraction = whole - radius;
    if (fraction > 0.0f) fraction = 1.0f - fraction;
    int64_t n = std::min<int64_t>(int64_t(whole), length / 2 - 1);
    if (int64_t(std::floor(radius)) == n) ++n;
    n = std::min<int64_t>(n, (length - 1) / 2);  // lines too short: outer taps stay inside
    if (n < 1) return;
    const int64_t unit = is16 ? 65536 : 256;
    const int64_t a = int64_t(double(fraction) * double(unit));
    const int64_t b = unit - a;
    const int64_t full = (2 * n - 1) * unit + 2 * a;
    auto interior = [&](int64_t sum) -> int64_t {
        if (!is16) {
            const uint32_t inv = uint32_t((1u << 23) / uint32_t(full));
            return (uint32_t(sum) * inv + 255u * ((1u << 23) - inv * uint32_t(full))) >> 23;
        }
        const uint64_t one = uint64_t(1) << 47;
        const uint64_t inv = one / uint64_t(full);
        return int64_t((uint64_t(sum) * inv + 65535 * (one - inv * uint64_t(full))) >> 47);
    };
    const int64_t L = length;
    std::vector<int64_t> o(size_t(L), 0);
    int64_t sum = 0;
    for (int64_t k = 0; k < n; ++k) sum += unit * s[k];
    sum += a * s[n];
    int64_t d = n * unit + a;
    o[0] = sum / d;
    for (int64_t i = 1; i <= n - 1; ++i) {
        sum += b * s[i + n - 1] + a * s[i + n];
        d += unit;
        o[i] = sum / d;
    }
    sum += b * s[2 * n - 1] + a * s[2 * n] - b * s[0];
    o[n] = sum / (d + a);
    for (int64_t i = n + 1; i <= L - n - 1; ++i) {
        sum += b * s[i + n - 1] - a * s[i - n - 1] + a * s[i + n] - b * s[i - n];
        o[i] = interior(sum);
    }
    sum += b * s[L - 1] - a * s[L - 2 * n - 1] - b * s[L - 2 * n];
    int64_t e = full - a;
    o[L - n] = sum / e;
    for (int64_t i = L - n + 1; i <= L - 1; ++i) {
        sum -= a * s[i - n - 1] + b * s[i - n];
        e -= unit;
        o[i] = sum / e;
    }
    s = o;
}

void referenceBlur(Image& image, const PixelRect& rect, float horizontalSize, float verticalSize,
                   uint32_t extraPasses) {
    // Every line of one direction in turn: rows first, then columns.
    auto filterLines = [&](float size, bool rows) {
        if (!(size * 0.5f > 0.0f)) return;
        const int32_t lines = rows ? rect.height() : rect.width(), length = rows ? rect.width() : rect.height();
        std::vector<int64_t> line(static_cast<size_t>(length));
        for (uint32_t pass = 0; pass <= extraPasses; ++pass)
            for (int32_t l = 0; l < lines; ++l)
                for (uint32_t c = 0; c < image.channels; ++c) {
                    auto at = [&](int32_t i) {
                        return rows ? std::pair{rect.left + i, rect.top + l} : std::pair{rect.left + l, rect.top + i};
                    };
                    for (int32_t i = 0; i < length; ++i) line[size_t(i)] = sampleAt(image, at(i).first, at(i).second, c);
                    referenceLine(line, size * 0.5f, image.is16());
                    for (int32_t i = 0; i < length; ++i)
                        setSample(image, at(i).first, at(i).second, c, uint32_t(line[size_t(i)]));
                }
    };
    filterLines(horizontalSize, true);
    filterLines(verticalSize, false);
}

// ---------------------------------------------------------------------------------------

// Every sample (alpha included) set to value.
ImagePtr filledImage(int32_t width, int32_t height, Layout layout, uint32_t value) {
    ImagePtr image = ImagePtr::make({width, height}, layout.channels, layout.bytes);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (uint32_t c = 0; c < layout.channels; ++c) setSample(*image, x, y, c, value);
    return image;
}


ImagePtr referenceBlurred(const Image& source, const PixelRect& rect, float horizontal, float vertical,
                          uint32_t extraPasses = 0) {
    ImagePtr copy = source.clone();
    referenceBlur(*copy, rect, horizontal, vertical, extraPasses);
    return copy;
}

std::vector<uint32_t> rowOf(const Image& image, int32_t y, uint32_t c = 0) {
    std::vector<uint32_t> values;
    for (int32_t x = 0; x < image.width; ++x) values.push_back(sampleAt(image, x, y, c));
    return values;
}

// ---------------------------------------------------------------------------------------

TEST(Blur, SetSizeReportsChanges) {
    Blur blur;
    EXPECT_TRUE(blur.setSize(3.0f, 0.0f));
    EXPECT_FALSE(blur.setSize(3.0f, 0.0f));
    EXPECT_TRUE(blur.setSize(3.0f, 0.5f));
    EXPECT_TRUE(blur.setSize(3.25f, 0.5f));
}

// An impulse shows the kernel: whole radii are plain boxes, half radii add half-weight taps.
// Near the ends the window is cut and renormalised, nothing mirrored: an impulse at the start of a
// line averages only what lies inside (200 / 3, 200 / 4, then a full window's plain 200 / 5).
TEST(Blur, ImpulseShowsTheBox) {
    struct Case {
        uint32_t bytes;
        uint32_t impulse;
        int32_t at;
        float size;
        std::vector<uint32_t> around;  // samples at - 6 .. at + 6 (from 0) of a 21-sample row
    };
    const Case cases[] = {
        {1, 250, 10, 4.0f, {0, 0, 0, 0, 50, 50, 50, 50, 50, 0, 0, 0, 0}},   // r = 2: five taps of 1/5
        {1, 240, 10, 5.0f, {0, 0, 0, 20, 40, 40, 40, 40, 40, 20, 0, 0, 0}},  // r = 2.5: plus two half taps
        {1, 210, 10, 2.0f, {0, 0, 0, 0, 0, 70, 70, 70, 0, 0, 0, 0, 0}},      // r = 1: three taps
        {2, 32000, 10, 4.0f, {0, 0, 0, 0, 6400, 6400, 6400, 6400, 6400, 0, 0, 0, 0}},
        {2, 32000, 10, 5.0f, {0, 0, 0, 2666, 5333, 5333, 5333, 5333, 5333, 2666, 0, 0, 0}},
        {1, 200, 0, 4.0f, {66, 50, 40, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ImagePtr image = makeImage(21, 1, 1, c.bytes, {0});
        setSample(*image, c.at, 0, 0, c.impulse);
        const std::vector<uint32_t> row = rowOf(*blurred(*image, image->bounds, c.size, 0.0f), 0);
        const int32_t from = std::max(0, c.at - 6);
        EXPECT_EQ(std::vector<uint32_t>(row.begin() + from, row.begin() + c.at + 7), c.around)
            << c.bytes << "-byte samples, size " << c.size << " at " << c.at;
    }
}

TEST(Blur, ConstantImageStaysExactlyConstant) {
    struct Case {
        uint32_t bytes;
        std::vector<uint32_t> values;
        std::vector<float> sizes;
    };
    const Case cases[] = {
        {1, {255}, {0.7f, 1.0f, 2.0f, 5.0f, 9.5f, 40.0f, 201.0f, 300.0f}},
        {1, {0, 1, 77, 128, 254}, {0.7f, 1.0f, 2.0f, 5.0f, 9.5f, 40.0f, 99.0f}},
        {2, {32768, 0, 1, 12345, 32767}, {0.7f, 1.0f, 2.0f, 5.0f, 9.5f, 40.0f, 201.0f, 300.0f}},
    };
    for (const Case& c : cases)
        for (uint32_t channels : {1u, 4u})
            for (uint32_t value : c.values) {
                ImagePtr image = filledImage(173, 167, {channels, c.bytes}, value);
                for (float size : c.sizes) {
                    ImagePtr result = blurred(*image, image->bounds, size, size, 1);
                    EXPECT_EQ(maxDifference(*result, *image), 0u)
                        << channels << "x" << c.bytes << " value " << value << " size " << size;
                }
            }
}

TEST(Blur, SizesOfZeroOrLessLeaveTheImageAlone) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Layout layout : kLayouts) {
        ImagePtr image = makeRandomImage(30, 20, layout.channels, layout.bytes, 3);
        for (const auto& [h, v] : {std::pair{0.0f, 0.0f}, {-4.0f, -1.0f}, {-0.0f, 0.0f}, {nan, nan}})
            EXPECT_EQ(maxDifference(*blurred(*image, image->bounds, h, v, 2), *image), 0u);
    }
}

// The prefix sums along rows and the running sums over strips of columns give the bits of the
// plain line-by-line filter, half radii, several passes and strip seams included (1100 columns
// split four-channel rows into several strips); so each direction touches only its own lines,
// alpha goes through the same kernel as the colours, and every horizontal pass comes before the
// first vertical one. On lines of 1 to 4 samples the window never
// leaves the line, and lines of 1 and 2 samples are left alone.
TEST(Blur, MatchesTheLineByLineFilter) {
    struct Case {
        int32_t width;
        int32_t height;
        float horizontal;
        float vertical;
        uint32_t extraPasses;
        int changes;  // 1: the image changes, 0: it does not, -1: not checked
    };
    const Case cases[] = {
        {1, 1, 9.0f, 9.0f, 0, 0},          {1, 17, 0.0f, 0.5f, 0, 1},      {2, 17, 9.0f, 0.0f, 0, 0},
        {17, 2, 0.0f, 1.5f, 0, 0},         {3, 9, 0.5f, 0.0f, 0, 1},       {9, 3, 0.0f, 0.9f, 0, 1},
        {3, 9, 2.0f, 0.0f, 0, 0},          {9, 3, 0.0f, 7.0f, 0, 0},       {4, 9, 2.0f, 0.0f, 0, 0},
        {4, 9, 3.0f, 0.0f, 0, 1},          {9, 4, 0.0f, 2.5f, 0, 1},       {5, 5, 40.0f, 40.0f, 0, 0},
        {5, 5, 41.0f, 41.0f, 0, 1},        {17, 1, 3.0f, 3.0f, 0, 1},      {1, 17, 3.0f, 0.0f, 0, 0},
        {64, 48, 2.0f, 2.0f, 0, -1},       {61, 37, 2.5f, 5.0f, 1, -1},    {131, 45, 7.3f, 3.1f, 1, -1},
        {47, 140, 20.0f, 41.0f, 0, -1},    {33, 29, 0.6f, 0.2f, 2, -1},    {200, 35, 63.0f, 13.5f, 1, -1},
        {29, 200, 0.0f, 99.0f, 0, -1},     {300, 30, 120.0f, 0.0f, 0, -1}, {90, 70, 1000.0f, 1000.0f, 0, -1},
        {1100, 300, 3.0f, 200.0f, 0, -1},
    };
    for (const Layout layout : kLayouts)
        for (const Case& c : cases)
            for (uint32_t passes : {c.extraPasses, c.extraPasses + 2}) {
                SCOPED_TRACE(testing::Message() << layout.channels << "x" << layout.bytes << " " << c.width << "x"
                                                << c.height << " sizes " << c.horizontal << ", " << c.vertical
                                                << " passes " << passes);
                ImagePtr image =
                    makeRandomImage(c.width, c.height, layout.channels, layout.bytes, uint32_t(c.width * 31 + c.height));
                ImagePtr result = blurred(*image, image->bounds, c.horizontal, c.vertical, passes);
                EXPECT_EQ(maxDifference(*result, *referenceBlurred(*image, image->bounds, c.horizontal, c.vertical,
                                                                   passes)),
                          0u);
                if (c.changes >= 0) {
                    EXPECT_EQ(maxDifference(*result, *image) != 0, c.changes == 1);
                }
            }
}

// The rect's edges behave as the image's edges: the result inside equals the blur of a copy
// cropped to the rect, and nothing outside the rect changes.
TEST(Blur, RectBoundaries) {
    const PixelRect rects[] = {{5, 7, 45, 60}, {0, 0, 3, 80}, {10, 0, 60, 1}, {59, 79, 60, 80}, {20, 30, 20, 50}};
    for (const Layout layout : kLayouts)
        for (const PixelRect& rect : rects) {
            ImagePtr image = makeRandomImage(80, 60, layout.channels, layout.bytes, 23);
            ImagePtr result = blurred(*image, rect, 6.5f, 9.0f, 1);
            for (int32_t y = 0; y < 60; ++y)
                for (int32_t x = 0; x < 80; ++x) {
                    const bool inside = y >= rect.top && y < rect.bottom && x >= rect.left && x < rect.right;
                    if (inside) continue;
                    for (uint32_t c = 0; c < layout.channels; ++c)
                        ASSERT_EQ(sampleAt(*result, x, y, c), sampleAt(*image, x, y, c)) << x << "," << y;
                }
            if (rect.isEmpty()) continue;
            ImagePtr crop = viewOf(*image, rect).clone();
            EXPECT_EQ(maxDifference(viewOf(*result, rect), *blurred(*crop, crop->bounds, 6.5f, 9.0f, 1)), 0u);
        }
}

// A rect reaching past the image is clipped to it; rows with padding keep their padding.
TEST(Blur, ClipsTheRectAndKeepsRowPadding) {
    for (const Layout layout : kLayouts) {
        const uint32_t bpp = layout.channels * layout.bytes;
        const uint32_t rowBytes = 23 * bpp + 5 * layout.bytes;  // padded, samples still aligned
        std::vector<uint8_t> memory(size_t(rowBytes) * 19, 0xA5);
        Image view(23, 19, layout.channels, layout.bytes, rowBytes, memory.data());
        ImagePtr source = makeRandomImage(23, 19, layout.channels, layout.bytes, 29);
        for (int32_t y = 0; y < 19; ++y)
            for (int32_t x = 0; x < 23; ++x)
                for (uint32_t c = 0; c < layout.channels; ++c) setSample(view, x, y, c, sampleAt(*source, x, y, c));
        Blur blur;
        blur.setSize(4.5f, 3.0f);
        blur.apply(view, PixelRect{-5, -5, 100, 100});
        ImagePtr expected = referenceBlurred(*source, source->bounds, 4.5f, 3.0f, 0);
        EXPECT_EQ(maxDifference(view, *expected), 0u);
        for (int32_t y = 0; y < 19; ++y)
            for (uint32_t b = 23 * bpp; b < rowBytes; ++b) ASSERT_EQ(memory[size_t(y) * rowBytes + b], 0xA5);
    }
}

// One blur object serves images of different shapes and sample sizes in turn.
TEST(Blur, ReusedAcrossImages) {
    Blur blur;
    blur.setSize(11.0f, 4.5f);
    blur.setExtraPasses(1);
    const struct {
        int32_t width, height;
        Layout layout;
    } images[] = {{300, 20, {4, 2}}, {20, 300, {1, 1}}, {70, 70, {4, 1}}, {5, 400, {1, 2}}};
    for (const auto& shape : images) {
        ImagePtr image = makeRandomImage(shape.width, shape.height, shape.layout.channels, shape.layout.bytes, 31);
        ImagePtr result = image->clone();
        blur.apply(*result, result->bounds);
        EXPECT_EQ(maxDifference(*result, *referenceBlurred(*image, image->bounds, 11.0f, 4.5f, 1)), 0u);
    }
}

TEST(Blur, RefusesOtherSampleSizes) {
    Image odd(ImageSize{4, 4}, 1, 4);
    Blur blur;
    blur.setSize(2.0f, 2.0f);
    EXPECT_THROW(blur.apply(odd, odd.bounds), std::invalid_argument);
    Image empty(ImageSize{0, 0}, 4, 1);
    EXPECT_NO_THROW(blur.apply(empty, empty.bounds));
}

}  // namespace

// A blur over an area grown by Blur::margin gives the area's pixels exactly as a blur of the
// whole image does, for sizes with and without partial taps, one to three runs, both sample
// sizes, and every position of the area along the line.
TEST(Blur, MarginCoversWhatTheRunsRead) {
    const float sizes[] = {0.4f, 3.0f, 4.6f, 9.7f, 12.5f, 20.0f, 25.3f};
    const int32_t width = 150, height = 3, area = 7;
    for (uint32_t bytes : {1u, 2u})
        for (uint32_t runs : {1u, 2u, 3u})
            for (float size : sizes) {
                ImagePtr image = makeNoiseImage(width, height, 1, bytes, 5);
                Blur blur;
                blur.setExtraPasses(runs - 1);
                blur.setSize(size, 0.0f);
                ImagePtr whole = image->clone();
                blur.apply(*whole, whole->bounds);
                const int32_t margin = Blur::margin(size, runs);
                ASSERT_LT(2 * margin + area, width);
                for (int32_t left = margin; left + area + margin <= width; left += 3) {
                    ImagePtr cut = image->clone();
                    blur.apply(*cut, {0, left - margin, height, left + area + margin});
                    for (int32_t y = 0; y < height; ++y)
                        for (int32_t x = left; x < left + area; ++x)
                            ASSERT_EQ(sampleAt(*cut, x, y, 0), sampleAt(*whole, x, y, 0))
                                << "size " << size << " runs " << runs << " bytes " << bytes << " at " << x;
                }
            }
}
