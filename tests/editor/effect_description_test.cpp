// The command line's --set values, held to the range the plug-in holds stored values to.
#include <gtest/gtest.h>

#include <string>

#include "editor/effect_description.h"

namespace {

// Number -50..50 and whole Number 0.5..10 (flag 8192).
editor::EffectDescription testEffect() {
    return editor::EffectDescription::parse(
        "effect\tTest\tRavo Test\t3\n0\tInput\tbackground\tBackground\t33\n"
        "1\tNumber\ttemperature\tTemperature\t33\t-50\t50\t0\n2\tNumber\tgrainSize\tSize\t8225\t0.5\t10\t1\n");
}

// --set takes the numbers a preset may hold and no others: a whole number also the whole
// numbers its slider offers.
TEST(EffectDescription, SetTakesTheRangeAPresetHolds) {
    const std::pair<const char*, bool> cases[] = {{"temperature=50", true}, {"temperature=51", false},
                                                  {"grainSize=0", true},    {"grainSize=10.5", false},
                                                  {"grainSize=-0.5", false}};
    const editor::EffectDescription effect = testEffect();
    for (const auto& [assignment, accepted] : cases) {
        ParameterBlock values = effect.defaults();
        if (accepted)
            EXPECT_NO_THROW(editor::applySetting(effect, values, assignment, "")) << assignment;
        else
            EXPECT_THROW(editor::applySetting(effect, values, assignment, ""), editor::UsageError) << assignment;
    }
}

}  // namespace
