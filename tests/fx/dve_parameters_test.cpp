#include "fx/dve_parameters.h"

#include <gtest/gtest.h>

#include "tests/support/effect_harness.h"
#include "tests/support/parameter_rows.h"

using namespace DveParameter;

namespace {

constexpr uint32_t kFirst = 3;
constexpr uint32_t kArraySize = kFirst + kCount + 1;

struct Group {
    Parameter records[kArraySize];
    DveTransform transform;
    Group() { defineParameters(transform, records, kFirst); }
    Parameter* group() { return records + kFirst; }
};

}  // namespace

TEST(DveParameters, DefinesTheTwentyThreeRecords) {
    Group g;
    using K = ParameterKind;
    constexpr uint16_t kNew = ParameterFlag::NewRecord, kHidden = ParameterFlag::Hidden;
    constexpr uint16_t kGroupBegin = kNew | ParameterFlag::Open | 256;
    expectParameterRows(g.group(), {
        {"dve", "DVE", K::GroupBegin, kGroupBegin},
        {"dveCrop", "Crop", K::GroupBegin, kGroupBegin | kHidden},
        {"dveCropTop", "Top", K::Number, kNew, 0, 100, 0},
        {"dveCropBottom", "Bottom", K::Number, kNew, 0, 100, 100},
        {"dveCropLeft", "Left", K::Number, kNew, 0, 100, 0},
        {"dveCropRight", "Right", K::Number, kNew, 0, 100, 100},
        {nullptr, nullptr, K::GroupEnd, kNew | kHidden},
        {"dveCornerPin", "Corner-Pin", K::GroupBegin, kGroupBegin | kHidden},
        {"dveCornerPinUL", "Upper-Left", K::Point, kNew, 0, 0, 0, {}, {-0.5, -0.5}},
        {"dveCornerPinUR", "Upper-Right", K::Point, kNew, 0, 0, 0, {}, {0.5, -0.5}},
        {"dveCornerPinLR", "Lower-Right", K::Point, kNew, 0, 0, 0, {}, {0.5, 0.5}},
        {"dveCornerPinLL", "Lower-Left", K::Point, kNew, 0, 0, 0, {}, {-0.5, 0.5}},
        {nullptr, nullptr, K::GroupEnd, kNew | kHidden},
        {"dvePosition", "Position", K::Point, kNew},
        {"dveScaleX", "Scale.X", K::Number, kNew, 0, 500, 100},
        {"dveScaleY", "Scale.Y", K::Number, ParameterFlag::NeedsRefresh, 0, 500, 100},  // disabled while ganged
        {"dveScaleGang", "Gang Scale", K::Boolean, kNew | ParameterFlag::NotifyOnChange, 0, 0, 1},
        {"dveRotate", "Rotate", K::Number, kNew | ParameterFlag::Degrees, -360, 360, 0},
        {"dveShearX", "Shear.X", K::Number, kNew | kHidden, -50, 50, 0},
        {"dveShearY", "Shear.Y", K::Number, kNew | kHidden, -50, 50, 0},
        {"dveAnchorX", "Anchor.X", K::Number, kNew | kHidden, -100, 100, 0},
        {"dveAnchorY", "Anchor.Y", K::Number, kNew | kHidden, -100, 100, 0},
        {nullptr, nullptr, K::GroupEnd, kNew},
    });
    EXPECT_EQ(g.records[kFirst - 1].kind, ParameterKind::None);
    EXPECT_EQ(g.records[kFirst + kCount].kind, ParameterKind::None);
    // The defaults are the identity.
    EXPECT_EQ(dveSettings(g.group()), DveSettings{});
    EXPECT_FALSE(update(g.transform, g.group()));
}

TEST(DveParameters, GangEnablesScaleYOnlyWhenOff) {
    Group g;
    Parameter* group = g.group();
    group[kScaleY].flags = 0;  // as after the dialog has applied the refresh
    group[kScaleGang].boolean = false;
    onParameterChanged(g.transform, group, kScaleGang);
    EXPECT_EQ(group[kScaleY].flags, 1 | 32);
    group[kScaleY].flags = 1;
    onParameterChanged(g.transform, group, kScaleX);
    EXPECT_EQ(group[kScaleY].flags, 1);
    group[kScaleGang].boolean = true;
    onParameterChanged(g.transform, group, kScaleGang);
    EXPECT_EQ(group[kScaleY].flags, 32);
}

TEST(DveParameters, SettingsInTransformUnits) {
    Group g;
    Parameter* group = g.group();
    group[kCropTop].number = 25;
    group[kCropBottom].number = 75;
    group[kCornerPinLowerLeft].point = {-0.25, 0.5};
    group[kPosition].point = {0.1, -0.2};
    group[kScaleX].number = 200;
    group[kScaleY].number = 50;
    group[kRotate].number = -90;
    group[kShearY].number = 12.5;
    group[kAnchorX].number = 50;
    DveSettings s = dveSettings(group);
    EXPECT_EQ(s.cropTop, 0.25f);
    EXPECT_EQ(s.cropBottom, 0.75f);
    EXPECT_EQ(s.cornerLowerLeft, (PlanePoint{-0.25, 0.5}));
    EXPECT_EQ(s.position, (PlanePoint{0.1, -0.2}));
    EXPECT_EQ(s.scaleX, 2.0f);
    EXPECT_EQ(s.scaleY, 2.0f);  // ganged: Scale.Y follows Scale.X
    EXPECT_EQ(s.rotate, -90.0f);
    EXPECT_EQ(s.shearY, 12.5f);
    EXPECT_EQ(s.anchor, (PlanePoint{0.5, 0.0}));
    EXPECT_TRUE(update(g.transform, group));
    EXPECT_FALSE(update(g.transform, group));

    group[kScaleGang].boolean = false;
    EXPECT_EQ(dveSettings(group).scaleY, 0.5f);
    // Damaged stored values are held to the records' ranges.
    group[kScaleX].number = 1e300;
    group[kRotate].number = -1e9;
    group[kCropRight].number = -3;
    s = dveSettings(group);
    EXPECT_EQ(s.scaleX, 5.0f);
    EXPECT_EQ(s.rotate, -360.0f);
    EXPECT_EQ(s.cropRight, 0.0f);
}

// Through the render information of this host: bilinear, no field frame, aspect 1; Scale.X
// 200 with the gang on doubles both axes.
TEST(DveParameters, ApplyFollowsTheRenderInfo) {
    fx::Plugin::RenderInfo info;
    const DveSampling sampling = dveSampling(info);
    EXPECT_TRUE(sampling.smooth);
    EXPECT_FALSE(sampling.halfHeight);
    EXPECT_EQ(sampling.aspect, 1.0);

    Group g;
    g.group()[kScaleX].number = 200;
    update(g.transform, g.group());
    info.reservedWord1 = 0;  // nearest
    const ImagePtr source = makeNoiseImage(8, 8, 4, 1);
    const ImagePtr image = source->clone();
    apply(g.transform, *image, info);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x)
            for (uint32_t c = 0; c < 4; ++c)
                ASSERT_EQ(sampleAt(*image, x, y, c), sampleAt(*source, 2 + x / 2, 2 + y / 2, c)) << x << "," << y;
}
