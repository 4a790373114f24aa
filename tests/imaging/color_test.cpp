#include "imaging/color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "imaging/color_correct.h"
#include "imaging/sample_traits.h"
#include "tests/support/effect_harness.h"

namespace {

// ---- toneAdjust --------------------------------------------------------------------------

struct ToneCase {
    double x, gain, contrast, bend, expected;
};

TEST(ToneAdjust, WorkedValues) {
    const ToneCase cases[] = {
        // No adjustment: the input, clamped.
        ToneCase{0.3, 0, 0, 0, 0.3}, ToneCase{1.2, 0, 0, 0, 1.0}, ToneCase{-0.1, 0, 0, 0, 0.0},
        // Contrast 1 or more is a hard threshold at 0.5.
        ToneCase{0.7, 0, 1, 0, 1.0}, ToneCase{0.3, 0, 1, 0, 0.0}, ToneCase{0.5, 0, 1, 0, 1.0},
        ToneCase{0.4999, 0, 1.5, 0, 0.0},
        // Gain multiplies by 1 + gain.
        ToneCase{0.4, 0.5, 0, 0, 0.6}, ToneCase{0.8, 0.5, 0, 0, 1.0}, ToneCase{0.8, -0.5, 0, 0, 0.4},
        // Contrast stretches or flattens around 0.5.
        ToneCase{0.6, 0, 0.5, 0, 0.7}, ToneCase{0.9, 0, 0.5, 0, 1.0}, ToneCase{0.9, 0, -0.5, 0, 0.7},
        ToneCase{0.1, 0, -1, 0, 0.5},
        // Bend 0.5 at 0.25: q = 0.25 + 0.5, x = (sqrt(0.75) - 0.625) / 0.5.
        ToneCase{0.25, 0, 0, 0.5, 0.48205080756887719},
        // Gain after bend.
        ToneCase{0.25, 1.0, 0, 0.5, 0.96410161513775439}};
    for (const ToneCase& c : cases)
        EXPECT_DOUBLE_EQ(toneAdjust(c.x, c.gain, c.contrast, c.bend), c.expected)
            << "x " << c.x << " gain " << c.gain << " contrast " << c.contrast << " bend " << c.bend;
}

TEST(ToneAdjust, BendKeepsBlackAndWhite) {
    for (double bend : {0.1, 0.25, 0.5, 0.75, 0.9, 0.99}) {
        EXPECT_EQ(toneAdjust(0.0, 0, 0, bend), 0.0) << bend;
        EXPECT_DOUBLE_EQ(toneAdjust(1.0, 0, 0, bend), 1.0) << bend;
        EXPECT_GT(toneAdjust(0.5, 0, 0, bend), 0.5) << bend;
        EXPECT_LT(toneAdjust(0.5, 0, 0, -bend), 0.5) << bend;
    }
}

// ---- rgbToHsv / hsvToRgb -----------------------------------------------------------------

struct HsvCase {
    float r, g, b;
    float h, s, v;
};

// Both ways between the two.
TEST(ColorHsv, WorkedValues) {
    const HsvCase cases[] = {{1, 0, 0, 0, 1, 1},       {1, 1, 0, 60, 1, 1},     {0, 1, 0, 120, 1, 1},
                             {0, 1, 1, 180, 1, 1},     {0, 0, 1, 240, 1, 1},    {1, 0, 1, 300, 1, 1},
                             {1, 0, 0.5f, 330, 1, 1},  {1, 0.5f, 0, 30, 1, 1},  {0.5f, 1, 0, 90, 1, 1},
                             {0.8f, 0.4f, 0.4f, 0, 0.5f, 0.8f},
                             // Greys have no hue.
                             {0.5f, 0.5f, 0.5f, -1, 0, 0.5f}, {0, 0, 0, -1, 0, 0}, {1, 1, 1, -1, 0, 1}};
    for (const HsvCase& c : cases) {
        const Hsv hsv = rgbToHsv(c.r, c.g, c.b);
        const Rgb rgb = hsvToRgb(c.h, c.s, c.v);
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b);
        EXPECT_FLOAT_EQ(hsv.h, c.h);
        EXPECT_FLOAT_EQ(hsv.s, c.s);
        EXPECT_FLOAT_EQ(hsv.v, c.v);
        EXPECT_FLOAT_EQ(rgb.r, c.r);
        EXPECT_FLOAT_EQ(rgb.g, c.g);
        EXPECT_FLOAT_EQ(rgb.b, c.b);
    }
}

TEST(ColorHsv, FullCircleAndGreyInputsOfHsvToRgb) {
    const Rgb wrapped = hsvToRgb(360.0f, 1.0f, 1.0f);
    EXPECT_EQ(wrapped.r, 1.0f);
    EXPECT_EQ(wrapped.g, 0.0f);
    EXPECT_EQ(wrapped.b, 0.0f);
    // No hue, or no saturation, gives the grey of the value whatever the other field.
    for (const Rgb& grey : {hsvToRgb(-1.0f, 0.7f, 0.3f), hsvToRgb(200.0f, 0.0f, 0.3f)}) {
        EXPECT_EQ(grey.r, 0.3f);
        EXPECT_EQ(grey.g, 0.3f);
        EXPECT_EQ(grey.b, 0.3f);
    }
}

TEST(ColorHsv, EightBitColoursRoundTrip) {
    const float scale = 1.0f / 255.0f;
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                const Hsv hsv = rgbToHsv(r * scale, g * scale, b * scale);
                ASSERT_TRUE(hsv.h == -1.0f || (hsv.h >= 0.0f && hsv.h < 360.0f)) << r << " " << g << " " << b;
                const Rgb rgb = hsvToRgb(hsv.h, hsv.s, hsv.v);
                EXPECT_EQ(std::lround(rgb.r * 255.0f), r);
                EXPECT_EQ(std::lround(rgb.g * 255.0f), g);
                EXPECT_EQ(std::lround(rgb.b * 255.0f), b);
            }
}

// ---- warmCoolShift -----------------------------------------------------------------------

struct PixelCase {
    const char* name;
    uint32_t bytesPerChannel;
    double amount;
    std::vector<uint32_t> in;
    std::vector<uint32_t> out;
};

TEST(ColorWarmCoolShift, ShiftsRedAgainstBlue) {
    const PixelCase cases[] = {
        {"cool 1.0 8-bit", 1, 1.0, {255, 128, 0, 200}, {0, 128, 255, 200}},
        {"cool 1.0 16-bit", 2, 1.0, {32768, 16384, 0, 1234}, {0, 16384, 32768, 1234}},
        {"cool 0.1 8-bit", 1, 0.1, {100, 50, 100, 9}, {75, 50, 125, 9}},
        {"zero", 1, 0.0, {10, 20, 30, 40}, {10, 20, 30, 40}},
    };
    for (const PixelCase& c : cases) {
        ImagePtr image = makeImage(3, 2, 4, c.bytesPerChannel, {c.in[0], c.in[1], c.in[2], c.in[3]});
        warmCoolShift(*image, image->bounds, c.amount);
        for (int32_t y = 0; y < image->height; ++y)
            for (int32_t x = 0; x < image->width; ++x) EXPECT_EQ(pixelAt(*image, x, y), c.out) << c.name;
    }
}

// ---- adjustChannelTable ------------------------------------------------------------------

template <class Sample>
std::vector<Sample> identityTable() {
    std::vector<Sample> table(SampleTraits<Sample>::tableSize);
    for (size_t i = 0; i < table.size(); ++i) table[i] = Sample(i);
    return table;
}

struct TableCase {
    double amount;
    bool multiply;
    uint32_t level;
    uint32_t expected8;
    uint32_t expected16;  // at the level scaled to 16 bits (level x 128)
};

TEST(ColorAdjustChannelTable, OnTheIdentityRamp) {
    const TableCase cases[] = {
        {0.0, true, 200, 0, 0},           // multiply by 0: black
        {0.0, true, 255, 0, 0},
        {0.5, true, 255, 127, 16320},     // 255 x 0.5 truncated; 32640 x 0.5
        {2.0, true, 200, 255, 32768},     // clamped to full
        {0.5, false, 100, 150, 19200},    // adds half of the level
        {0.5, false, 200, 255, 32768},
        {-0.5, false, 101, 50, 6464},     // 101 - 50.5 truncated
        {-2.0, false, 50, 0, 0},
        {0.0, false, 77, 77, 9856},       // amount 0 adds nothing
    };
    for (const TableCase& c : cases) {
        auto table8 = identityTable<uint8_t>();
        adjustChannelTable(table8.data(), c.amount, c.multiply);
        EXPECT_EQ(table8[c.level], c.expected8) << c.amount << (c.multiply ? " multiply" : " add");
        auto table16 = identityTable<uint16_t>();
        adjustChannelTable(table16.data(), c.amount, c.multiply);
        EXPECT_EQ(table16[c.level * 128], c.expected16) << c.amount << (c.multiply ? " multiply" : " add");
    }
    auto black = identityTable<uint16_t>();
    adjustChannelTable(black.data(), 0.0, true);
    for (uint16_t v : black) ASSERT_EQ(v, 0);
}

// ---- colorCorrect ------------------------------------------------------------------------

struct CorrectCase {
    const char* name;
    uint32_t bytesPerChannel;
    double hueShift, saturation, gain, contrast, bend, red, green, blue;
    bool multiply;
    std::vector<uint32_t> in;
    std::vector<uint32_t> out;
};

TEST(ColorCorrect, WorkedPixels) {
    const CorrectCase cases[] = {
        CorrectCase{"hue +120 turns red to green", 1, 120, 0, 0, 0, 0, 0, 0, 0, false, {255, 0, 0, 99}, {0, 255, 0, 99}},
        CorrectCase{"hue +120 at 16 bits", 2, 120, 0, 0, 0, 0, 0, 0, 0, false, {32768, 0, 0, 5}, {0, 32768, 0, 5}},
        CorrectCase{"hue -120 wraps below 0", 1, -120, 0, 0, 0, 0, 0, 0, 0, false, {255, 0, 0, 255}, {0, 0, 255, 255}},
        CorrectCase{"hue +300 wraps above 360", 1, 300, 0, 0, 0, 0, 0, 0, 0, false, {0, 0, 255, 255},
                    {0, 255, 255, 255}},
        CorrectCase{"saturation -1 gives the grey of the value", 1, 0, -1, 0, 0, 0, 0, 0, 0, false, {255, 0, 0, 1},
                    {255, 255, 255, 1}},
        CorrectCase{"hue leaves greys", 1, 90, 0.5, 0, 0, 0, 0, 0, 0, false, {77, 77, 77, 255}, {77, 77, 77, 255}},
        CorrectCase{"hue leaves greys at 16 bits", 2, 90, 0.5, 0, 0, 0, 0, 0, 0, false, {12345, 12345, 12345, 32768},
                    {12345, 12345, 12345, 32768}},
        CorrectCase{"gain 0.5", 1, 0, 0, 0.5, 0, 0, 0, 0, 0, false, {102, 0, 200, 255}, {153, 0, 255, 255}},
        CorrectCase{"gain 0.5 at 16 bits", 2, 0, 0, 0.5, 0, 0, 0, 0, 0, false, {16384, 0, 30000, 32768},
                    {24576, 0, 32768, 32768}},
        CorrectCase{"contrast 1 thresholds", 1, 0, 0, 0, 1, 0, 0, 0, 0, false, {127, 128, 200, 3}, {0, 255, 255, 3}},
        CorrectCase{"red amount adds half the level", 1, 0, 0, 0, 0, 0, 0.5, 0, 0, false, {100, 100, 100, 255},
                    {150, 100, 100, 255}},
        CorrectCase{"blue amount at 16 bits", 2, 0, 0, 0, 0, 0, 0, 0, -0.25, false, {16384, 16384, 16384, 32768},
                    {16384, 16384, 12288, 32768}},
        CorrectCase{"multiply by zero amounts is black", 1, 0, 0, 0, 0, 0, 0, 0, 0, true, {10, 200, 255, 42},
                    {0, 0, 0, 42}},
        CorrectCase{"multiply each channel", 2, 0, 0, 0, 0, 0, 1, 0.5, 2, true, {16384, 16384, 16384, 7},
                    {16384, 8192, 32768, 7}}};
    for (const CorrectCase& c : cases) {
        ImagePtr image = makeImage(3, 2, 4, c.bytesPerChannel, {c.in[0], c.in[1], c.in[2], c.in[3]});
        colorCorrect(*image, image->bounds, c.hueShift, c.saturation, c.gain, c.contrast, c.bend, c.red, c.green,
                     c.blue, c.multiply);
        EXPECT_TRUE(isUniform(*image)) << c.name;
        EXPECT_EQ(pixelAt(*image, 1, 1), c.out) << c.name;
    }
}

TEST(ColorCorrect, TouchesOnlyTheRectAndNeverAlpha) {
    ImagePtr image = makeNoiseImage(9, 7, 4, 2, 11);
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 9; ++x) setSample(*image, x, y, 3, uint32_t(x * 1000 + y));
    ImagePtr original = image->clone();
    colorCorrect(*image, {2, 1, 5, 6}, 45, 0.3, 0.2, 0.1, 0.1, 0.1, -0.1, 0.05, false);
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 9; ++x) {
            EXPECT_EQ(sampleAt(*image, x, y, 3), sampleAt(*original, x, y, 3));
            if (y < 2 || y >= 5 || x < 1 || x >= 6) {
                EXPECT_EQ(pixelAt(*image, x, y), pixelAt(*original, x, y));
            }
        }
    EXPECT_NE(maxDifference(*image, *original), 0u);
}

TEST(ColorCorrect, GreyImageIsNotAColourLayout) {
    ImagePtr image = makeNoiseImage(5, 5, 1, 1, 2);
    ImagePtr original = image->clone();
    colorCorrect(*image, image->bounds, 30, 0.5, 0.5, 0, 0, 0.2, 0, 0, false);
    warmCoolShift(*image, image->bounds, 0.5);
    EXPECT_EQ(maxDifference(*image, *original), 0u);
}

}  // namespace
