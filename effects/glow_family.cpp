// The glow and mist looks: Black Mist, Cool Mist, Warm Mist, Mist, Fog, Glow, Streaks and
// Faux Film.
// Each pulls the highlights out as a matte, blurs and tints them, and lays them back over a
// colour-corrected copy of the picture, so that the highlights bloom and the contrast drops.
// The members differ in their keys, defaults and in where their records sit; one routine
// renders them all from the index layout of each.
//
//   matte M     a luminance window at Position / Range, blurred by the matte Blur
//   picture P   the source through the colour-correct group and the warm/cool shift
//   glow        M (Subtle) or the lit part of P (Spread) blurred by the blur pair, tinted by
//               Color and laid on P by Screen or ADD with strength Brightness
//
// Faux Film finishes the picture with film grain after the glow; it keeps the grain's records
// between the glow group and the colour-correct group, and the layout places the later groups
// wherever a member has them.
#include "effects/glow_family.h"

#include <cstdint>

#include "effects/effect_classes.h"
#include "effects/glow_look_render.h"
#include "effects/grain_module.h"
#include "fx/effect_class.h"

namespace {

constexpr uint32_t kNone = UINT32_MAX;
// Every member keeps its source and View list where the mist looks do.
using MistLook::kBackground;
using MistLook::kView;

// Streaks: no gang switch, so everything after the blur pair sits one place earlier.
namespace Streaks {
constexpr uint32_t kGlowGroup = 2;
constexpr uint32_t kGlowMode = 3;
constexpr uint32_t kGlowBlend = 4;
constexpr uint32_t kGlowBrightness = 5;
constexpr uint32_t kBlurH = 6;
constexpr uint32_t kBlurV = 7;
constexpr uint32_t kGlowColor = 8;
constexpr uint32_t kGlowGroupEnd = 9;
constexpr ColorCorrectGroup kCorrection{10};
constexpr MatteGroup kMatte{21};
constexpr uint32_t kParameterCount = 26;
static_assert(kCorrection.end() + 1 == kMatte.begin && kMatte.end() + 1 == kParameterCount);
}  // namespace Streaks

// Faux Film: Black Mist's 0 to 10, the grain group, then the colour-correct and matte groups.
namespace FauxFilm {
constexpr uint32_t kGrainGroup = 11;
constexpr uint32_t kGrain = 12;
constexpr uint32_t kGrainGroupEnd = kGrain + GrainParameter::kCount;
constexpr ColorCorrectGroup kCorrection{24};
constexpr MatteGroup kMatte{35};
constexpr uint32_t kParameterCount = 40;
static_assert(kGrainGroupEnd + 1 == kCorrection.begin);
static_assert(kCorrection.end() + 1 == kMatte.begin && kMatte.end() + 1 == kParameterCount);
}  // namespace FauxFilm


constexpr const char* kMistDescription =
    "Creates atmosphere by reducing contrast and sharpness and creating a glow around the highlights.";

// What a change of the blur pair does in the dialog.
enum class GangRule {
    // A new horizontal size while ganged is copied into the vertical one; the gang switch
    // enables the vertical control exactly while it is off.
    VerticalFollows,
    // Only the enabling: the vertical value stays put, and the render reads the horizontal
    // size for both directions while ganged.
    EnableOnly,
    // No gang switch.
    None,
};

// Where one member keeps its records.
struct GlowLayout {
    uint32_t glowGroup;
    uint32_t glowMode;
    uint32_t glowBlend;
    uint32_t brightness;
    // Horizontal size; the vertical size follows it, then the gang switch, if any.
    uint32_t blurH;
    uint32_t blurGang;  // kNone without a gang switch
    uint32_t glowColor;
    uint32_t glowGroupEnd;
    ColorCorrectGroup correction;
    MatteGroup matte;
    GangRule gangRule;

    constexpr uint32_t blurV() const { return blurH + 1; }
    constexpr GlowLookRecords records() const {
        return {kBackground, kView, glowMode, glowBlend, brightness, matte};
    }
};

constexpr GlowLayout kMistLayout{
    MistLook::kGlowGroup, MistLook::kGlowMode,  MistLook::kGlowBlend,     MistLook::kGlowBrightness,
    MistLook::kBlurH,     MistLook::kBlurGang,  MistLook::kGlowColor,     MistLook::kGlowGroupEnd,
    MistLook::kCorrection, MistLook::kMatte,    GangRule::VerticalFollows};
constexpr GlowLayout kGlowLayout = [] {
    GlowLayout layout = kMistLayout;
    layout.gangRule = GangRule::EnableOnly;
    return layout;
}();
constexpr GlowLayout kFauxFilmLayout = [] {
    GlowLayout layout = kMistLayout;
    layout.correction = FauxFilm::kCorrection;
    layout.matte = FauxFilm::kMatte;
    return layout;
}();
constexpr GlowLayout kStreaksLayout{
    Streaks::kGlowGroup, Streaks::kGlowMode, Streaks::kGlowBlend,     Streaks::kGlowBrightness,
    Streaks::kBlurH,     kNone,              Streaks::kGlowColor,     Streaks::kGlowGroupEnd,
    Streaks::kCorrection, Streaks::kMatte,   GangRule::None};

// ---- Definitions -------------------------------------------------------------------------

void defineGlowLook(Parameter* p, const GlowLayout& layout, const GlowLookDefinition& definition) {
    p[kBackground].defineInput("background", "Background", 0);
    definition.defineView(p[kView]);
    p[layout.glowGroup].defineGroupBegin(definition.glowGroupKey, definition.glowGroupLabel, true);
    defineGlowModeList(p[layout.glowMode], GlowModeItem::kSpread);
    defineBlendList(p[layout.glowBlend], definition.blendKey, "Blend", definition.blendDefault);
    p[layout.brightness].defineNumber(definition.brightnessKey, "Brightness", 0.0, 800.0,
                                      definition.brightnessDefault);
    p[layout.brightness].addFlags(ParameterFlag::Percent);
    const BlurPairDefinition& blur = definition.blur;
    if (layout.blurGang != kNone) {
        defineBlurPair(p, layout.blurH, blur);
    } else {
        p[layout.blurH].defineNumber(blur.horizontalKey, blur.horizontalLabel, 0.0, blur.maximum, blur.defaultSize);
        p[layout.blurV()].defineNumber(blur.verticalKey, blur.verticalLabel, 0.0, blur.maximum,
                                       definition.verticalDefault);
    }
    const RGBValue& color = definition.colorDefault;
    p[layout.glowColor].defineColor(definition.colorKey, "Color", color.red, color.green, color.blue);
    p[layout.glowGroupEnd].defineGroupEnd();
    defineColorCorrectGroup(p, layout.correction, {.warmCoolKey = definition.warmCoolKey});
    defineMatteGroup(p, layout.matte, {definition.mattePosition, definition.matteRange});
}

void defineBlackMist(Parameter* p) { defineGlowLook(p, kMistLayout, mistDefinition("BlackCool", 0.0)); }

void defineCoolMist(Parameter* p) {
    GlowLookDefinition definition = mistDefinition("CoolCool", 100.0);
    definition.colorDefault = {65.0 / 255.0, 80.0 / 255.0, 255.0 / 255.0};
    defineGlowLook(p, kMistLayout, definition);
}

void defineWarmMist(Parameter* p) {
    GlowLookDefinition definition = mistDefinition("warmCool", 100.0);
    definition.colorDefault = {255.0 / 255.0, 128.0 / 255.0, 63.0 / 255.0};
    defineGlowLook(p, kMistLayout, definition);
}

void defineMist(Parameter* p) { defineGlowLook(p, kMistLayout, mistDefinition("warmCool", 100.0)); }

void defineFog(Parameter* p) {
    GlowLookDefinition definition = mistDefinition("warmCool", 100.0);
    definition.glowGroupKey = "fog";
    definition.blendKey = "fogBlend";
    definition.brightnessKey = "fogLevel";
    definition.brightnessDefault = 100.0;
    definition.blur = {"fogBlurH", "Horizontal Blur", "fogBlurV", "Vertical Blur", "fogBlurGang", "Gang Blur",
                       500.0,      75.0};
    definition.colorKey = "fogColor";
    definition.matteRange = 100.0;
    defineGlowLook(p, kMistLayout, definition);
}

void defineGlow(Parameter* p) {
    GlowLookDefinition definition = mistDefinition("warmCool", 100.0);
    definition.blendDefault = BlendItem::kAdd;
    definition.blur = {"glowHBlur", "Horizontal Blur", "glowVBlur", "Vertical Blur", "glowGangBlur", "Gang Blur",
                       500.0,       30.0,              0};
    defineGlowLook(p, kGlowLayout, definition);
}

void defineStreaks(Parameter* p) {
    GlowLookDefinition definition = mistDefinition("warmCool", 100.0);
    definition.glowGroupLabel = "Streaks";
    definition.brightnessDefault = 200.0;
    definition.blur = {"glowHBlur", "Horizontal Streaks", "glowVBlur", "Vertical Streaks", nullptr, nullptr,
                       500.0,       0.0};
    definition.verticalDefault = 200.0;
    defineGlowLook(p, kStreaksLayout, definition);
}

// ---- The family --------------------------------------------------------------------------

// The glow's blur sizes at full image size: the pair through its gang switch, or the two
// sizes as they stand without one.
BlurSizes glowBlurSizes(const Effect& effect, const GlowLayout& layout) {
    if (layout.blurGang != kNone) return blurPairSizes(effect.parameters, layout.blurH);
    return {effect.numberInRange(layout.blurH), effect.numberInRange(layout.blurV())};
}

// A pixel of the output depends on source pixels as far away as the matte and glow blurs reach
// together.
SourceMargin glowLookMargin(const Effect& effect, const GlowLayout& layout, const fx::Plugin::RenderInfo& info) {
    return glowLookMargin(effect, layout.matte, glowBlurSizes(effect, layout), info);
}

void glowLookParameterChanged(Effect& effect, const GlowLayout& layout, uint32_t index) {
    switch (layout.gangRule) {
        case GangRule::VerticalFollows: blurPairChanged(effect.parameters, layout.blurH, index); break;
        case GangRule::EnableOnly: blurGangChanged(effect.parameters, layout.blurH, index); break;
        case GangRule::None: break;
    }
}

// A member's own last step over the finished glow (film grain): on the tile loop's block, over
// the render rectangle within it.
using FinishingStep = void (*)(Effect& effect, Image& block, const PixelRect& rect,
                               const fx::Plugin::RenderInfo& info);

// The render of every member. The finishing step runs whenever the picture was corrected,
// whether or not it glows.
void renderGlowLook(Effect& effect, const GlowLayout& layout, const fx::Plugin::RenderInfo& info,
                    ScratchImage& lightMemory, FinishingStep finish, LookTexture* texture = nullptr) {
    const GlowLookRecords records = layout.records();
    auto render = startGlowLook(effect, records, info, texture);
    if (!render) return;
    render->copySource();
    applyColorCorrectGroup(effect, layout.correction, PercentReading::OverOneHundred, render->output, render->rect());
    const RGBValue color = effect.colorValue(layout.glowColor);
    applyLookGlow(effect, records, *render, glowBlurSizes(effect, layout), {color.red, color.green, color.blue},
                  info, lightMemory);
    if (finish) finish(effect, *render->area.output, render->area.rect, info);
}

// One member: its records, its layout and the hooks of the family. isActive and beginRender
// are the shared defaults (always active, nothing to prepare). The glow's light image is kept
// between renders, so that a render after the first reuses memory already in use.
template <uint32_t Count, const GlowLayout& Layout, void (*Define)(Parameter*)>
struct GlowLookEffect : Effect {
    Parameter params[Count];
    ScratchImage lightMemory;

    static void define(GlowLookEffect& effect) { Define(effect.params); }
    static void parameterChanged(GlowLookEffect& effect, uint32_t index) {
        glowLookParameterChanged(effect, Layout, index);
    }
    static void requiredSource(GlowLookEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
        rect = glowLookMargin(effect, Layout, info).grow(rect);
    }
    static void render(GlowLookEffect& effect, const fx::Plugin::RenderInfo& info) {
        renderGlowLook(effect, Layout, info, effect.lightMemory, nullptr);
    }
};

template <void (*Define)(Parameter*)>
using MistLookEffect = GlowLookEffect<MistLook::kParameterCount, kMistLayout, Define>;

struct BlackMistEffect : MistLookEffect<defineBlackMist> {
    static constexpr const char* kTitle = "Ravo Black Mist";
    static constexpr const char* kDescription = kMistDescription;
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;
};

struct CoolMistEffect : MistLookEffect<defineCoolMist> {
    static constexpr const char* kTitle = "Ravo Cool Mist";
    static constexpr const char* kDescription = kMistDescription;
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;
};

struct WarmMistEffect : MistLookEffect<defineWarmMist> {
    static constexpr const char* kTitle = "Ravo Warm Mist";
    static constexpr const char* kDescription = kMistDescription;
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;
};

struct MistEffect : MistLookEffect<defineMist> {
    static constexpr const char* kTitle = "Ravo Mist";
    static constexpr const char* kDescription = kMistDescription;
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;
};

struct FogEffect : MistLookEffect<defineFog> {
    static constexpr const char* kTitle = "Ravo Fog";
    static constexpr const char* kDescription = "Creates a soft, misty atmosphere over the whole picture.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;
};

struct GlowEffect : GlowLookEffect<MistLook::kParameterCount, kGlowLayout, defineGlow> {
    static constexpr const char* kTitle = "Ravo Glow";
    static constexpr const char* kDescription = kMistDescription;
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;
};

struct StreaksEffect : GlowLookEffect<Streaks::kParameterCount, kStreaksLayout, defineStreaks> {
    static constexpr const char* kTitle = "Ravo Streaks";
    static constexpr const char* kDescription = kMistDescription;
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;
};

void defineFauxFilmLook(Parameter* p) { defineGlowLook(p, kFauxFilmLayout, mistDefinition("warmCool", 100.0)); }

// Faux Film owns a grain module, copied with the effect, which takes its records at the start
// of every run. The grain moves each pixel by the noise at its own place and reads nothing
// around it, so the margin is the glow's.
struct FauxFilmEffect : GlowLookEffect<FauxFilm::kParameterCount, kFauxFilmLayout, defineFauxFilmLook> {
    static constexpr const char* kTitle = "Ravo Faux Film";
    static constexpr const char* kDescription = "Gives video the look of motion picture film.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;

    GrainModule grain;

    static void define(FauxFilmEffect& effect) {
        Parameter* p = effect.params;
        defineFauxFilmLook(p);
        p[FauxFilm::kGrainGroup].defineGroupBegin("grain", "Grain", true);
        effect.grain.setSizes(1.0);
        effect.grain.defineParameters(p + FauxFilm::kGrain);
        p[FauxFilm::kGrainGroupEnd].defineGroupEnd();
    }
    static void beginRender(FauxFilmEffect& effect, const fx::Plugin::RenderInfo&) {
        effect.grain.takeParameters(effect.params + FauxFilm::kGrain);
    }
    static void render(FauxFilmEffect& effect, const fx::Plugin::RenderInfo& info) {
        renderGlowLook(effect, kFauxFilmLayout, info, effect.lightMemory, addFilmGrain);
    }
    // In colour, whether or not the picture glows; the module places the block on the picture
    // by the margin the tile loop grew it by.
    static void addFilmGrain(Effect& effect, Image& block, const PixelRect& rect,
                             const fx::Plugin::RenderInfo& info) {
        auto& film = static_cast<FauxFilmEffect&>(effect);
        film.grain.apply(block, rect, info, glowLookMargin(film, kFauxFilmLayout, info));
    }
};

}  // namespace

GlowLookDefinition mistDefinition(const char* warmCoolKey, double mattePosition) {
    GlowLookDefinition definition;
    definition.warmCoolKey = warmCoolKey;
    definition.mattePosition = mattePosition;
    return definition;
}

void defineMistLook(Parameter* p, const GlowLookDefinition& definition) { defineGlowLook(p, kMistLayout, definition); }

void mistLookParameterChanged(Effect& effect, uint32_t index) { glowLookParameterChanged(effect, kMistLayout, index); }

SourceMargin mistLookMargin(const Effect& effect, const fx::Plugin::RenderInfo& info) {
    return glowLookMargin(effect, kMistLayout, info);
}

void renderMistLook(Effect& effect, const fx::Plugin::RenderInfo& info, ScratchImage& lightMemory,
                    LookTexture* texture) {
    renderGlowLook(effect, kMistLayout, info, lightMemory, nullptr, texture);
}

const EffectClass& fauxFilmClass() { return effectClassOf<FauxFilmEffect>(); }
const EffectClass& blackMistClass() { return effectClassOf<BlackMistEffect>(); }
const EffectClass& coolMistClass() { return effectClassOf<CoolMistEffect>(); }
const EffectClass& warmMistClass() { return effectClassOf<WarmMistEffect>(); }
const EffectClass& mistClass() { return effectClassOf<MistEffect>(); }
const EffectClass& fogClass() { return effectClassOf<FogEffect>(); }
const EffectClass& glowClass() { return effectClassOf<GlowEffect>(); }
const EffectClass& streaksClass() { return effectClassOf<StreaksEffect>(); }
