// The command line's values from presets and --set, held to what each parameter can hold
// the way the plug-in holds them.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "editor/effect_description.h"

namespace {

using editor::EffectDescription;

// Number -50..50, whole Number 0.5..10 (flag 8192), List of two, Color, Point.
EffectDescription testEffect() {
    return EffectDescription::parse(
        "effect\tTest\tRavo Test\t6\n"
        "0\tInput\tbackground\tBackground\t33\n"
        "1\tNumber\ttemperature\tTemperature\t33\t-50\t50\t0\n"
        "2\tNumber\tgrainSize\tSize\t8225\t0.5\t10\t1\n"
        "3\tList\tview\tView\t33\t0\tOutput\x1fOriginal\n"
        "4\tColor\ttint\tTint\t33\t0\t0\t1\n"
        "5\tPoint\tpos\tPosition\t33\t0\t0\n");
}

TEST(EffectDescription, PresetValuesAreHeldAsThePluginHoldsThem) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double temperature, grainSize;
        uint32_t view;
        RGBValue tint;
        PointValue pos;
        // Expected
        double heldTemperature, heldGrainSize;
        uint32_t heldView;
        RGBValue heldTint;
        PointValue heldPos;
    };
    // The values before the preset: the defaults with temperature 10.
    const Case cases[] = {
        {1e300, 0, 1, {1.5, 0.5, -1}, {2, -3}, 50, 0, 1, {1, 0.5, 0}, {2, -3}},
        {51, -1, 2, {nan, 0.5, 0.5}, {nan, 0}, 50, 0, 0, {0, 0, 1}, {0, 0}},
        {nan, 12.5, 7, {0.25, 0.5, 0.75}, {0.25, -0.5}, 10, 10, 0, {0.25, 0.5, 0.75}, {0.25, -0.5}},
    };
    const EffectDescription effect = testEffect();
    for (const Case& c : cases) {
        ParameterBlock stored = effect.defaults();
        stored.records[1].number = c.temperature;
        stored.records[2].number = c.grainSize;
        stored.records[3].listIndex = c.view;
        stored.records[4].color = c.tint;
        stored.records[5].point = c.pos;
        ParameterBlock values = effect.defaults();
        values.records[1].number = 10;
        editor::applyPreset(effect, values, stored.encode(), "test.qel");
        const std::string what = std::to_string(c.temperature) + " " + std::to_string(c.grainSize);
        EXPECT_EQ(values.records[1].number, c.heldTemperature) << what;
        EXPECT_EQ(values.records[2].number, c.heldGrainSize) << what;
        EXPECT_EQ(values.records[3].listIndex, c.heldView) << what;
        EXPECT_EQ(values.records[4].color.red, c.heldTint.red) << what;
        EXPECT_EQ(values.records[4].color.green, c.heldTint.green) << what;
        EXPECT_EQ(values.records[4].color.blue, c.heldTint.blue) << what;
        EXPECT_EQ(values.records[5].point.x, c.heldPos.x) << what;
        EXPECT_EQ(values.records[5].point.y, c.heldPos.y) << what;
    }
}

// --set takes the numbers a preset may hold and no others: a whole number also the whole
// numbers its slider offers.
TEST(EffectDescription, SetAcceptsTheRangeAPresetHolds) {
    struct Case {
        const char* assignment;
        bool accepted;
    };
    const Case cases[] = {
        {"temperature=50", true}, {"temperature=51", false}, {"temperature=-50.5", false},
        {"grainSize=0", true},    {"grainSize=10", true},    {"grainSize=10.5", false},
        {"grainSize=-0.5", false},
    };
    const EffectDescription effect = testEffect();
    for (const Case& c : cases) {
        ParameterBlock values = effect.defaults();
        if (c.accepted)
            EXPECT_NO_THROW(editor::applySetting(effect, values, c.assignment, "")) << c.assignment;
        else
            EXPECT_THROW(editor::applySetting(effect, values, c.assignment, ""), editor::UsageError) << c.assignment;
    }
}

}  // namespace
