#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "fx/effect_registry.h"
#include "tests/fx/test_effect.h"

namespace {

std::unique_ptr<Effect, EffectDeleter> makeKinds() {
    return std::unique_ptr<Effect, EffectDeleter>(effectClassOf<KindsEffect>().create());
}

TEST(Parameter, SetEnabledTouchesRefreshOnlyOnChange) {
    Parameter p;
    p.flags = ParameterFlag::Enabled;  // enabled, refresh already cleared by the dialog
    p.setEnabled(true);
    EXPECT_EQ(p.flags, ParameterFlag::Enabled);
    p.setEnabled(false);
    EXPECT_EQ(p.flags, ParameterFlag::NeedsRefresh);
    p.flags = 0;
    p.setOpen(true);
    EXPECT_EQ(p.flags, ParameterFlag::Open | ParameterFlag::NeedsRefresh);
}

TEST(Parameter, NumberTextFollowsWholeFlag) {
    Parameter p;
    p.defineNumber("size", "Size", 0, 100, 12.9);
    EXPECT_EQ(p.formatNumber(), "12.9");
    p.addFlags(ParameterFlag::Whole);
    EXPECT_EQ(p.formatNumber(), "12");
    p.number = -3.7;
    EXPECT_EQ(p.formatNumber(), "-3");
}

TEST(Effect, ColorAccessorsTruncateInSinglePrecision) {
    auto effect = makeKinds();
    EXPECT_EQ(effect->color8(5), (std::array<uint8_t, 4>{255, 127, 0, 255}));
    EXPECT_EQ(effect->color16(5), (std::array<uint16_t, 4>{32768, 16384, 0, 32768}));
}

TEST(Effect, PointPixelMapsFractionsFromTheCentre) {
    auto effect = makeKinds();
    struct Case {
        double x, y;
        int32_t px, py;
    };
    constexpr int32_t lowest = std::numeric_limits<int32_t>::min(), highest = std::numeric_limits<int32_t>::max();
    const Case cases[] = {{0.0, 0.0, 320, 240},  {-0.5, -0.5, 0, 0},       {0.5, 0.5, 640, 480},
                          {0.25, -0.25, 480, 120}, {2.0, -3.0, 1600, -1200}, {1e300, -1e300, highest, lowest}};
    for (const Case& c : cases) {
        effect->parameter(6).point = {c.x, c.y};
        EXPECT_EQ(effect->pointPixel(6, 640, 480), (std::array<int32_t, 2>{c.px, c.py})) << c.x << "," << c.y;
    }
}

TEST(Effect, ImageFilePathEmptyTextMeansNone) {
    auto effect = makeKinds();
    EXPECT_EQ(effect->imageFilePath(7), nullptr);
    effect->setImageFilePath(7, "brick.png");
    EXPECT_STREQ(effect->imageFilePath(7), "brick.png");
    effect->setImageFilePath(7, "");
    EXPECT_EQ(effect->imageFilePath(7), nullptr);
    effect->setImageFilePath(7, "brick.png");
    effect->setImageFilePath(7, nullptr);
    EXPECT_EQ(effect->imageFilePath(7), nullptr);
}

TEST(Effect, ResetRestoresDefaultsAndClearsFile) {
    auto effect = makeKinds();
    effect->parameter(2).number = 80;
    effect->parameter(3).boolean = true;
    effect->parameter(4).listIndex = 2;
    effect->parameter(5).color = {0, 0, 0};
    effect->parameter(6).point = {0.3, 0.3};
    effect->setImageFilePath(7, "grass.png");
    effect->resetToDefaults();
    EXPECT_EQ(effect->numberValue(2), 25.0);
    EXPECT_FALSE(effect->booleanValue(3));
    EXPECT_EQ(effect->listValue(4), 0u);
    EXPECT_EQ(effect->colorValue(5).red, 1.0);
    EXPECT_EQ(effect->pointValue(6).x, 0.0);
    EXPECT_EQ(effect->imageFilePath(7), nullptr);
}

}  // namespace
