#include "fx/matte_group.h"

#include <gtest/gtest.h>

namespace {

// The group at records 2.. of a small array, with a record of its own on either side.
struct Case {
    MatteGroup group;
    MatteGroupDefaults defaults;
    const char* keys[6];  // in record order from the group's first record
};

const Case kCases[] = {
    {{2}, {100.0, 80.0}, {"matte", "mattePosition", "matteRange", "matteBlur", nullptr}},
    {{2, true}, {50.0, 25.0, ParameterFlag::FramedGroup},
     {"matte", "extractOn", "mattePosition", "matteRange", "matteBlur", nullptr}},
};

TEST(MatteGroup, DefinesItsRecordsInOrder) {
    for (const Case& c : kCases) {
        Parameter records[9];
        defineMatteGroup(records, c.group, c.defaults);
        SCOPED_TRACE(c.group.withExtractOn);
        EXPECT_EQ(c.group.count(), c.group.withExtractOn ? 6u : 5u);
        for (uint32_t i = 0; i < c.group.count(); ++i) {
            const Parameter& p = records[c.group.begin + i];
            if (c.keys[i])
                EXPECT_STREQ(p.name, c.keys[i]);
            else
                EXPECT_EQ(p.kind, ParameterKind::GroupEnd);
        }
        EXPECT_EQ(records[1].kind, ParameterKind::None);
        EXPECT_EQ(records[c.group.end() + 1].kind, ParameterKind::None);
        EXPECT_EQ(records[c.group.position()].numberDefault, c.defaults.position);
        EXPECT_EQ(records[c.group.range()].numberDefault, c.defaults.range);
        EXPECT_EQ(records[c.group.position()].flags, ParameterFlag::NewRecord | ParameterFlag::Percent);
        EXPECT_EQ(records[c.group.blur()].maximum, 200.0);
        EXPECT_EQ(records[c.group.begin].flags, ParameterFlag::NewRecord | ParameterFlag::Open | c.defaults.groupFlags);
        EXPECT_EQ(records[c.group.end()].flags, ParameterFlag::NewRecord | c.defaults.groupFlags);
    }
}

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
