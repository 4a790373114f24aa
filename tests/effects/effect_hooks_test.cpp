// When each effect leaves the picture to the host (isActive), how its blur pairs follow their
// gang switches, and the margins each asks the host for around a tile (requiredSource): a blur of size s reads floor(s / 2) + 2 pixels per run of
// its box, two runs, and reads that follow one another add up.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/effect_harness.h"

namespace {

struct ActiveCase {
    const char* key;
    std::vector<Setting> settings;
    bool active;
};

const ActiveCase kActiveCases[] = {
    {"Temperature", {}, false},
    {"Temperature", {{"temperature", 1}}, true},
    {"Temperature", {{"cyanMagenta", -3}}, true},
    {"Temperature", {{"brightness", 0.5}}, true},
    {"Temperature", {{"view", 1}, {"temperature", 50}, {"brightness", 50}}, false},
    {"WarmCool", {}, false},
    {"WarmCool", {{"temperature", -10}}, true},
    {"WarmCool", {{"view", 1}, {"temperature", 10}}, false},
    {"Fluorescent", {}, false},
    {"Fluorescent", {{"temperature", 5}}, true},
    {"Fluorescent", {{"view", 1}, {"temperature", 20}}, false},
    {"BlackAndWhite", {}, true},
    {"BlackAndWhite", {{"view", 1}, {"brightness", 30}}, false},
    {"BleachBypass", {}, true},
    {"BleachBypass", {{"amount", 0}, {"saturation", 60}, {"contrast", -20}}, false},
    {"BleachBypass", {{"amount", 0.5}}, true},
    {"BleachBypass", {{"view", 1}, {"amount", 100}}, false},
    {"BleachBypass", {{"amount", -5}}, false},  // a stored value below the range
    {"InfraRed", {}, true},
    {"InfraRed", {{"view", 1}, {"glowBrightness", 0}}, true},
    {"InfraRed", {{"view", 2}}, true},
    {"ColorCorrect", {}, false},
    {"ColorCorrect", {{"ccShadPos", 30}, {"ccMidRange", 10}}, false},  // position and range alone change nothing
    {"ColorCorrect", {{"ccMasterHue", 10}}, true},
    {"ColorCorrect", {{"ccMasterSat", -5}}, true},
    {"ColorCorrect", {{"ccGamma", 1}}, true},
    {"ColorCorrect", {{"ccMasterB", -1}}, true},
    {"ColorCorrect", {{"ccTintAmount", 1}}, true},
    {"ColorCorrect", {{"ccHighCon", 3}}, true},
    {"ColorCorrect", {{"ccMidG", 3}}, true},
    {"ColorCorrect", {{"view", 1}}, true},
    {"ColorCorrect", {{"view", 2}}, true},
    {"ColorCorrect", {{"view", 3}}, true},
    {"ColorCorrect", {{"view", 4}, {"ccBrightness", 50}}, false},
    {"Ozone", {}, false},
    {"Ozone", {{"pos3", 55}, {"rng9", 5}}, false},
    {"Ozone", {{"bri0", 1}}, true},
    {"Ozone", {{"con10", -1}}, true},
    {"Ozone", {{"gam4", 2}}, true},
    {"Ozone", {{"blu7", -200}}, true},
    {"Ozone", {{"view", 1}}, true},
    {"Ozone", {{"view", 11}}, true},
    // Active when a colour slider is set or the matte is shown; with no slider set "Output" and
    // "Original" leave the picture to the host.
    {"SelectiveColor", {}, false},
    {"SelectiveColor", {{"position", 30}, {"matteBlurX", 20}, {"invert", 1}}, false},
    {"SelectiveColor", {{"view", 1}}, true},
    {"SelectiveColor", {{"view", 2}}, false},
    {"SelectiveColor", {{"hue", -360}}, true},
    {"SelectiveColor", {{"saturation", 5}}, true},
    {"SelectiveColor", {{"ccGamma", -1}}, true},
    {"SelectiveColor", {{"ccMasterB", 100}}, true},
    {"SelectiveColor", {{"warmCool", -50}}, true},
    {"Defocus", {}, true},
    {"Defocus", {{"view", 2}}, false},
    {"Defocus", {{"hblur", 0}, {"bloom", 0}}, false},
    {"Defocus", {{"hblur", 0}, {"bloom", 0}, {"view", 1}}, true},
    {"Defocus", {{"hblur", 0}, {"bloom", 1}}, true},
    {"Defocus", {{"hblur", 3}, {"bloom", 0}}, true},
    // Ganged, the vertical size follows the horizontal one whatever its own value.
    {"Defocus", {{"hblur", 0}, {"vblur", 9}, {"bloom", 0}}, false},
    {"Defocus", {{"hblur", 0}, {"vblur", 9}, {"gang", 0}, {"bloom", 0}}, true},
    {"FastBlur", {}, true},
    {"FastBlur", {{"blurX", 0}}, true},
    {"Overexpose", {}, false},
    {"Overexpose", {{"amount", 0.5}}, true},
    {"Overexpose", {{"amount", 50}, {"view", 1}}, false},
    {"Overexpose", {{"amount", 50}, {"blur", 0}}, true},
    // Active unless "Original" is shown or there is nothing to blur.
    {"SelectiveFocus", {{"blurX", 10}}, true},
    {"SelectiveFocus", {{"blurX", 0}, {"blurY", 10}}, false},
    {"SelectiveFocus", {{"blurX", 0}, {"gang", 0}, {"blurY", 4}}, true},
    {"SelectiveFocus", {{"view", 1}, {"blurX", 0}, {"blurY", 0}}, true},
    {"SelectiveFocus", {{"view", 2}, {"blurX", 10}}, false},
    {"SelectiveFocus", {{"blurX", -40}}, false},  // a stored value below the range
    {"SkinSmoother", {{"blurX", 3}}, true},
    {"SkinSmoother", {{"blurX", 0}, {"blurY", 3}}, false},
    {"SkinSmoother", {{"view", 2}, {"blurX", 0}, {"blurY", 0}}, true},
    {"SkinSmoother", {{"view", 3}, {"blurX", 3}}, false},
    {"CenterSpot", {{"blurX", -5}, {"blurY", 10}}, false},
    {"CenterSpot", {{"view", 1}, {"blurX", 0}, {"blurY", 0}}, true},
    {"CenterSpot", {{"view", 2}, {"blurX", 10}}, false},
    {"Grain", {}, true},
    {"Grain", {{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0}}, false},
    {"Grain", {{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0.5}}, true},
    {"Grain", {{"view", 1}}, false},
};

// "InfraRed glowBlurH=23": how a failure names its case.
std::string describe(const char* key, const std::vector<Setting>& settings) {
    std::ostringstream text;
    text << key;
    for (const Setting& s : settings) text << " " << s.key << "=" << s.value;
    return text.str();
}

// The host asks after the prepare step of every run, before and after a render.
TEST(EffectHooks, IsActive) {
    const ImagePtr image = makeNoiseImage(8, 8, 4, 1, 5);
    for (const ActiveCase& c : kActiveCases) {
        SCOPED_TRACE(describe(c.key, c.settings));
        EffectHarness harness(c.key);
        harness.apply(c.settings);
        EXPECT_EQ(harness.isActive(*image), c.active);
        harness.render(*image);
        EXPECT_EQ(harness.isActive(*image), c.active);
    }
}

struct MarginCase {
    const char* key;
    std::vector<Setting> settings;
    double scale;  // of a preview
    int32_t vertical, horizontal;
};

const MarginCase kMarginCases[] = {
    // At least the rounded-up scaled sizes, widened to what the two runs of the box read.
    {"FastBlur", {}, 1.0, 14, 14},
    {"FastBlur", {{"blurX", 7.2}, {"blurY", 3}, {"gang", 0}}, 1.0, 6, 10},
    {"FastBlur", {{"blurX", 20}}, 0.25, 8, 8},  // a blur of 20 is 5 at a quarter
    {"FastBlur", {{"blurX", 0}}, 1.0, 0, 0},
    {"FastBlur", {{"blurX", 1e12}}, 1.0, 504, 504},  // stored values beyond the range are held to it
    {"FastBlur", {{"blurX", -4}}, 1.0, 0, 0},
    // Defocus: the bloom taken as pixels, or both blurs together when they reach further.
    {"Defocus", {}, 1.0, 50, 50},
    {"Defocus", {{"bloom", 0}}, 1.0, 24, 24},
    {"Defocus", {{"bloom", 0}, {"hblur", 30}, {"vblur", 4}, {"gang", 0}}, 1.0, 8, 34},
    {"Defocus", {{"bloom", 10}, {"hblur", 30}, {"vblur", 4}, {"gang", 0}}, 1.0, 10, 34},
    {"Defocus", {{"bloom", 0}, {"matteBlur", 120}}, 0.5, 78, 78},
    {"Defocus", {{"bloom", 0}, {"hblur", 9}}, 0.25, 6, 6},
    {"Overexpose", {}, 1.0, 54, 54},
    {"Overexpose", {{"amount", 50}, {"blur", 0}}, 1.0, 0, 0},
    {"Overexpose", {{"amount", 50}, {"blur", 20}}, 0.25, 8, 8},
    {"Overexpose", {{"amount", 50}, {"blur", 7.5}}, 0.5, 6, 6},
    {"Overexpose", {{"amount", 50}, {"blur", 9e9}}, 1.0, 504, 504},
    // Infra-Red: the glow spreads the blurred matte, so the two reaches add up.
    {"InfraRed", {}, 1.0, 34, 34},
    {"InfraRed", {{"glowBlurV", 50}}, 1.0, 34, 34},  // ganged: the vertical size follows the horizontal one
    {"InfraRed", {{"glowBlurV", 50}, {"glowBlurGang", 0}}, 1.0, 54, 34},
    {"InfraRed", {{"glowBlurH", 23}}, 1.0, 26, 26},
    {"InfraRed", {{"matteBlur", 80}}, 1.0, 118, 118},
    {"InfraRed", {{"matteBlur", 40}, {"glowBlurH", 10}, {"glowBlurV", 70}, {"glowBlurGang", 0}}, 1.0, 118, 58},
    {"InfraRed", {{"matteBlur", 40}, {"glowBrightness", 0}}, 1.0, 78, 78},
    {"InfraRed", {{"glowBlurH", 25}}, 0.5, 16, 16},  // 12.5 pixels: radius 6.25
    {"InfraRed", {{"glowBlurH", 30}}, 0.5, 18, 18},
    {"InfraRed", {{"glowBlurH", 0.4}}, 1.0, 4, 4},
    {"InfraRed", {{"glowBlurH", 0}}, 1.0, 0, 0},
    {"InfraRed", {{"matteBlur", 1e9}, {"glowBlurH", -40}}, 1.0, 204, 204},
    // Low Contrast: the matte blur, then the spread blur twice (the spill, then the light).
    {"LowContrast", {{"matteBlur", 0}, {"lightSpread", 0}}, 1.0, 0, 0},
    {"LowContrast", {{"matteBlur", 0}, {"lightSpread", 100}}, 1.0, 2 * 2 * 52, 2 * 2 * 52},
    {"LowContrast", {{"matteBlur", 10}, {"lightSpread", 0}}, 1.0, 2 * 7, 2 * 7},
    {"LowContrast", {{"matteBlur", 7}, {"lightSpread", 3}}, 1.0, 2 * 5 + 2 * 2 * 3, 2 * 5 + 2 * 2 * 3},
    // The matte's blur, and ceil(|amount|) more for its shrink or grow.
    {"MatteGenerator", {{"matteBlurX", 0}}, 1.0, 0, 0},
    {"MatteGenerator", {{"matteBlurX", 10}, {"matteBlurY", 3}}, 1.0, 14, 14},
    {"MatteGenerator", {{"matteBlurX", 10}, {"matteBlurY", 3}, {"matteBlurGang", 0}}, 1.0, 6, 14},
    {"MatteGenerator", {{"matteBlurX", 0}, {"matteBlurY", 25}, {"matteBlurGang", 0}}, 1.0, 28, 0},
    {"MatteGenerator", {{"matteAdjust", -2.5}, {"matteBlurX", 0}}, 1.0, 3, 3},
    {"MatteGenerator", {{"matteAdjust", 4}, {"matteBlurX", 25}}, 1.0, 32, 32},
    {"SelectiveColor", {}, 1.0, 0, 0},
    {"SelectiveColor", {{"matteBlurX", 12}}, 1.0, 16, 16},
    {"SelectiveColor", {{"matteBlurX", 12}, {"matteBlurY", 3}, {"matteBlurGang", 0}}, 1.0, 6, 16},
    {"SelectiveColor", {{"matteAdjust", 4}, {"matteBlurX", 7}, {"hue", 40}}, 1.0, 14, 14},
    // Grain: its largest cell at the preview's scale, rounded up, whatever the amounts or view.
    {"Grain", {}, 1.0, 1, 1},
    {"Grain", {{"grainRAmount", 0}, {"grainGAmount", 0}, {"grainBAmount", 0}}, 1.0, 1, 1},
    {"Grain", {{"view", 1}}, 1.0, 1, 1},
    {"Grain", {{"grainGSize", 10}}, 0.5, 5, 5},
    {"Grain", {{"grainBSize", 7}}, 0.3, 3, 3},    // ceil(2.1)
    {"Grain", {{"grainRSize", 900}}, 1.0, 10, 10},  // stored values are held to the range
};

// Asked after the prepare step, as the host does.
TEST(EffectHooks, RequiredSource) {
    const PixelRect rect{100, 200, 150, 260};
    const ImagePtr image = makeNoiseImage(8, 8, 4, 1, 5);
    for (const MarginCase& c : kMarginCases) {
        EffectHarness harness(c.key);
        harness.apply(c.settings);
        harness.isActive(*image);
        EXPECT_EQ(harness.requiredSource(rect, 1000, 1000, c.scale), rect.grown(c.vertical, c.horizontal))
            << describe(c.key, c.settings) << " at scale " << c.scale;
    }
}

// A blur pair and its gang switch: while ganged the vertical size is disabled and, in the
// effects that copy it, follows the horizontal one; switched off, the vertical size is enabled
// and keeps its own value. No other record touches it.
TEST(EffectHooks, TheGangRulesTheVerticalSize) {
    struct Case {
        const char* key;
        const char* horizontal;
        const char* vertical;
        const char* gang;
        bool copiesTheSize;
    };
    const Case cases[] = {
        {"Defocus", "hblur", "vblur", "gang", true},
        {"FastBlur", "blurX", "blurY", "gang", false},
        {"SelectiveFocus", "blurX", "blurY", "gang", true},
        {"SkinSmoother", "blurX", "blurY", "gang", true},
        {"CenterSpot", "blurX", "blurY", "gang", true},
        {"InfraRed", "glowBlurH", "glowBlurV", "glowBlurGang", true},
        {"MatteGenerator", "matteBlurX", "matteBlurY", "matteBlurGang", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EffectHarness harness(c.key);
        Effect& effect = harness.effect();
        const uint32_t horizontal = harness.index(c.horizontal), gang = harness.index(c.gang);
        Parameter& vertical = effect.parameter(harness.index(c.vertical));
        auto changed = [&](uint32_t index) { effect.effectClass->parameterChanged(&effect, index); };
        vertical.flags = ParameterFlag::Enabled;  // as after the dialog has drawn it
        const double own = vertical.number;
        harness.setNumber(c.horizontal, 37);
        changed(horizontal);
        EXPECT_EQ(vertical.number, c.copiesTheSize ? 37.0 : own);
        if (c.copiesTheSize) {
            EXPECT_TRUE(vertical.hasFlag(ParameterFlag::NeedsRefresh));
        }
        for (uint32_t other = 0; other < effect.parameterCount; ++other)
            if (other != horizontal && other != gang) changed(other);
        EXPECT_TRUE(vertical.isEnabled());
        changed(gang);
        EXPECT_FALSE(vertical.isEnabled());
        harness.setBoolean(c.gang, false);
        changed(gang);
        EXPECT_TRUE(vertical.isEnabled());
        harness.setNumber(c.horizontal, 5);
        changed(horizontal);
        EXPECT_EQ(vertical.number, c.copiesTheSize ? 37.0 : own);
    }
}

}  // namespace
