#include "fx/glow_parameters.h"

#include <gtest/gtest.h>

using namespace BlurPairParameter;

namespace {

constexpr uint32_t kFirst = 6;  // where the glow family keeps its pair

struct Records {
    Parameter records[kFirst + kCount + 1];
};

const BlurPairDefinition kGlowPair{"glowBlurH", "Horizontal Blur", "glowBlurV", "Vertical Blur",
                                   "glowBlurGang", "Gang Blur", 500.0, 30.0};

// The pair's keys, ranges and flags are checked with the effects that hold one (their parameter
// descriptions), and how it follows its gang with the effects' change hooks; here: the pair lands
// at its index and leaves its neighbours, and an effect can define its sizes without the notify
// flag and its gang off.
TEST(GlowParameters, DefinesTheBlurPairAtItsIndex) {
    Records r;
    defineBlurPair(r.records, kFirst, kGlowPair);
    EXPECT_STREQ(r.records[kFirst + kHorizontal].name, "glowBlurH");
    EXPECT_STREQ(r.records[kFirst + kGang].name, "glowBlurGang");
    EXPECT_EQ(r.records[kFirst - 1].kind, ParameterKind::None);
    EXPECT_EQ(r.records[kFirst + kCount].kind, ParameterKind::None);

    BlurPairDefinition quiet = kGlowPair;
    quiet.sizeFlags = 0;
    quiet.ganged = false;
    defineBlurPair(r.records, 0, quiet);
    EXPECT_EQ(r.records[kHorizontal].flags, 33);
    EXPECT_EQ(r.records[kVertical].flags, 33);
    EXPECT_EQ(r.records[kGang].flags, 33 | 16);
    EXPECT_FALSE(r.records[kGang].boolean);
}

}  // namespace
