#include <gtest/gtest.h>

#include <stdexcept>

#include "imaging/image.h"
#include "imaging/screen_images.h"
#include "tests/support/effect_harness.h"

namespace {

TEST(ScreenImages, ScreenOfTwoGreyImages) {
    struct Case {
        uint32_t bytes, a, b, expected;
    };
    const Case cases[] = {
        {1, 100, 200, 222},          // 255 - 155 x 55 / 255 = 255 - 33
        {1, 0, 0, 0},     {1, 255, 9, 255},  {1, 0, 77, 77},
        {2, 16384, 16384, 24576},    // 32768 - 16384 x 16384 / 32768
        {2, 32768, 1, 32768}, {2, 1000, 0, 1000},
    };
    for (const Case& c : cases) {
        const ImagePtr a = makeImage(3, 2, 1, c.bytes, {c.a});
        const ImagePtr b = makeImage(3, 2, 1, c.bytes, {c.b});
        screenInto(*a, *b, {0, 1, 2, 3});
        EXPECT_EQ(sampleAt(*a, 2, 1, 0), c.expected) << c.a << " screen " << c.b;
        EXPECT_EQ(sampleAt(*a, 0, 1, 0), c.a) << "outside the rect";
    }
}

// Worked by hand from the rule: x = c + t - ct/full, g = (Ct/full) x/full screened on n times,
// then g' = (t (Cr/full)/full) c/full once, with K = trunc(amount x full) = n (full + 1) + r.
TEST(ScreenImages, LayLightWorkedExamples) {
    struct Case {
        const char* what;
        uint32_t bytes, c, t, level;
        double amount;
        uint32_t expected;
    };
    const Case cases[] = {
        // K = 510: one whole step (x = 222, g = 174 gives 206) and r = 254 (g' = 160).
        {"8-bit white, amount 2", 1, 100, 200, 255, 2.0, 237},
        // K = 255: no whole step, only the partial one with g' = 78.
        {"8-bit white, amount 1", 1, 100, 200, 255, 1.0, 148},
        // C = 127: g = (99 x 222) / 255 = 86 gives 153; C r / full = 126, g' = 58.
        {"8-bit half colour, amount 2", 1, 100, 200, 127, 2.0, 177},
        // K = 81920: two whole steps of g = 12288 (22528, 26368), r = 16382 and g' = 6591.
        {"16-bit white, amount 2.5", 2, 16384, 16384, 32768, 2.5, 27656},
        {"no light", 1, 100, 0, 255, 8.0, 100},
        {"full stays full", 2, 32768, 20000, 32768, 8.0, 32768},
        {"no colour", 1, 100, 200, 0, 8.0, 100},
        {"amount below one step", 1, 100, 200, 255, 0.003, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ImagePtr picture = makeImage(2, 2, 4, c.bytes, {c.c, c.c, c.c, 77});
        const ImagePtr light = makeImage(2, 2, 1, c.bytes, {c.t});
        layLight(*picture, *light, {0, 0, 2, 2}, {int64_t(c.level), int64_t(c.level), 0}, c.amount);
        EXPECT_EQ(sampleAt(*picture, 1, 1, 0), c.expected);
        EXPECT_EQ(sampleAt(*picture, 1, 1, 1), c.expected);
        EXPECT_EQ(sampleAt(*picture, 1, 1, 2), c.c) << "blue has no colour level";
        EXPECT_EQ(sampleAt(*picture, 1, 1, 3), 77u) << "alpha is untouched";
    }
}

TEST(ScreenImages, RefusesMismatchedImages) {
    const ImagePtr grey8 = makeImage(2, 2, 1, 1, {0});
    const ImagePtr grey16 = makeImage(2, 2, 1, 2, {0});
    const ImagePtr rgba8 = makeImage(2, 2, 4, 1, {0, 0, 0, 255});
    const ImagePtr wider = makeImage(3, 2, 1, 1, {0});
    EXPECT_THROW(screenInto(*grey8, *grey16, {0, 0, 2, 2}), std::invalid_argument);
    EXPECT_THROW(screenInto(*rgba8, *grey8, {0, 0, 2, 2}), std::invalid_argument);
    EXPECT_THROW(layLight(*rgba8, *wider, {0, 0, 2, 2}, {255, 255, 255}, 1.0), std::invalid_argument);
    EXPECT_THROW(layLight(*grey8, *grey8, {0, 0, 2, 2}, {255, 255, 255}, 1.0), std::invalid_argument);
}

}  // namespace
