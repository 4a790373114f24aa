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

TEST(GlowParameters, DefinesTheBlurPairAtItsIndex) {
    Records r;
    defineBlurPair(r.records, kFirst, kGlowPair);
    struct Row {
        uint32_t index;
        const char* key;
        const char* label;
        ParameterKind kind;
        uint16_t flags;
    };
    const Row rows[] = {
        {kFirst + kHorizontal, "glowBlurH", "Horizontal Blur", ParameterKind::Number, 33 | 16},
        {kFirst + kVertical, "glowBlurV", "Vertical Blur", ParameterKind::Number, 33 | 16},
        {kFirst + kGang, "glowBlurGang", "Gang Blur", ParameterKind::Boolean, 33 | 16},
    };
    for (const Row& row : rows) {
        const Parameter& p = r.records[row.index];
        EXPECT_EQ(std::string(p.name), row.key);
        EXPECT_EQ(std::string(p.label), row.label);
        EXPECT_EQ(p.kind, row.kind);
        EXPECT_EQ(p.flags, row.flags) << row.key;
    }
    for (uint32_t i : {kFirst + kHorizontal, kFirst + kVertical}) {
        EXPECT_EQ(r.records[i].minimum, 0.0);
        EXPECT_EQ(r.records[i].maximum, 500.0);
        EXPECT_EQ(r.records[i].number, 30.0);
        EXPECT_EQ(r.records[i].numberDefault, 30.0);
        EXPECT_EQ(r.records[i].numberWord, 1u);
    }
    EXPECT_TRUE(r.records[kFirst + kGang].boolean);
    EXPECT_EQ(r.records[kFirst - 1].kind, ParameterKind::None);  // neighbours untouched
    EXPECT_EQ(r.records[kFirst + kCount].kind, ParameterKind::None);

    // Glow's own pair carries no notify flag on its sizes.
    BlurPairDefinition quiet = kGlowPair;
    quiet.sizeFlags = 0;
    defineBlurPair(r.records, 0, quiet);
    EXPECT_EQ(r.records[kHorizontal].flags, 33);
    EXPECT_EQ(r.records[kGang].flags, 33 | 16);
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

TEST(GlowParameters, ModeLists) {
    Parameter mode;
    defineGlowModeList(mode, GlowModeItem::kSpread);
    EXPECT_EQ(std::string(mode.name), "glowMode");
    EXPECT_EQ(std::string(mode.label), "Glow");
    ASSERT_EQ(mode.itemCount, 2u);
    EXPECT_EQ(std::string(mode.items[0]), "Subtle");
    EXPECT_EQ(std::string(mode.items[1]), "Spread");
    EXPECT_EQ(mode.listIndex, 1u);
    EXPECT_EQ(mode.listDefault, 1u);

    Parameter blend;
    defineBlendList(blend, "fogBlend", "Blend", BlendItem::kScreen);
    EXPECT_EQ(std::string(blend.name), "fogBlend");
    EXPECT_EQ(std::string(blend.label), "Blend");
    ASSERT_EQ(blend.itemCount, 2u);
    EXPECT_EQ(std::string(blend.items[0]), "Screen");
    EXPECT_EQ(std::string(blend.items[1]), "ADD");
    EXPECT_EQ(blend.listIndex, 0u);
}

}  // namespace
