// Night Vision: the green, glowing, grainy look of an image intensifier.
//
//   grey        the picture in black and white through a colour filter
//   tone        brightness, contrast and gamma of the grey picture
//   glow        the highlights (matte at Position / Range, blurred by the matte Blur) bloom in
//               white, as in the glow and mist looks
//   tint        the grey picture coloured with Color (green by default)
//   grain       film grain of one size and strength in every channel, each its own noise
//
// The glow is laid on the grey picture before it is tinted, so the bloom takes the tint's
// colour like the rest of the picture; the grain comes last, as it would on the film.
#include <cstdint>

#include "effects/black_and_white.h"
#include "effects/effect_classes.h"
#include "effects/glow_look_render.h"
#include "effects/grain_module.h"
#include "effects/tone_table.h"
#include "fx/blur_pair.h"
#include "fx/effect_class.h"
#include "fx/glow_parameters.h"
#include "fx/grad_group.h"
#include "fx/matte_group.h"
#include "imaging/black_and_white_convert.h"
#include "imaging/tint.h"

namespace {

// 30 records.
constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kFilter = 2;
constexpr uint32_t kTintGroup = 3;
constexpr uint32_t kTintColor = 4;
constexpr uint32_t kTintMode = 5;
constexpr uint32_t kHighlights = 6;
constexpr uint32_t kTintGroupEnd = 7;
constexpr uint32_t kGlowGroup = 8;
constexpr uint32_t kGlowMode = 9;
constexpr uint32_t kGlowBlend = 10;
constexpr uint32_t kGlowBrightness = 11;
constexpr uint32_t kBlurH = 12;  // then the vertical blur at 13 and the gang switch at 14
constexpr uint32_t kBlurV = 13;
constexpr uint32_t kBlurGang = 14;
constexpr uint32_t kGlowGroupEnd = 15;
constexpr uint32_t kGrainGroup = 16;
constexpr uint32_t kGrainSize = 17;
constexpr uint32_t kGrainAmount = 18;
constexpr uint32_t kGrainGroupEnd = 19;
constexpr uint32_t kToneGroup = 20;
constexpr uint32_t kBrightness = kToneGroup + ToneGroup::kBrightness;
constexpr uint32_t kContrast = kToneGroup + ToneGroup::kContrast;
constexpr uint32_t kGamma = kToneGroup + ToneGroup::kGamma;
constexpr uint32_t kToneGroupEnd = kToneGroup + ToneGroup::kEnd;
constexpr MatteGroup kMatte{25};
constexpr uint32_t kParameterCount = 30;
static_assert(kBlurV == kBlurH + BlurPairParameter::kVertical && kBlurGang == kBlurH + BlurPairParameter::kGang);
static_assert(kToneGroupEnd + 1 == kMatte.begin && kMatte.end() + 1 == kParameterCount);

// Full strength: the picture takes the tint's colour everywhere.
constexpr TintRecords kTint{TintRecords::kFullOpacity, kTintColor, kTintMode, kHighlights};

constexpr GlowLookRecords kGlowLook{kBackground, kView, kGlowMode, kGlowBlend, kGlowBrightness, kMatte};

struct NightVisionEffect : Effect {
    static constexpr const char* kTitle = "Ravo Night Vision";
    static constexpr const char* kDescription = "Creates the effect of a Night Vision lens.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;

    Parameter params[kParameterCount];
    ToneTable toneTable{ToneTable::Rounding::Truncate};
    GrainModule grain;
    // The glow's light image, kept for the tiles of a run.
    ScratchImage lightMemory;

    static void define(NightVisionEffect& effect);
    static void beginRender(NightVisionEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(NightVisionEffect& effect, uint32_t index);
    static void requiredSource(NightVisionEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(NightVisionEffect& effect, const fx::Plugin::RenderInfo& info);
};

void NightVisionEffect::define(NightVisionEffect& effect) {
    Parameter* p = effect.params;
    p[kBackground].defineInput("background", "Background", 0);
    defineGlowLookView(p[kView]);
    defineBlackAndWhiteFilter(p[kFilter], "Black and White", uint32_t(BlackAndWhiteFilter::Normal));

    p[kTintGroup].defineGroupBegin("Tint", "Tint", true);
    p[kTintColor].defineColor("TintColor", "Color", 0.0, 1.0, 0.0);
    defineTintModeList(p[kTintMode]);
    p[kHighlights].defineNumber("highlights", "HLS Highlights", 0.0, 100.0, 100.0);
    p[kTintGroupEnd].defineGroupEnd();

    p[kGlowGroup].defineGroupBegin("glow", "Glow", true);
    defineGlowModeList(p[kGlowMode], GlowModeItem::kSpread);
    defineBlendList(p[kGlowBlend], "glowBlend", "Blend", BlendItem::kScreen);
    p[kGlowBrightness].defineNumber("glowBrightness", "Brightness", 0.0, 800.0, 75.0);
    p[kGlowBrightness].addFlags(ParameterFlag::Percent);
    defineBlurPair(p, kBlurH,
                   {"glowBlurH", "Horizontal Blur", "glowBlurV", "Vertical Blur", "glowBlurGang", "Gang Blur", 500.0,
                    30.0});
    p[kGlowGroupEnd].defineGroupEnd();

    p[kGrainGroup].defineGroupBegin("grain", "Grain", true);
    p[kGrainSize].defineNumber("GrainSize", "Size", 0.5, 10.0, 1.0);
    p[kGrainSize].addFlags(ParameterFlag::Whole);
    p[kGrainAmount].defineNumber("GrainAmount", "Amount", 0.0, 100.0, 15.0);
    p[kGrainAmount].addFlags(ParameterFlag::Percent);
    p[kGrainGroupEnd].defineGroupEnd();

    defineToneGroup(p, kToneGroup, ParameterFlag::Percent);
    defineMatteGroup(p, kMatte, {100.0, 80.0});
}

// The tone table and the grain settings hold for the whole run: built once, not per tile.
void NightVisionEffect::beginRender(NightVisionEffect& effect, const fx::Plugin::RenderInfo& info) {
    effect.toneTable.prepare(effect.numberInRange(kBrightness) / 100, effect.numberInRange(kContrast) / 100,
                             effect.numberInRange(kGamma) / 100, info.is16);
    effect.grain.setSizeAndAmount(effect.numberInRange(kGrainSize), effect.numberInRange(kGrainAmount) / 100);
}

// While ganged the vertical blur follows the horizontal one and its control is disabled;
// "HLS Highlights" is enabled only in the "HLS" mode, the one that reads it.
void NightVisionEffect::parameterChanged(NightVisionEffect& effect, uint32_t index) {
    blurPairChanged(effect.params, kBlurH, index);
    tintModeChanged(effect, kTint, index);
}

// The glow look's margin; the grain moves each pixel by the noise at its own place and reads
// nothing around it.
SourceMargin nightVisionMargin(const NightVisionEffect& effect, const fx::Plugin::RenderInfo& info) {
    return glowLookMargin(effect, kMatte, blurPairSizes(effect.params, kBlurH), info);
}

void NightVisionEffect::requiredSource(NightVisionEffect& effect, const fx::Plugin::RenderInfo& info,
                                       PixelRect& rect) {
    rect = nightVisionMargin(effect, info).grow(rect);
}

// The matte is taken from the source in colour, before the output turns grey. Only the grain
// works on the whole block, which it places on the picture by the margin.
void NightVisionEffect::render(NightVisionEffect& effect, const fx::Plugin::RenderInfo& info) {
    auto render = startGlowLook(effect, kGlowLook, info);
    if (!render) return;
    Image& output = render->output;
    toBlackAndWhite(render->source, output, render->rect(), effect.listValue(kFilter));
    effect.toneTable.apply(output, render->rect());
    applyLookGlow(effect, kGlowLook, *render, blurPairSizes(effect.params, kBlurH), GlowColor{}, info, effect.lightMemory);
    applyWholeTint(output, render->rect(), tintSettings(effect, kTint, info.is16));
    // Without strength the grain would leave every sample as it is.
    if (effect.grain.isActive())
        effect.grain.apply(*render->area.output, render->area.rect, info, nightVisionMargin(effect, info));
}

}  // namespace

const EffectClass& nightVisionClass() { return effectClassOf<NightVisionEffect>(); }
