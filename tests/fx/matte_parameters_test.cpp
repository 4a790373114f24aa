#include "fx/matte_parameters.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace MatteParameter;

namespace {

constexpr uint32_t kFirst = 2;
constexpr uint32_t kArraySize = kFirst + kCount + 1;

struct Group {
    Parameter records[kArraySize];
    Parameter* group() { return records + kFirst; }
};

}  // namespace

// The records' keys, ranges and flags are checked with the effects that hold the group (their
// parameter descriptions); here: the defaults come from the extractor's current values, and the
// group writes nothing outside its twelve records.
TEST(MatteParameters, DefaultsFollowTheExtractor) {
    MatteExtractor extractor;
    extractor.setExtractOn(3);
    extractor.setPosition(0.25f);
    extractor.setRange(0.5f);
    extractor.setBlur(7.0f);
    Group g;
    defineParameters(extractor, g.records, kFirst);
    const Parameter* group = g.group();
    EXPECT_EQ(group[kExtractOn].listDefault, 3u);
    EXPECT_EQ(group[kPosition].numberDefault, 25.0);  // position x 100
    EXPECT_EQ(group[kRange].numberDefault, 25.0);     // range x 50
    EXPECT_EQ(group[kMatteBlurX].numberDefault, 7.0);
    EXPECT_EQ(group[kMatteBlurY].numberDefault, 7.0);
    EXPECT_EQ(g.records[kFirst - 1].kind, ParameterKind::None);
    EXPECT_EQ(g.records[kFirst + kCount].kind, ParameterKind::None);
}

TEST(MatteParameters, GangEnablesVerticalBlurOnlyWhenOff) {
    MatteExtractor extractor;
    Group g;
    defineParameters(extractor, g.records, kFirst);
    Parameter* group = g.group();
    group[kMatteBlurY].flags = 0;  // as after the dialog has applied the refresh

    group[kMatteBlurGang].boolean = false;
    onParameterChanged(extractor, group, kMatteBlurGang);
    EXPECT_EQ(group[kMatteBlurY].flags, 1 | 32);

    group[kMatteBlurY].flags = 1;
    onParameterChanged(extractor, group, kMatteBlurX);  // not the gang: nothing happens
    EXPECT_EQ(group[kMatteBlurY].flags, 1);

    group[kMatteBlurGang].boolean = true;
    onParameterChanged(extractor, group, kMatteBlurGang);
    EXPECT_EQ(group[kMatteBlurY].flags, 32);
}

TEST(MatteParameters, SettingsInExtractorUnits) {
    MatteExtractor extractor;
    Group g;
    defineParameters(extractor, g.records, kFirst);
    Parameter* group = g.group();
    group[kRange].number = 50;
    group[kClipWhite].number = 100;
    EXPECT_EQ(matteSettings(group).range, 1.0f);  // a range of 50 is 1.0, not 0.5
    EXPECT_EQ(matteSettings(group).clipWhite, 1.0f);

    // Damaged stored values are held to the records' ranges.
    group[kPosition].number = 1e300;
    group[kMatteAdjust].number = -1e9;
    group[kMatteBlurX].number = -4;
    const MatteSettings held = matteSettings(group);
    EXPECT_EQ(held.position, 1.0f);
    EXPECT_EQ(held.shrinkGrow, -50.0f);
    EXPECT_EQ(held.blurX, 0.0f);
}

TEST(MatteParameters, UpdateAndBuildFromTheRenderInfo) {
    MatteExtractor extractor;
    Group g;
    defineParameters(extractor, g.records, kFirst);
    fx::Plugin::RenderInfo info;
    info.is16 = true;
    EXPECT_TRUE(update(extractor, g.group(), info));
    EXPECT_EQ(extractor.tableDepth(), 2u);
    EXPECT_FALSE(update(extractor, g.group(), info));
    info.is16 = false;
    EXPECT_TRUE(update(extractor, g.group(), info));
    EXPECT_EQ(extractor.tableDepth(), 1u);

    // The host leaves reservedZero at 0: every build extracts.
    EXPECT_FALSE(matteBuildContext(info).reuseCached);
    info.reservedZero = 1.0;
    info.reservedWord1 = 3;
    info.scaleX = 0.25;
    info.scaleY = 0.5;
    const MatteBuildContext context = matteBuildContext(info);
    EXPECT_TRUE(context.reuseCached);
    EXPECT_EQ(context.extraBlurPasses, 3u);
    EXPECT_EQ(context.scaleX, 0.25);
    EXPECT_EQ(context.scaleY, 0.5);
}
