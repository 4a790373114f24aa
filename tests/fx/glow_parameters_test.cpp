#include "fx/glow_parameters.h"

#include <gtest/gtest.h>

#include <string>

using namespace BlurPairParameter;

namespace {

constexpr uint32_t kFirst = 6;  // where the glow family keeps its pair

struct Records {
    Parameter records[kFirst + kCount + 1];
};

const BlurPairDefinition kGlowPair{"glowBlurH", "Horizontal Blur", "glowBlurV", "Vertical Blur",
                                   "glowBlurGang", "Gang Blur", 500.0, 30.0};

// The pair's keys, ranges and flags are checked with the effects that hold one (their parameter
// descriptions); here: the pair lands at its index and leaves its neighbours, and an effect can
// define its sizes without the notify flag and its gang off.
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

TEST(GlowParameters, ReadsTheVerticalSizeThroughTheGang) {
    Records r;
    defineBlurPair(r.records, kFirst, kGlowPair);
    r.records[kFirst + kHorizontal].number = 12.5;
    r.records[kFirst + kVertical].number = 40.0;
    BlurSizes sizes = blurPairSizes(r.records, kFirst);
    EXPECT_EQ(sizes.horizontal, 12.5);
    EXPECT_EQ(sizes.vertical, 12.5);
    r.records[kFirst + kGang].boolean = false;
    sizes = blurPairSizes(r.records, kFirst);
    EXPECT_EQ(sizes.vertical, 40.0);
}

TEST(GlowParameters, ChangesFollowTheGang) {
    struct Case {
        const char* what;
        bool ganged;
        uint32_t changed;
        bool onlyGang;  // blurGangChanged instead of blurPairChanged
        double vertical;
        bool verticalEnabled;
        bool refreshed;
    };
    const Case cases[] = {
        {"horizontal while ganged", true, kFirst + kHorizontal, false, 80.0, true, true},
        {"horizontal while ganged, gang only", true, kFirst + kHorizontal, true, 40.0, true, false},
        {"horizontal while free", false, kFirst + kHorizontal, false, 40.0, true, false},
        {"gang switched on", true, kFirst + kGang, false, 40.0, false, true},
        {"gang switched on, gang only", true, kFirst + kGang, true, 40.0, false, true},
        {"gang switched off", false, kFirst + kGang, false, 40.0, true, false},
        {"vertical", true, kFirst + kVertical, false, 40.0, true, false},
        {"another record", true, 2, false, 40.0, true, false},
    };
    for (const Case& c : cases) {
        Records r;
        defineBlurPair(r.records, kFirst, kGlowPair);
        Parameter& vertical = r.records[kFirst + kVertical];
        vertical.flags = ParameterFlag::Enabled;  // as after the dialog has drawn it
        vertical.number = 40.0;
        r.records[kFirst + kHorizontal].number = 80.0;
        r.records[kFirst + kGang].boolean = c.ganged;
        if (c.onlyGang)
            blurGangChanged(r.records, kFirst, c.changed);
        else
            blurPairChanged(r.records, kFirst, c.changed);
        EXPECT_EQ(vertical.number, c.vertical) << c.what;
        EXPECT_EQ(vertical.isEnabled(), c.verticalEnabled) << c.what;
        EXPECT_EQ(vertical.hasFlag(ParameterFlag::NeedsRefresh), c.refreshed) << c.what;
    }
}

}  // namespace
