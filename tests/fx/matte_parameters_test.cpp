#include "fx/matte_parameters.h"

#include <gtest/gtest.h>

using namespace MatteParameter;

namespace {

constexpr uint32_t kFirst = 2;
constexpr uint32_t kArraySize = kFirst + kCount + 1;

// The group defined at kFirst from the extractor's current values.
struct Group {
    Parameter records[kArraySize];
    explicit Group(const MatteExtractor& extractor) { defineParameters(extractor, records, kFirst); }
    Parameter* group() { return records + kFirst; }
};

}  // namespace

// The records' keys, ranges, flags and defaults are checked with the effects that hold the group
// (their parameter descriptions), and the gang with the effects' change hooks.
TEST(MatteParameters, SettingsInExtractorUnits) {
    MatteExtractor extractor;
    Group g(extractor);
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
    Group g(extractor);
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
