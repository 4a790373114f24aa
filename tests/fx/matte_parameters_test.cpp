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

TEST(MatteParameters, DefinesTheTwelveRecords) {
    MatteExtractor extractor;
    // As Matte Generator does before defining its rows.
    extractor.setPosition(1.0f);
    extractor.setRange(1.6f);
    Group g;
    defineParameters(extractor, g.records, kFirst);

    struct Row {
        const char* key;
        const char* label;
        ParameterKind kind;
        double minimum, maximum, value;
        uint16_t flags;
    };
    const Row rows[kCount] = {
        {"extractOn", "Extract On", ParameterKind::List, 0, 0, 0, 33 | 4},
        {"position", "Position", ParameterKind::Number, 0, 100, 100, 33 | 2 | 16384},
        {"range", "Range", ParameterKind::Number, 0, 100, 80, 33 | 2 | 16384},
        {"clip", "Clip", ParameterKind::GroupBegin, 0, 0, 0, 33 | 2},
        {"clipBlack", "Clip Black", ParameterKind::Number, 0, 100, 0, 33 | 2 | 16384},
        {"clipWhite", "Clip White", ParameterKind::Number, 0, 100, 0, 33 | 2 | 16384},
        {nullptr, nullptr, ParameterKind::GroupEnd, 0, 0, 0, 33},
        {"matteAdjust", "Shrink/Grow", ParameterKind::Number, -50, 50, 0, 33},
        {"matteBlurX", "Horizontal Blur", ParameterKind::Number, 0, 500, 0, 33},
        {"matteBlurY", "Vertical Blur", ParameterKind::Number, 0, 500, 0, 32},  // disabled while ganged
        {"matteBlurGang", "Gang Blur", ParameterKind::Boolean, 0, 0, 1, 33 | 16},
        {"invert", "Invert", ParameterKind::Boolean, 0, 0, 0, 33},
    };
    for (uint32_t i = 0; i < kCount; ++i) {
        const Parameter& p = g.group()[i];
        const Row& r = rows[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(p.kind, r.kind);
        EXPECT_EQ(p.flags, r.flags);
        if (r.key) {
            EXPECT_STREQ(p.name, r.key);
            EXPECT_STREQ(p.label, r.label);
        } else {
            EXPECT_EQ(p.name, nullptr);
        }
        if (r.kind == ParameterKind::Number) {
            EXPECT_EQ(p.minimum, r.minimum);
            EXPECT_EQ(p.maximum, r.maximum);
            EXPECT_EQ(p.number, r.value);
            EXPECT_EQ(p.numberDefault, r.value);
            EXPECT_EQ(p.numberWord, 1u);
        }
        if (r.kind == ParameterKind::Boolean) {
            EXPECT_EQ(p.boolean, r.value != 0);
        }
    }
    const Parameter& list = g.group()[kExtractOn];
    ASSERT_EQ(list.itemCount, 10u);
    EXPECT_STREQ(list.items[0], "Luminance");
    EXPECT_STREQ(list.items[1], "Hue");
    EXPECT_STREQ(list.items[9], "Yellow");
    // The records around the group are not touched.
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
