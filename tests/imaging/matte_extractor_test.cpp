#include "imaging/matte_extractor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "imaging/matte_morphology.h"
#include "tests/support/effect_harness.h"

namespace {

// A one-row, one-channel image holding the given samples.
ImagePtr makeLine(uint32_t bytesPerChannel, const std::vector<uint32_t>& samples) {
    ImagePtr image = ImagePtr::make({int32_t(samples.size()), 1}, 1, bytesPerChannel);
    for (size_t x = 0; x < samples.size(); ++x) setSample(*image, int32_t(x), 0, 0, samples[x]);
    return image;
}

std::vector<uint32_t> lineOf(const Image& image) {
    std::vector<uint32_t> samples;
    for (int32_t x = 0; x < image.width; ++x) samples.push_back(sampleAt(image, x, 0, 0));
    return samples;
}

ImagePtr buildWhole(MatteExtractor& extractor, const Image& source, MatteBuildContext context = {}) {
    return extractor.build(source, source.bounds, context);
}

// The matte of a ramp through a new extractor's identity window: the clip stretch alone.
std::vector<uint32_t> stretchOf(float black, float white, uint32_t depth) {
    const int32_t size = int32_t(fullScale(depth)) + 1;
    ImagePtr ramp = ImagePtr::make({size, 1}, 1, depth);
    for (int32_t v = 0; v < size; ++v) setSample(*ramp, v, 0, 0, uint32_t(v));
    MatteExtractor extractor;
    extractor.setClip(black, white);
    return lineOf(*buildWhole(extractor, *ramp));
}

}  // namespace

// Each measure of one coloured pixel, with the identity window of a new extractor.
TEST(MatteExtractor, MeasuresOfOnePixel) {
    struct Case {
        MatteMeasure measure;
        uint32_t expected8;   // of (200, 100, 50)
        uint32_t expected16;  // of (25700, 12850, 6425), the same colour
    };
    const Case cases[] = {
        {MatteMeasure::Luminance, 124, 15959}, {MatteMeasure::Hue, 14, 1820},      {MatteMeasure::Saturation, 191, 24576},
        {MatteMeasure::Average, 116, 14991},   {MatteMeasure::Red, 200, 25700},    {MatteMeasure::Green, 100, 12850},
        {MatteMeasure::Blue, 50, 6425},        {MatteMeasure::Cyan, 75, 9637},     {MatteMeasure::Magenta, 125, 16062},
        {MatteMeasure::Yellow, 150, 19275},
    };
    const ImagePtr source8 = makeImage(3, 2, 4, 1, {200, 100, 50, 255});
    const ImagePtr source16 = makeImage(3, 2, 4, 2, {25700, 12850, 6425, 32768});
    for (const Case& c : cases) {
        MatteExtractor extractor;
        extractor.setExtractOn(uint32_t(c.measure));
        const ImagePtr matte8 = buildWhole(extractor, *source8);
        const ImagePtr matte16 = buildWhole(extractor, *source16);
        ASSERT_EQ(matte8->channels, 1u);
        ASSERT_EQ(matte16->bytesPerChannel, 2u);
        EXPECT_EQ(sampleAt(*matte8, 2, 1, 0), c.expected8) << "measure " << uint32_t(c.measure);
        EXPECT_EQ(sampleAt(*matte16, 2, 1, 0), c.expected16) << "measure " << uint32_t(c.measure);
    }
}

// The window rises from 0 to the position and falls after it (its levels at the ends and the
// peak are tested through Matte Generator).
TEST(MatteExtractor, DefaultWindowOn16Bits) {
    MatteExtractor extractor;
    ASSERT_TRUE(extractor.update(MatteSettings{}, 2));
    const uint16_t* table = extractor.table16();
    for (int32_t v = 1; v <= 16384; ++v) EXPECT_GE(table[v], table[v - 1]) << v;
    for (int32_t v = 16385; v <= 32768; ++v) EXPECT_LE(table[v], table[v - 1]) << v;
}

TEST(MatteExtractor, ClipBlackFiftyStretchesFrom127) {
    const std::vector<uint32_t> stretch = stretchOf(0.5f, 0.0f, 1);
    for (uint32_t v = 0; v < 127; ++v) EXPECT_EQ(stretch[v], 0u) << v;
    const uint32_t points[][2] = {{127, 0}, {128, 1}, {191, 127}, {254, 253}, {255, 255}};
    for (const auto& p : points) EXPECT_EQ(stretch[p[0]], p[1]) << p[0];
    for (uint32_t v = 128; v < 256; ++v) EXPECT_GT(stretch[v], stretch[v - 1]) << v;

    // Through the group, the stretch applies to the window's levels.
    MatteSettings settings = MatteSettings{};
    MatteExtractor plain;
    plain.update(settings, 1);
    settings.clipBlack = 0.5f;
    MatteExtractor clipped;
    clipped.update(settings, 1);
    EXPECT_EQ(clipped.clipLow(), 0.5f);
    for (int32_t v = 0; v < 256; ++v) EXPECT_EQ(clipped.table8()[v], stretch[plain.table8()[v]]) << v;
}

TEST(MatteExtractor, ClipsThatMeetAreAHardThreshold) {
    struct Case {
        float black, white;
        uint32_t depth;
        float low;
        uint32_t threshold;  // the first level that becomes full
    };
    const Case cases[] = {
        {0.6f, 0.6f, 1, 1.0f - 0.6f, 102},    // low lowered so that low + white = 1
        {0.6f, 0.6f, 2, 1.0f - 0.6f, 13108},
        {0.5f, 0.5f, 1, 0.5f, 128},
        {0.5f, 0.5f, 2, 0.5f, 16384},         // L and H coincide: the threshold is at L
        {1.0f, 0.0f, 1, 1.0f, 255},
        {0.9f, 0.5f, 2, 0.5f, 16384},
    };
    for (const Case& c : cases) {
        MatteExtractor extractor;
        extractor.setClip(c.black, c.white);
        EXPECT_EQ(extractor.clipLow(), c.low);
        const std::vector<uint32_t> stretch = stretchOf(c.black, c.white, c.depth);
        for (uint32_t v = 0; v < stretch.size(); ++v)
            ASSERT_EQ(stretch[v], v < c.threshold ? 0u : fullScale(c.depth)) << c.black << "/" << c.white << " at " << v;
    }
}

TEST(MatteExtractor, GreyHasNoHue) {
    MatteSettings settings = MatteSettings{};
    settings.extractOn = uint32_t(MatteMeasure::Hue);
    settings.position = 0.0f;  // the window is full at hue 0 (red) and at a measure of 0
    for (uint32_t depth : {1u, 2u}) {
        const uint32_t full = fullScale(depth);
        MatteExtractor extractor;
        extractor.update(settings, depth);
        ASSERT_EQ(depth == 2 ? extractor.table16()[0] : extractor.table8()[0], full);
        struct Case {
            uint32_t r, g, b, matte;
        };
        const Case cases[] = {{0, 0, 0, 0}, {full / 2, full / 2, full / 2, 0}, {full, full, full, 0}, {full, 0, 0, full}};
        for (const Case& c : cases) {
            const ImagePtr source = makeImage(1, 1, 4, depth, {c.r, c.g, c.b, full});
            EXPECT_EQ(sampleAt(*buildWhole(extractor, *source), 0, 0, 0), c.matte) << depth << " " << c.r << c.g << c.b;
        }
    }
}

TEST(MatteExtractor, ShrinkAtHalfScaleIsOnePixel) {
    MatteSettings settings = MatteSettings{};
    settings.extractOn = uint32_t(MatteMeasure::Red);
    settings.shrinkGrow = -2.0f;
    for (uint32_t depth : {1u, 2u}) {
        const uint32_t full = fullScale(depth);
        MatteExtractor extractor;
        extractor.update(settings, depth);
        // Red measures the red channel; the window at 0.5 +- 0.5 leaves a white square
        // of measure full / 2 and takes everything else to 0.
        ImagePtr source = makeImage(9, 9, 4, depth, {0, 0, 0, full});
        for (int32_t y = 2; y <= 6; ++y)
            for (int32_t x = 2; x <= 6; ++x) setSample(*source, x, y, 0, full / 2);
        MatteBuildContext context;
        context.scaleX = context.scaleY = 0.5;
        const ImagePtr matte = buildWhole(extractor, *source, context);
        const uint32_t peak = sampleAt(*matte, 4, 4, 0);
        EXPECT_GT(peak, full * 9 / 10);
        for (int32_t y = 0; y < 9; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                const bool inside = x >= 3 && x <= 5 && y >= 3 && y <= 5;
                EXPECT_EQ(sampleAt(*matte, x, y, 0), inside ? peak : 0) << depth << " " << x << "," << y;
            }
    }
}

TEST(MatteMorphology, FractionalEdgesFollowTheirRules) {
    struct Case {
        const char* what;
        double amount;
        std::vector<uint32_t> in, out;
    };
    const Case cases[] = {
        {"grow 1.5: outer taps at half weight", 1.5, {0, 0, 0, 0, 200, 0, 0, 0, 0}, {0, 0, 100, 200, 200, 200, 100, 0, 0}},
        // An edge sample below v x w sets v to its weighted level, which may be darker than itself.
        {"shrink 1.5", -1.5, {255, 255, 255, 255, 100, 255, 255, 255, 255}, {255, 255, 50, 100, 100, 100, 50, 255, 255}},
        {"radius past the line", 40.0, {10, 20, 30, 40}, {40, 40, 40, 40}},
    };
    for (uint32_t depth : {1u, 2u}) {
        for (const Case& c : cases) {
            const ImagePtr in = makeLine(depth, c.in);
            ImagePtr out = makeLine(depth, std::vector<uint32_t>(c.in.size(), 7));
            shrinkGrow(*in, *out, in->bounds, c.amount, c.amount);
            EXPECT_EQ(lineOf(*out), c.out) << c.what << ", " << depth << " bytes";
        }
    }
}

// The running minimum and maximum against the rule applied sample by sample.
TEST(MatteMorphology, MatchesTheWindowRuleOnNoise) {
    auto reference = [](const std::vector<uint32_t>& s, double a, bool grow) {
        const int32_t length = int32_t(s.size());
        const int32_t n = int32_t(std::ceil(a));
        const double w = 1.0 - (n - a);
        std::vector<uint32_t> out(s.size());
        for (int32_t i = 0; i < length; ++i) {
            const int32_t lo = std::max(0, i - n), hi = std::min(length - 1, i + n);
            const int32_t inset = w < 1.0 ? 1 : 0;
            int32_t v = int32_t(s[i]);
            if (inset && !grow && int32_t(s[lo]) < v * w) v = int32_t(s[lo] * w);
            for (int32_t k = lo + inset; k <= hi - inset; ++k)
                v = grow ? std::max(v, int32_t(s[k])) : std::min(v, int32_t(s[k]));
            if (inset && !grow && int32_t(s[hi]) < v * w) v = int32_t(s[hi] * w);
            if (inset && grow) v = std::max({v, int32_t(s[lo] * w), int32_t(s[hi] * w)});
            out[size_t(i)] = uint32_t(v);
        }
        return out;
    };
    const ImagePtr noise = makeNoiseImage(61, 1, 1, 2, 7);
    const std::vector<uint32_t> samples = lineOf(*noise);
    for (double amount : {0.3, 1.0, 2.0, 2.75, 6.5, 29.0, 30.2, 70.0}) {
        for (bool grow : {false, true}) {
            ImagePtr out = makeLine(2, std::vector<uint32_t>(samples.size(), 0));
            shrinkGrow(*noise, *out, noise->bounds, grow ? amount : -amount, grow ? amount : -amount);
            EXPECT_EQ(lineOf(*out), reference(samples, amount, grow)) << amount << (grow ? " grow" : " shrink");
        }
    }
}

TEST(MatteExtractor, GangUsesTheHorizontalSize) {
    ImagePtr source = makeImage(24, 24, 4, 1, {0, 0, 0, 255});
    for (int32_t y = 8; y < 16; ++y)
        for (int32_t x = 8; x < 16; ++x) setSample(*source, x, y, 0, 255);
    auto matteWith = [&](float blurX, float blurY, bool gang) {
        MatteSettings settings = MatteSettings{};
        settings.extractOn = uint32_t(MatteMeasure::Red);
        settings.position = 1.0f;
        settings.range = 2.0f;
        settings.blurX = blurX;
        settings.blurY = blurY;
        settings.gang = gang;
        MatteExtractor extractor;
        extractor.update(settings, 1);
        return buildWhole(extractor, *source);
    };
    const ImagePtr ganged = matteWith(4, 0, true);
    EXPECT_EQ(maxDifference(*ganged, *matteWith(4, 4, false)), 0u);
    EXPECT_NE(maxDifference(*ganged, *matteWith(4, 0, false)), 0u);
    // With the gang on the vertical size is ignored.
    EXPECT_EQ(maxDifference(*ganged, *matteWith(4, 9, true)), 0u);
}

TEST(MatteExtractor, InvertWithoutBlurOrShrink) {
    for (uint32_t depth : {1u, 2u}) {
        const uint32_t full = fullScale(depth);
        const ImagePtr source = makeNoiseImage(12, 10, 4, depth, 3);
        MatteSettings settings = MatteSettings{};
        MatteExtractor upright;
        upright.update(settings, depth);
        settings.invert = true;
        MatteExtractor inverted;
        inverted.update(settings, depth);
        const ImagePtr plain = buildWhole(upright, *source);
        const ImagePtr flipped = buildWhole(inverted, *source);
        for (int32_t y = 0; y < 10; ++y)
            for (int32_t x = 0; x < 12; ++x)
                EXPECT_EQ(sampleAt(*flipped, x, y, 0), full - sampleAt(*plain, x, y, 0)) << depth << " " << x << "," << y;
    }
}

TEST(MatteExtractor, CachedMatteIsReusedUntilSomethingChanges) {
    MatteBuildContext reuse;
    reuse.reuseCached = true;
    MatteSettings settings = MatteSettings{};
    settings.invert = true;
    MatteExtractor extractor;
    ASSERT_TRUE(extractor.update(settings, 1));
    ImagePtr source = makeImage(6, 4, 4, 1, {128, 128, 128, 255});
    const ImagePtr first = buildWhole(extractor, *source, reuse);
    ASSERT_TRUE(extractor.cachedMatte());
    // The kept matte is taken before invert: the matte of a mid grey is dark once inverted.
    EXPECT_LT(sampleAt(*first, 0, 0, 0), 10u);
    EXPECT_GT(sampleAt(*extractor.cachedMatte(), 0, 0, 0), 245u);

    // Nothing changed: the source is not measured again.
    source = makeImage(6, 4, 4, 1, {0, 0, 0, 255});
    EXPECT_FALSE(extractor.update(settings, 1));
    EXPECT_EQ(maxDifference(*buildWhole(extractor, *source, reuse), *first), 0u);
    // Without the permission every build extracts.
    const ImagePtr fresh = buildWhole(extractor, *source);
    EXPECT_EQ(sampleAt(*fresh, 0, 0, 0), 255u);

    // A changed value drops the kept matte, so the next build extracts again.
    const ImagePtr stale = makeImage(6, 4, 4, 1, {128, 128, 128, 255});
    buildWhole(extractor, *stale, reuse);  // keep the grey matte again
    settings.position = 0.4f;
    EXPECT_TRUE(extractor.update(settings, 1));
    EXPECT_FALSE(extractor.cachedMatte());
    EXPECT_EQ(sampleAt(*buildWhole(extractor, *source, reuse), 0, 0, 0), 255u);

    // So does a change of sample size, a setter, or always-extract.
    EXPECT_TRUE(extractor.update(settings, 2));
    EXPECT_FALSE(extractor.cachedMatte());
    buildWhole(extractor, *makeImage(6, 4, 4, 2, {0, 0, 0, 32768}), reuse);
    extractor.setBlur(3.0f);
    EXPECT_FALSE(extractor.cachedMatte());
    buildWhole(extractor, *makeImage(6, 4, 4, 2, {0, 0, 0, 32768}), reuse);
    extractor.setAlwaysExtract(true);
    EXPECT_FALSE(extractor.cachedMatte());
}

TEST(MatteExtractor, ZeroOutsideTheRect) {
    MatteSettings settings = MatteSettings{};
    settings.extractOn = uint32_t(MatteMeasure::Blue);
    settings.shrinkGrow = 1.0f;
    settings.blurX = 2.0f;
    for (uint32_t depth : {1u, 2u}) {
        MatteExtractor extractor;
        extractor.update(settings, depth);
        const ImagePtr source = makeImage(10, 8, 4, depth, {0, 0, fullScale(depth) / 2, fullScale(depth)});
        // The rect reaches past the source: it is clipped to the source's bounds.
        const ImagePtr matte = extractor.build(*source, {2, 3, 20, 7}, {});
        const uint32_t level = sampleAt(*matte, 3, 2, 0);
        EXPECT_GT(level, 0u);
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 10; ++x) {
                const bool inside = y >= 2 && x >= 3 && x < 7;
                EXPECT_EQ(sampleAt(*matte, x, y, 0), inside ? level : 0u) << depth << " " << x << "," << y;
            }
    }
}

TEST(MatteExtractor, RefusesOtherLayouts) {
    MatteExtractor extractor;
    EXPECT_THROW(extractor.build(*makeImage(2, 2, 3, 1, {1, 2, 3}), {0, 0, 2, 2}, {}), std::invalid_argument);
    EXPECT_THROW(extractor.build(*makeImage(2, 2, 2, 2, {1, 2}), {0, 0, 2, 2}, {}), std::invalid_argument);
}

// The same picture at both sample sizes gives the same matte up to a few 8-bit levels.
TEST(MatteExtractor, EightAndSixteenBitsAgreeInShape) {
    struct Case {
        const char* what;
        MatteSettings settings;
        uint32_t tolerance;
    };
    auto with = [](auto change) {
        MatteSettings s = MatteSettings{};
        change(s);
        return s;
    };
    // The window is steep (up to about five matte levels per measured level), so a measure
    // that truncates differently at the two sizes moves the matte by a few levels.
    const Case cases[] = {
        {"default", MatteSettings{}, 6},
        {"hue", with([](MatteSettings& s) { s.extractOn = 1; s.position = 0.3f; s.range = 0.6f; }), 6},
        {"magenta, clipped", with([](MatteSettings& s) { s.extractOn = 8; s.clipBlack = 0.2f; s.clipWhite = 0.3f; }), 8},
        {"yellow, shrink", with([](MatteSettings& s) { s.extractOn = 9; s.shrinkGrow = -2.0f; }), 6},
        {"grow and blur", with([](MatteSettings& s) { s.shrinkGrow = 2.5f; s.blurX = 3.5f; s.blurY = 1.0f; s.gang = false; }), 6},
    };
    // Smooth colours, so that a level's rounding at either size moves the matte only a little.
    ImagePtr source8 = makeImage(32, 24, 4, 1, {0, 0, 0, 255});
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 32; ++x) {
            const uint32_t rgb[3] = {uint32_t(x * 8), uint32_t(y * 10), uint32_t((x + y) * 4)};
            for (uint32_t c = 0; c < 3; ++c) setSample(*source8, x, y, c, rgb[c]);
        }
    const ImagePtr source16 = widenTo16(*source8);
    const ImagePtr black = makeImage(32, 24, 1, 1, {0});
    for (const Case& c : cases) {
        MatteExtractor extractor8;
        MatteExtractor extractor16;
        extractor8.update(c.settings, 1);
        extractor16.update(c.settings, 2);
        const ImagePtr matte8 = buildWhole(extractor8, *source8);
        const ImagePtr matte16 = buildWhole(extractor16, *source16);
        EXPECT_LE(depthDifference(*matte8, *matte16, 1), c.tolerance) << c.what;
        EXPECT_GT(maxDifference(*matte8, *black), 0u) << c.what << ": some of the picture is selected";
    }
}
