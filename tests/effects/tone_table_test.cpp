// The effect-owned tone table: its levels, that it agrees with the colour-correct pass, and
// what happens when its memory cannot be had.
#include <gtest/gtest.h>

#include <stdexcept>

#include "effects/tone_table.h"
#include "imaging/color_correct.h"
#include "tests/support/effect_harness.h"
#include "tests/support/rationed_memory.h"

namespace {

// Contrast -0.5 halves the distance to mid grey: level i becomes 0.25 + x / 2 of full scale.
TEST(ToneTable, TruncatedAndNearestLevels) {
    struct Case {
        bool is16;
        int32_t level;
        uint32_t truncated, nearest;
    };
    const Case cases[] = {
        {false, 0, 63, 64},          // 63.75
        {false, 255, 191, 191},      // 191.25
        {true, 0, 8192, 8192},       // exactly a quarter
        {true, 1, 8192, 8193},       // 8192.5
        {true, 32768, 24576, 24576}, // three quarters
    };
    for (const Case& c : cases) {
        ToneTable truncated(ToneTable::Rounding::Truncate);
        ToneTable nearest(ToneTable::Rounding::Nearest);
        truncated.prepare(0.0, -0.5, 0.0, c.is16);
        nearest.prepare(0.0, -0.5, 0.0, c.is16);
        auto level = [&](const ToneTable& table) -> uint32_t {
            return c.is16 ? table.levels<uint16_t>()[c.level] : table.levels<uint8_t>()[c.level];
        };
        EXPECT_EQ(level(truncated), c.truncated) << c.level;
        EXPECT_EQ(level(nearest), c.nearest) << c.level;
    }
}

// A truncating table does what the colour-correct pass does with its tone settings alone.
TEST(ToneTable, AgreesWithTheColorCorrectPass) {
    struct Settings {
        double gain, contrast, bend;
    };
    const Settings settings[] = {{0.0, 0.0, 0.0}, {0.3, 0.0, 0.0}, {0.0, 0.45, 0.0}, {0.0, -0.7, 0.0},
                                 {0.0, 0.0, 0.6}, {-0.2, 0.1, -0.35}, {1.0, 1.0, 0.0}};
    for (uint32_t bytes : {1u, 2u})
        for (const Settings& s : settings) {
            const ImagePtr source = makeNoiseImage(37, 11, 4, bytes, 9);
            ImagePtr expected = source->clone();
            colorCorrect(*expected, expected->bounds, 0.0, 0.0, s.gain, s.contrast, s.bend, 0.0, 0.0, 0.0, false);
            ImagePtr actual = source->clone();
            ToneTable table(ToneTable::Rounding::Truncate);
            table.prepare(s.gain, s.contrast, s.bend, bytes == 2);
            EXPECT_EQ(table.isIdentity(), s.gain == 0.0 && s.contrast == 0.0 && s.bend == 0.0);
            table.apply(*actual, actual->bounds);
            EXPECT_EQ(maxDifference(*actual, *expected), 0u) << bytes << " " << s.gain << " " << s.contrast;
        }
}

// A table that cannot be allocated raises the out-of-memory exception and is never read; the
// next prepare tries again. A table made for one sample size is not handed out for the other.
TEST(ToneTable, MissingMemoryAndOtherDepth) {
    RationedMemory memory;
    ToneTable table(ToneTable::Rounding::Nearest, memory);
    memory.allowed = 0;
    EXPECT_THROW(table.prepare(0.0, 0.2, 0.0, true), fx::OutOfMemory);
    EXPECT_THROW(table.levels<uint16_t>(), std::logic_error);
    ImagePtr image = makeNoiseImage(5, 3, 4, 2, 2);
    EXPECT_THROW(table.apply(*image, image->bounds), fx::OutOfMemory);

    memory.allowed = 10;
    table.prepare(0.0, 0.2, 0.0, true);
    EXPECT_EQ(memory.allocations, 1u);
    table.prepare(0.0, 0.2, 0.0, true);  // nothing changed: nothing made
    EXPECT_EQ(memory.allocations, 1u);
    EXPECT_THROW(table.levels<uint8_t>(), std::logic_error);
    EXPECT_NE(table.levels<uint16_t>(), nullptr);
    table.prepare(0.0, 0.2, 0.0, false);
    EXPECT_EQ(memory.allocations, 2u);
    EXPECT_THROW(table.levels<uint16_t>(), std::logic_error);
}

}  // namespace
