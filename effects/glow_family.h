// The pieces of the glow and mist looks that Diffusion builds on: the 27 records of Black Mist
// with a look's own keys and defaults, the blur pair's gang in the dialog, the margin, and the
// render of the mist looks, which Diffusion runs with its texture.
#pragma once

#include <cstdint>

#include "effects/glow_look_render.h"
#include "fx/blur_pair.h"
#include "fx/color_correct_group.h"
#include "fx/effect.h"
#include "fx/glow_parameters.h"
#include "fx/matte_group.h"
#include "fx/render_info.h"
#include "imaging/scratch_image.h"
#include "imaging/source_margin.h"

// Black Mist, Cool Mist, Warm Mist, Mist, Fog and Glow: 27 records.
namespace MistLook {
constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kGlowGroup = 2;
constexpr uint32_t kGlowMode = 3;
constexpr uint32_t kGlowBlend = 4;
constexpr uint32_t kGlowBrightness = 5;
constexpr uint32_t kBlurH = 6;  // then the vertical blur at 7 and the gang switch at 8
constexpr uint32_t kBlurV = 7;
constexpr uint32_t kBlurGang = 8;
constexpr uint32_t kGlowColor = 9;
constexpr uint32_t kGlowGroupEnd = 10;
constexpr ColorCorrectGroup kCorrection{11};
constexpr MatteGroup kMatte{22};
constexpr uint32_t kParameterCount = 27;
static_assert(kBlurV == kBlurH + BlurPairParameter::kVertical && kBlurGang == kBlurH + BlurPairParameter::kGang);
static_assert(kCorrection.end() + 1 == kMatte.begin && kMatte.end() + 1 == kParameterCount);
}  // namespace MistLook

// Keys, labels and defaults in which the members differ.
struct GlowLookDefinition {
    void (*defineView)(Parameter& record) = defineGlowLookView;
    const char* glowGroupKey = "glow";
    const char* glowGroupLabel = "Glow";
    const char* blendKey = "glowBlend";
    uint32_t blendDefault = BlendItem::kScreen;
    const char* brightnessKey = "glowBrightness";
    double brightnessDefault = 75.0;
    BlurPairDefinition blur = {"glowBlurH",   "Horizontal Blur", "glowBlurV", "Vertical Blur",
                               "glowBlurGang", "Gang Blur",      500.0,       30.0};
    // Without a gang switch the two sizes start apart.
    double verticalDefault = 30.0;
    const char* colorKey = "glowColor";
    RGBValue colorDefault = {1.0, 1.0, 1.0};
    const char* warmCoolKey = "warmCool";
    double mattePosition = 100.0;
    double matteRange = 80.0;
};

// Black Mist's keys and defaults with these two departures.
GlowLookDefinition mistDefinition(const char* warmCoolKey, double mattePosition);

// The 27 records of a mist look at p[0 ..].
void defineMistLook(Parameter* p, const GlowLookDefinition& definition);

// A change of record `index` in the dialog: the vertical blur follows the horizontal one while
// the gang is on.
void mistLookParameterChanged(Effect& effect, uint32_t index);

// What a mist look reads around its output: the matte blur and the glow blur together.
SourceMargin mistLookMargin(const Effect& effect, const fx::Plugin::RenderInfo& info);

// The render of a mist look, with the matte combined with texture when one is given.
void renderMistLook(Effect& effect, const fx::Plugin::RenderInfo& info, ScratchImage& lightMemory,
                    LookTexture* texture);
