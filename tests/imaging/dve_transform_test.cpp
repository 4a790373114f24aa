#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "imaging/dve_transform.h"
#include "imaging/projective_matrix.h"
#include "imaging/quad_warp.h"
#include "tests/support/effect_harness.h"

namespace {

const DveSampling kNearest{false, false, 1.0};
const DveSampling kBilinear{true, false, 1.0};

ImagePtr transformed(const Image& source, const DveSettings& settings, const DveSampling& sampling) {
    ImagePtr image = source.clone();
    DveTransform transform;
    transform.update(settings);
    transform.apply(*image, sampling);
    return image;
}

// Where destination pixel (x, y) should come from, or none for a cleared pixel.
using SourceOf = std::function<std::optional<std::pair<int32_t, int32_t>>(int32_t x, int32_t y)>;

void expectMapping(const Image& source, const Image& result, const SourceOf& sourceOf) {
    for (int32_t y = 0; y < result.height; ++y)
        for (int32_t x = 0; x < result.width; ++x) {
            const auto from = sourceOf(x, y);
            for (uint32_t c = 0; c < result.channels; ++c)
                ASSERT_EQ(sampleAt(result, x, y, c), from ? sampleAt(source, from->first, from->second, c) : 0u)
                    << "pixel " << x << "," << y << " channel " << c;
        }
}

TEST(DveTransform, IsIdentityOnlyAtTheDefaults) {
    DveTransform transform;
    EXPECT_TRUE(transform.isIdentity());
    const std::function<void(DveSettings&)> changes[] = {
        [](DveSettings& s) { s.cropTop = 0.1f; },     [](DveSettings& s) { s.cropRight = 0.9f; },
        [](DveSettings& s) { s.position.x = 0.1; },   [](DveSettings& s) { s.anchor.y = -0.1; },
        [](DveSettings& s) { s.scaleY = 2.0f; },      [](DveSettings& s) { s.shearX = 5.0f; },
        [](DveSettings& s) { s.rotate = -1.0f; },     [](DveSettings& s) { s.cornerLowerLeft.x = -0.4; },
    };
    for (const auto& change : changes) {
        DveSettings settings;
        change(settings);
        EXPECT_TRUE(transform.update(settings));
        EXPECT_FALSE(transform.isIdentity());
        EXPECT_FALSE(transform.update(settings));
        EXPECT_TRUE(transform.update(DveSettings{}));
        EXPECT_TRUE(transform.isIdentity());
    }
}

// The identity and a crop copy every kept pixel exactly, with both samplers, in every layout
// (and at a width where 1 / width x width is not exactly 1).
TEST(DveTransform, IdentityAndCropKeepThePixels) {
    for (const Layout& layout : kLayouts)
        for (const DveSampling& sampling : {kNearest, kBilinear}) {
            SCOPED_TRACE(testing::Message() << layout.channels << " channels, " << layout.bytes
                                            << " bytes, smooth " << sampling.smooth);
            const ImagePtr source = makeNoiseImage(49, 100, layout.channels, layout.bytes);
            expectMapping(*source, *transformed(*source, DveSettings{}, sampling),
                          [](int32_t x, int32_t y) { return std::make_optional(std::make_pair(x, y)); });

            DveSettings cropped;
            cropped.cropTop = 0.25f;
            cropped.cropBottom = 0.75f;
            cropped.cropLeft = 0.8f;  // reversed edges are swapped: columns 12 .. 38 stay
            cropped.cropRight = 0.25f;
            expectMapping(*source, *transformed(*source, cropped, sampling), [](int32_t x, int32_t y) {
                const bool kept = y >= 25 && y < 75 && x >= 12 && x < 39;
                return kept ? std::make_optional(std::make_pair(x, y)) : std::nullopt;
            });
        }
}

TEST(DveTransform, QuarterAndHalfTurnsAreExact) {
    struct Turn {
        float degrees;
        std::pair<int32_t, int32_t> (*from)(int32_t x, int32_t y, int32_t size);
    };
    const Turn turns[] = {
        {90.0f, [](int32_t x, int32_t y, int32_t n) { return std::make_pair(y, n - 1 - x); }},
        {-90.0f, [](int32_t x, int32_t y, int32_t n) { return std::make_pair(n - 1 - y, x); }},
        {180.0f, [](int32_t x, int32_t y, int32_t n) { return std::make_pair(n - 1 - x, n - 1 - y); }},
        {360.0f, [](int32_t x, int32_t y, int32_t) { return std::make_pair(x, y); }},
    };
    for (const Layout& layout : kLayouts)
        for (const int32_t size : {9, 10})
            for (const Turn& turn : turns)
                for (const DveSampling& sampling : {kNearest, kBilinear}) {
                    SCOPED_TRACE(testing::Message() << turn.degrees << " degrees, size " << size << ", smooth "
                                                    << sampling.smooth << ", channels " << layout.channels);
                    const ImagePtr source = makeNoiseImage(size, size, layout.channels, layout.bytes);
                    DveSettings settings;
                    settings.rotate = turn.degrees;
                    expectMapping(*source, *transformed(*source, settings, sampling), [&](int32_t x, int32_t y) {
                        return std::make_optional(turn.from(x, y, size));
                    });
                }
}

TEST(DveTransform, PositionScaleAnchorAndPinsMoveThePixels) {
    using Pixel = std::optional<std::pair<int32_t, int32_t>>;
    auto inside = [](int32_t x, int32_t y) -> Pixel {
        if (x < 0 || y < 0 || x >= 8 || y >= 8) return std::nullopt;
        return std::make_pair(x, y);
    };
    struct Case {
        const char* name;
        std::function<void(DveSettings&)> set;
        SourceOf sourceOf;
    };
    const Case cases[] = {
        {"position a quarter right", [](DveSettings& s) { s.position = {0.25, 0.0}; },
         [&](int32_t x, int32_t y) { return inside(x - 2, y); }},
        {"position a quarter up", [](DveSettings& s) { s.position = {0.0, -0.25}; },
         [&](int32_t x, int32_t y) { return inside(x, y + 2); }},
        {"anchor a quarter right", [](DveSettings& s) { s.anchor = {0.25, 0.0}; },
         [&](int32_t x, int32_t y) { return inside(x + 2, y); }},
        {"scale 2: half the rate about the centre", [](DveSettings& s) { s.scaleX = s.scaleY = 2.0f; },
         [&](int32_t x, int32_t y) { return inside(2 + x / 2, 2 + y / 2); }},
        {"scale 0 skips scale and rotation", [](DveSettings& s) {
             s.scaleX = 0.0f;
             s.rotate = 45.0f;
         },
         [&](int32_t x, int32_t y) { return inside(x, y); }},
        {"corners pinned a quarter in", [](DveSettings& s) {
             s.cornerUpperLeft = {-0.25, -0.25};
             s.cornerUpperRight = {0.25, -0.25};
             s.cornerLowerRight = {0.25, 0.25};
             s.cornerLowerLeft = {-0.25, 0.25};
         },
         [&](int32_t x, int32_t y) -> Pixel {
             if (x < 2 || y < 2 || x > 5 || y > 5) return std::nullopt;
             return std::make_pair(2 * x - 3, 2 * y - 3);
         }},
        {"corners pinned mirrored", [](DveSettings& s) {
             std::swap(s.cornerUpperLeft, s.cornerUpperRight);
             std::swap(s.cornerLowerLeft, s.cornerLowerRight);
         },
         [&](int32_t x, int32_t y) { return inside(7 - x, y); }},
        {"corners pinned onto one line", [](DveSettings& s) { s.cornerLowerRight = s.cornerLowerLeft = {0.0, -0.5}; },
         [](int32_t, int32_t) -> Pixel { return std::nullopt; }},
    };
    for (const Layout& layout : kLayouts)
        for (const Case& test : cases) {
            SCOPED_TRACE(testing::Message() << test.name << ", channels " << layout.channels << ", bytes "
                                            << layout.bytes);
            const ImagePtr source = makeNoiseImage(8, 8, layout.channels, layout.bytes);
            DveSettings settings;
            test.set(settings);
            expectMapping(*source, *transformed(*source, settings, kNearest), test.sourceOf);
        }
}

// A shear along x leaves the middle row in place and moves the others; along y the middle column.
TEST(DveTransform, ShearKeepsTheMiddleLine) {
    for (const DveSampling& sampling : {kNearest, kBilinear}) {
        const ImagePtr source = makeNoiseImage(15, 15, 1, 2);
        DveSettings alongX;
        alongX.shearX = 30.0f;
        DveSettings alongY;
        alongY.shearY = -20.0f;
        const ImagePtr x = transformed(*source, alongX, sampling);
        const ImagePtr y = transformed(*source, alongY, sampling);
        int movedRows = 0, movedColumns = 0;
        for (int32_t i = 0; i < 15; ++i) {
            EXPECT_EQ(sampleAt(*x, i, 7, 0), sampleAt(*source, i, 7, 0)) << i;
            EXPECT_EQ(sampleAt(*y, 7, i, 0), sampleAt(*source, 7, i, 0)) << i;
            movedRows += sampleAt(*x, 7, i, 0) != sampleAt(*source, 7, i, 0);
            movedColumns += sampleAt(*y, i, 7, 0) != sampleAt(*source, i, 7, 0);
        }
        EXPECT_GT(movedRows, 8);
        EXPECT_GT(movedColumns, 8);
    }
}

// Bilinear sampling of a constant picture gives the constant wherever it draws (edges included),
// and clears the rest, alpha with it; 8 and 16 bits draw the same pixels.
TEST(DveTransform, ConstantPictureStaysConstantWhereDrawn) {
    DveSettings settings;
    settings.rotate = 33.0f;
    settings.scaleX = 0.7f;
    settings.scaleY = 1.3f;
    settings.shearY = 10.0f;
    settings.position = {0.1, -0.05};
    const ImagePtr eight = transformed(*makeImage(31, 23, 4, 1, {100, 150, 200, 255}), settings, kBilinear);
    const ImagePtr sixteen = transformed(*makeImage(31, 23, 4, 2, {12850, 19275, 25700, 32768}), settings, kBilinear);
    int drawn = 0;
    for (int32_t y = 0; y < 23; ++y)
        for (int32_t x = 0; x < 31; ++x) {
            const bool on = sampleAt(*eight, x, y, 3) != 0;
            drawn += on;
            EXPECT_EQ(sampleAt(*sixteen, x, y, 3) != 0, on) << x << "," << y;
            const uint32_t expected8[4] = {100, 150, 200, 255};
            const uint32_t expected16[4] = {12850, 19275, 25700, 32768};
            for (uint32_t c = 0; c < 4; ++c) {
                EXPECT_EQ(sampleAt(*eight, x, y, c), on ? expected8[c] : 0u) << x << "," << y;
                EXPECT_EQ(sampleAt(*sixteen, x, y, c), on ? expected16[c] : 0u) << x << "," << y;
            }
        }
    EXPECT_GT(drawn, 200);
    EXPECT_LT(drawn, 31 * 23);
}

// ---------------------------------------------------------------------------------------
// Quad maps and the quad warp

TEST(ProjectiveMatrix, QuadMapsCarryCornersOntoCorners) {
    const Quad unit = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    const Quad quads[] = {
        {{{0, 0}, {640, 0}, {640, 480}, {0, 480}}},          // rectangle
        {{{10, 5}, {50, 8}, {45, 40}, {3, 30}}},             // general
        {{{2, 1}, {12, 3}, {15, 9}, {5, 7}}},                // parallelogram
        {{{100, 100}, {-20, 90}, {-30, -40}, {120, -10}}},   // mirrored
    };
    for (const Quad& a : quads) {
        const std::optional<ProjectiveMatrix> square = squareToQuad(a);
        ASSERT_TRUE(square);
        for (const Quad& b : quads) {
            const std::optional<ProjectiveMatrix> map = quadToQuad(a, b);
            ASSERT_TRUE(map);
            for (int i = 0; i < 4; ++i) {
                const HomogeneousPoint onSquare = square->map(unit[i].x, unit[i].y);
                EXPECT_NEAR(onSquare.x / onSquare.w, a[i].x, 1e-9);
                EXPECT_NEAR(onSquare.y / onSquare.w, a[i].y, 1e-9);
                const HomogeneousPoint p = map->map(a[i].x, a[i].y);
                EXPECT_NEAR(p.x / p.w, b[i].x, 1e-9);
                EXPECT_NEAR(p.y / p.w, b[i].y, 1e-9);
            }
        }
    }
    const Quad degenerate[] = {
        {{{0, 0}, {10, 0}, {10, 0}, {0, 0}}},  // no height
        {{{0, 0}, {1, 1}, {2, 2}, {3, 3}}},    // one line
        {{{5, 5}, {5, 5}, {5, 5}, {5, 5}}},    // one point
    };
    for (const Quad& d : degenerate) {
        EXPECT_FALSE(quadToQuad(d, unit));
        EXPECT_FALSE(quadToQuad(unit, d));
    }
}

TEST(QuadWarp, WholeImageQuadCopiesTheSource) {
    for (const uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = makeNoiseImage(49, 23, 1, bytes);
        const ImagePtr destination = makeImage(49, 23, 1, bytes, {0});
        quadWarp(*destination, *source, {0, 0, 23, 49}, 0, 0, {{{0, 0}, {49, 0}, {49, 23}, {0, 23}}}, 1.0, 1.0);
        EXPECT_EQ(maxDifference(*source, *destination), 0u);
    }
}

// Two pixels, 0 and full, stretched over four: u = (x + origin) / 4 reads the source at 2u,
// which mixes the two at x = 1 and holds the edge beyond the last pixel's position.
TEST(QuadWarp, StretchReadsBetweenSourcePixels) {
    struct Case {
        int32_t origin;
        uint32_t eighths[4];  // of full, truncated
    };
    for (const Case& c : {Case{0, {0, 4, 8, 8}}, Case{1, {4, 8, 8, 8}}, Case{-1, {0, 0, 4, 8}}})
        for (const uint32_t bytes : {1u, 2u}) {
            const uint32_t full = bytes == 1 ? 255 : 32768;
            const ImagePtr source = makeImage(2, 1, 1, bytes, {0});
            setSample(*source, 1, 0, 0, full);
            const ImagePtr stretched = makeImage(4, 3, 1, bytes, {7});
            quadWarp(*stretched, *source, {0, 0, 3, 4}, c.origin, 0, {{{0, 0}, {4, 0}, {4, 3}, {0, 3}}}, 1.0, 1.0);
            for (int32_t x = 0; x < 4; ++x)
                EXPECT_EQ(sampleAt(*stretched, x, 2, 0), full * c.eighths[x] / 8) << c.origin << " " << x;
        }
}

// A two-pixel ramp with divisor 2 spreads linearly over the quad; a smaller scale compresses
// the transition towards the middle.
TEST(QuadWarp, RampSpreadsAcrossTheQuad) {
    for (const uint32_t bytes : {1u, 2u}) {
        const uint32_t full = bytes == 1 ? 255 : 32768;
        const ImagePtr ramp = makeImage(1, 2, 1, bytes, {0});
        setSample(*ramp, 0, 0, 0, full);
        const Quad quad = {{{0, 0}, {8, 0}, {8, 256}, {0, 256}}};
        const ImagePtr whole = makeImage(8, 256, 1, bytes, {7});
        quadWarp(*whole, *ramp, {0, 0, 256, 8}, 0, 0, quad, 1.0, 2.0);
        const ImagePtr half = makeImage(8, 256, 1, bytes, {7});
        quadWarp(*half, *ramp, {0, 0, 256, 8}, 0, 0, quad, 0.5, 2.0);
        for (int32_t y = 0; y < 256; ++y) {
            EXPECT_EQ(sampleAt(*whole, 3, y, 0), uint32_t(std::trunc(full - full * (y / 256.0)))) << y;
            // v = 1.5 y / 256 - 0.25, held to 0..1.
            const double v = std::clamp(1.5 * y / 256 - 0.25, 0.0, 1.0);
            EXPECT_EQ(sampleAt(*half, 5, y, 0), uint32_t(std::trunc(full - v * full))) << y;
        }
    }
}

// The corners of a perspective quad read the source's corner pixels; a warp of part of the
// destination, placed by its origin, gives the same pixels as the warp of the whole.
TEST(QuadWarp, CornersAndOriginsAgree) {
    const Quad quad = {{{10, 5}, {50, 8}, {45, 40}, {3, 30}}};
    const ImagePtr corners = makeImage(2, 2, 1, 2, {0});
    setSample(*corners, 0, 0, 0, 1000);
    setSample(*corners, 1, 0, 0, 2000);
    setSample(*corners, 1, 1, 0, 3000);
    setSample(*corners, 0, 1, 0, 4000);
    const ImagePtr whole = makeImage(60, 48, 1, 2, {0});
    quadWarp(*whole, *corners, {0, 0, 48, 60}, 0, 0, quad, 1.0, 1.0);
    EXPECT_EQ(sampleAt(*whole, 10, 5, 0), 1000u);
    EXPECT_EQ(sampleAt(*whole, 50, 8, 0), 2000u);
    EXPECT_EQ(sampleAt(*whole, 45, 40, 0), 3000u);
    EXPECT_EQ(sampleAt(*whole, 3, 30, 0), 4000u);

    const ImagePtr noise = makeNoiseImage(20, 30, 1, 2);
    quadWarp(*whole, *noise, {0, 0, 48, 60}, 0, 0, quad, 0.8, 1.0);
    const ImagePtr part = makeImage(25, 13, 1, 2, {0});
    quadWarp(*part, *noise, {0, 0, 13, 25}, 17, 21, quad, 0.8, 1.0);
    for (int32_t y = 0; y < 13; ++y)
        for (int32_t x = 0; x < 25; ++x) ASSERT_EQ(sampleAt(*part, x, y, 0), sampleAt(*whole, x + 17, y + 21, 0));
}

// A one-pixel-wide (or high) ramp reads one column (row) wherever the map lands: it gives what
// the same ramp doubled across gives, on upright quads (worked out once per row or column) and
// tilted ones, over a part of the destination placed by its origin.
TEST(QuadWarp, OneColumnRampsAgreeWithDoubledOnes) {
    const Quad quads[] = {{{{-5, -3}, {70, -3}, {70, 41}, {-5, 41}}}, {{{10, 5}, {50, 8}, {45, 40}, {3, 30}}}};
    for (const uint32_t bytes : {1u, 2u})
        for (const bool across : {false, true})
            for (const Quad& quad : quads) {
                const uint32_t full = bytes == 1 ? 255 : 32768;
                const ImagePtr ramp = makeImage(across ? 2 : 1, across ? 1 : 2, 1, bytes, {0});
                const ImagePtr doubled = makeImage(2, 2, 1, bytes, {0});
                setSample(*ramp, 0, 0, 0, full);
                setSample(*doubled, 0, 0, 0, full);
                setSample(*doubled, across ? 0 : 1, across ? 1 : 0, 0, full);
                const ImagePtr fast = makeImage(40, 30, 1, bytes, {7});
                const ImagePtr general = makeImage(40, 30, 1, bytes, {7});
                quadWarp(*fast, *ramp, {2, 3, 28, 37}, 11, 6, quad, 0.7, 2.0);
                quadWarp(*general, *doubled, {2, 3, 28, 37}, 11, 6, quad, 0.7, 2.0);
                EXPECT_EQ(maxDifference(*fast, *general), 0u) << bytes << (across ? " across" : " down");
            }
}

TEST(QuadWarp, DegenerateQuadClearsTheRect) {
    const ImagePtr destination = makeImage(10, 10, 1, 1, {9});
    const ImagePtr source = makeNoiseImage(4, 4, 1, 1);
    quadWarp(*destination, *source, {2, 3, 6, 8}, 0, 0, {{{0, 0}, {5, 5}, {10, 10}, {1, 1}}}, 1.0, 2.0);
    for (int32_t y = 0; y < 10; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            const bool inRect = y >= 2 && y < 6 && x >= 3 && x < 8;
            EXPECT_EQ(sampleAt(*destination, x, y, 0), inRect ? 0u : 9u) << x << "," << y;
        }
}

}  // namespace
