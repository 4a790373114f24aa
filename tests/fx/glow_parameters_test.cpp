#include "fx/glow_parameters.h"

#include <gtest/gtest.h>

using namespace BlurPairParameter;

namespace {

// The pair's keys, ranges, flags and place are checked with the effects that hold one (their
// parameter descriptions), and how it follows its gang with the effects' change hooks; here: an
// effect can define its sizes without the notify flag and its gang off.
TEST(GlowParameters, SizesWithoutNotifyAndGangOff) {
    BlurPairDefinition quiet{"glowBlurH", "Horizontal Blur", "glowBlurV", "Vertical Blur",
                             "glowBlurGang", "Gang Blur", 500.0, 30.0};
    quiet.sizeFlags = 0;
    quiet.ganged = false;
    Parameter records[kCount];
    defineBlurPair(records, 0, quiet);
    EXPECT_EQ(records[kHorizontal].flags, 33);
    EXPECT_EQ(records[kVertical].flags, 33);
    EXPECT_EQ(records[kGang].flags, 33 | 16);
    EXPECT_FALSE(records[kGang].boolean);
}

}  // namespace
