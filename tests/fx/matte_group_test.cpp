#include "fx/matte_group.h"

#include <gtest/gtest.h>

namespace {

// The group at records 2.. of a small array, with and without its extract-on list. Its records
// are checked with the effects that hold it (their parameter descriptions).
struct Case {
    MatteGroup group;
    MatteGroupDefaults defaults;
};

const Case kCases[] = {{{2}, {100.0, 80.0}}, {{2, true}, {50.0, 25.0, ParameterFlag::FramedGroup}}};

// Position / 100 and range x 0.02, held as 32-bit floats; the blur is
// one size for both directions; every number is held to its record's range.
TEST(MatteGroup, SettingsInTheExtractorsUnits) {
    for (const Case& c : kCases) {
        Parameter records[9];
        defineMatteGroup(records, c.group, c.defaults);
        Effect effect;
        effect.setParameters(records, 9);
        records[c.group.position()].number = 37.3;
        records[c.group.range()].number = 50.0;
        records[c.group.blur()].number = 250.0;
        if (c.group.withExtractOn) records[c.group.extractOn()].listIndex = 6;
        const MatteSettings settings = matteGroupSettings(effect, c.group);
        EXPECT_EQ(settings.position, float(37.3 / 100));
        EXPECT_EQ(settings.range, 1.0f);
        EXPECT_EQ(settings.blurX, 200.0f);
        EXPECT_EQ(settings.blurY, 200.0f);
        EXPECT_TRUE(settings.gang);
        EXPECT_EQ(settings.extractOn, c.group.withExtractOn ? 6u : 0u);
    }
}

}  // namespace
