#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "imaging/image.h"
#include "imaging/shear_rotation.h"
#include "imaging/turned_lines.h"
#include "tests/support/effect_harness.h"

namespace {

// Every line holds exactly the source pixels that land on it, in place, between two borders of
// zeros: the samples number the source's pixels plus the borders, and each pixel is found at
// the place it turns to. A long strip keeps far fewer samples than the rectangle around it.
TEST(TurnedLines, HoldEveryPixelOnceBetweenBorders) {
    struct Case {
        const char* what;
        float degrees;
        int32_t width, height, left, top;
        double centreX, centreY;
        int32_t border;
    };
    const Case cases[] = {
        {"strip", 45.0f, 300, 12, 40, 700, 200.0, 150.5, 9},
        {"block off the centre", 45.0f, 37, 51, -20, 13, 100.0, 100.0, 0},
        {"back by -45", -45.0f, 40, 30, 5, 5, 25.5, 20.0, 4},
        {"steep", 80.0f, 33, 21, 0, 0, 16.0, 10.0, 2},
    };
    for (uint32_t bytes : {1u, 2u})
        for (const Case& c : cases)
            for (TurnedLine direction : {TurnedLine::Row, TurnedLine::Column}) {
                SCOPED_TRACE(std::string(c.what) + (direction == TurnedLine::Row ? ", rows" : ", columns") +
                             (bytes == 2 ? ", 16-bit" : ", 8-bit"));
                // Noise without zeros, so that a missing pixel cannot pass for a border.
                const ImagePtr source = makeNoiseImage(c.width, c.height, 1, bytes, 21);
                for (int32_t y = 0; y < c.height; ++y)
                    for (int32_t x = 0; x < c.width; ++x)
                        if (sampleAt(*source, x, y, 0) == 0) setSample(*source, x, y, 0, 1);
                const ShearRotation turn(c.degrees, c.centreX, c.centreY);
                const TurnedLines lines = turnLines(turn, {source, c.left, c.top}, direction, c.border);
                EXPECT_EQ(lines.lineOffset.back(),
                          c.width * c.height + 2 * c.border * lines.lineCount());
                for (int32_t y = 0; y < c.height; ++y)
                    for (int32_t x = 0; x < c.width; ++x) {
                        const int32_t index = lines.indexOf(turn.forward({c.left + x, c.top + y}));
                        ASSERT_EQ(sampleAt(*lines.samples, index, 0, 0), sampleAt(*source, x, y, 0));
                    }
                uint32_t zeros = 0;
                for (int32_t i = 0; i < lines.lineOffset.back(); ++i) zeros += sampleAt(*lines.samples, i, 0, 0) == 0;
                EXPECT_EQ(zeros, uint32_t(2 * c.border * lines.lineCount()));
                for (int32_t i = 0; i < lines.lineCount(); ++i)
                    for (int32_t k = 0; k < c.border; ++k) {
                        ASSERT_EQ(sampleAt(*lines.samples, lines.lineOffset[size_t(i)] + k, 0, 0), 0u);
                        ASSERT_EQ(sampleAt(*lines.samples, lines.lineOffset[size_t(i) + 1] - 1 - k, 0, 0), 0u);
                    }
                const PixelRect around = turn.turnedArea({c.top, c.left, c.top + c.height, c.left + c.width});
                if (c.width > 10 * c.height) {
                    EXPECT_LT(lines.lineOffset.back(), around.width() * around.height() / 4);
                }
            }
}

TEST(TurnedLines, RefusesOtherLayoutsAndAngles) {
    const ImagePtr grey = makeImage(4, 4, 1, 1, {1});
    const ImagePtr rgba = makeImage(4, 4, 4, 1, {1, 2, 3, 4});
    EXPECT_THROW(turnLines(ShearRotation(45.0f, 0.0, 0.0), {rgba, 0, 0}, TurnedLine::Row, 0), std::invalid_argument);
    EXPECT_THROW(turnLines(ShearRotation(120.0f, 0.0, 0.0), {grey, 0, 0}, TurnedLine::Row, 0), std::invalid_argument);
}

}  // namespace
