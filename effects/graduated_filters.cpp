// The graduated filters: Color Grad, ND Grad, Combined Grad and Selective Grad. Each lays a grey
// ramp over the picture along one of four directions, stretched over a freely placed
// quadrilateral, and darkens and/or tints the picture in proportion to it, after a colour
// correction of the whole picture. Selective Grad restricts the result to an extracted matte.
// One routine renders all four from the index layout of each.
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/color_correct_group.h"
#include "fx/effect_class.h"
#include "fx/grad_group.h"
#include "fx/matte_parameters.h"
#include "fx/render_margin.h"
#include "imaging/matte_extractor.h"
#include "imaging/matte_mix.h"
#include "imaging/pixel_utils.h"
#include "imaging/tint.h"

namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;

// Color Grad: 25 records.
namespace ColorGrad {
constexpr uint32_t kOpacity = 2;
constexpr uint32_t kTint = 3;
constexpr uint32_t kTintMode = 4;
constexpr uint32_t kHighlights = 5;
constexpr GradGroup kGrad{6};
constexpr ColorCorrectGroup kCorrection{14};
constexpr uint32_t kParameterCount = 25;
static_assert(kGrad.end() == 13 && kCorrection.end() + 1 == kParameterCount);
}  // namespace ColorGrad

// ND Grad: 22 records.
namespace NdGrad {
constexpr uint32_t kOpacity = 2;
constexpr GradGroup kGrad{3};
constexpr ColorCorrectGroup kCorrection{11};
constexpr uint32_t kParameterCount = 22;
static_assert(kGrad.end() == 10 && kCorrection.end() + 1 == kParameterCount);
}  // namespace NdGrad

// Combined Grad: 26 records.
namespace CombinedGrad {
constexpr uint32_t kNdOpacity = 2;
constexpr uint32_t kOpacity = 3;
constexpr uint32_t kTint = 4;
constexpr uint32_t kTintMode = 5;
constexpr uint32_t kHighlights = 6;
constexpr GradGroup kGrad{7};
constexpr ColorCorrectGroup kCorrection{15};
constexpr uint32_t kParameterCount = 26;
static_assert(kGrad.end() == 14 && kCorrection.end() + 1 == kParameterCount);
}  // namespace CombinedGrad

// Selective Grad: 42 records.
namespace SelectiveGrad {
constexpr uint32_t kTintGroup = 2;
constexpr uint32_t kNdOpacity = 3;
constexpr uint32_t kOpacity = 4;
constexpr uint32_t kTint = 5;
constexpr uint32_t kTintMode = 6;
constexpr uint32_t kHighlights = 7;
constexpr uint32_t kTintGroupEnd = 8;
constexpr GradGroup kGrad{9};
constexpr ColorCorrectGroup kCorrection{17};
constexpr uint32_t kMatteGroupBegin = 28;
// The first record of the extractor's twelve; its records keep their group indices.
constexpr uint32_t kMatteGroup = 29;
constexpr uint32_t kMatteGroupEnd = kMatteGroup + MatteParameter::kCount;
constexpr uint32_t kParameterCount = kMatteGroupEnd + 1;
static_assert(kGrad.end() == 16 && kCorrection.end() + 1 == kMatteGroupBegin && kParameterCount == 42);
}  // namespace SelectiveGrad

constexpr const char* kViewItems[] = {"Output", "Gradient", "Original"};
constexpr const char* kSelectiveViewItems[] = {"Output", "Matte", "Gradient", "Original"};

constexpr uint32_t kGradFlags = EffectFlag::Standard | EffectFlag::PixelLocal;
constexpr uint32_t kSelectiveGradFlags = EffectFlag::Standard;
constexpr const char* kTintDescription = "Tint a gradiated portion of the image.";

// Where one member keeps its records; kNone for what it lacks.
struct GradLayout {
    uint32_t viewMatte;
    uint32_t viewGradient;
    uint32_t viewOriginal;
    // The ND darkening amount ("Opacity" in ND Grad, "ND Brightness" in the others).
    uint32_t ndAmount;
    TintRecords tint;
    GradGroup grad;
    ColorCorrectGroup correction;
    // The first of the extractor's twelve records (Selective Grad only).
    uint32_t matteGroup;

    bool tints() const { return tint.color != kNone; }
};

constexpr GradLayout kColorGradLayout{
    kNone, 1, 2, kNone, {ColorGrad::kOpacity, ColorGrad::kTint, ColorGrad::kTintMode, ColorGrad::kHighlights},
    ColorGrad::kGrad, ColorGrad::kCorrection, kNone};
constexpr GradLayout kNdGradLayout{
    kNone, 1, 2, NdGrad::kOpacity, {kNone, kNone, kNone, kNone}, NdGrad::kGrad, NdGrad::kCorrection, kNone};
constexpr GradLayout kCombinedGradLayout{
    kNone,
    1,
    2,
    CombinedGrad::kNdOpacity,
    {CombinedGrad::kOpacity, CombinedGrad::kTint, CombinedGrad::kTintMode, CombinedGrad::kHighlights},
    CombinedGrad::kGrad,
    CombinedGrad::kCorrection,
    kNone};
constexpr GradLayout kSelectiveGradLayout{
    1,
    2,
    3,
    SelectiveGrad::kNdOpacity,
    {SelectiveGrad::kOpacity, SelectiveGrad::kTint, SelectiveGrad::kTintMode, SelectiveGrad::kHighlights},
    SelectiveGrad::kGrad,
    SelectiveGrad::kCorrection,
    SelectiveGrad::kMatteGroup};

// ---- Definitions -------------------------------------------------------------------------

void defineHead(Parameter* p, const char* const* viewItems, uint32_t viewCount) {
    p[kBackground].defineInput("background", "Background", 0);
    p[kView].defineList("view", "View", viewItems, viewCount, 0);
}

void defineColorGrad(Parameter* p) {
    defineHead(p, kViewItems, uint32_t(std::size(kViewItems)));
    defineTintRecords(p, kColorGradLayout.tint, {});
    defineGradGroup(p, ColorGrad::kGrad, {0, ParameterFlag::FramedGroup});
    defineColorCorrectGroup(p, ColorGrad::kCorrection, {.groupFlags = ParameterFlag::FramedGroup});
}

void defineNdGrad(Parameter* p) {
    defineHead(p, kViewItems, uint32_t(std::size(kViewItems)));
    p[NdGrad::kOpacity].defineNumber("opacity", "Opacity", 0.0, 100.0, 100.0);
    defineGradGroup(p, NdGrad::kGrad, {0, ParameterFlag::FramedGroup});
    defineColorCorrectGroup(p, NdGrad::kCorrection, {.groupFlags = ParameterFlag::FramedGroup});
}

void defineCombinedGrad(Parameter* p) {
    defineHead(p, kViewItems, uint32_t(std::size(kViewItems)));
    p[CombinedGrad::kNdOpacity].defineNumber("ndOpacity", "ND Brightness", 0.0, 100.0, 50.0);
    defineTintRecords(p, kCombinedGradLayout.tint, {.opacity = 50.0});
    defineGradGroup(p, CombinedGrad::kGrad, {0, ParameterFlag::FramedGroup});
    defineColorCorrectGroup(p, CombinedGrad::kCorrection, {.groupFlags = ParameterFlag::FramedGroup});
}

void defineSelectiveGrad(Parameter* p, const MatteExtractor& extractor) {
    defineHead(p, kSelectiveViewItems, uint32_t(std::size(kSelectiveViewItems)));
    p[SelectiveGrad::kTintGroup].defineGroupBegin("tintAdjust", "Tint", true);
    p[SelectiveGrad::kNdOpacity].defineNumber("ndOpacity", "ND Brightness", 0.0, 100.0, 50.0);
    defineTintRecords(p, kSelectiveGradLayout.tint, {.opacity = 50.0});
    p[SelectiveGrad::kTintGroupEnd].defineGroupEnd();
    defineGradGroup(p, SelectiveGrad::kGrad, {0, 0});
    defineColorCorrectGroup(p, SelectiveGrad::kCorrection, {.groupFlags = ParameterFlag::FramedGroup});
    p[SelectiveGrad::kMatteGroupBegin].defineGroupBegin("matte", "Matte", true);
    defineParameters(extractor, p, SelectiveGrad::kMatteGroup);
    p[SelectiveGrad::kMatteGroupEnd].defineGroupEnd();
}

// ---- The family --------------------------------------------------------------------------

// What the source margin of a member is: the selection matte's reach in Selective Grad, none
// in the others (their pixels depend on their own source pixel alone).
SourceMargin gradMargin(const Effect& effect, const GradLayout& layout, const fx::Plugin::RenderInfo& info) {
    if (layout.matteGroup == kNone) return {};
    return matteMargin(matteSettings(effect.parameters + layout.matteGroup), info);
}

bool gradIsActive(const Effect& effect, const GradLayout& layout) {
    return effect.listValue(kView) != layout.viewOriginal;
}

void gradParameterChanged(Effect& effect, const GradLayout& layout, MatteExtractor* extractor, uint32_t index) {
    if (layout.tints()) tintModeChanged(effect, layout.tint, index);
    if (extractor && index >= layout.matteGroup && index < layout.matteGroup + MatteParameter::kCount)
        onParameterChanged(*extractor, effect.parameters + layout.matteGroup, index - layout.matteGroup);
}

// The render of every member. The output starts as a copy of the source; the colour
// correction applies to all of it before the ramp. Selective Grad first extracts its
// selection matte from the source and, at the end, mixes the result into the source through it.
void renderGrad(Effect& effect, const GradLayout& layout, MatteExtractor* extractor,
                const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const auto area = startRender(effect, info, {kBackground, view == layout.viewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    const auto& [source, output, rect] = *area;

    // The source as it came, for the final mix, even where the output is the same picture.
    const ImagePtr untouched = extractor && source->data == output->data ? source->clone() : source;
    ImagePtr selection;
    if (extractor && view != layout.viewGradient) {
        update(*extractor, effect.parameters + layout.matteGroup, info);
        selection = build(*extractor, *source, rect, info);
        if (view == layout.viewMatte) {
            expandGrayToRGBA(*selection, *output, rect);
            return;
        }
    }
    // The Gradient view shows the ramp alone.
    if (view != layout.viewGradient) applyColorCorrectGroup(effect, layout.correction, PercentReading::TimesOneHundredth, *output, rect);

    const ImagePtr ramp = buildGroupGradient(effect, layout.grad, *output, rect, info, gradMargin(effect, layout, info));
    if (view == layout.viewGradient) {
        expandGrayToRGBA(*ramp, *output, rect);
        return;
    }
    if (layout.ndAmount != kNone) {
        const double amount = effect.numberInRange(layout.ndAmount) * 0.01;
        if (amount > 0.0) applyNdDarken(*output, *ramp, rect, amount);
    }
    if (layout.tints()) applyTint(*output, *ramp, rect, tintSettings(effect, layout.tint, info.is16));
    if (selection) mixByMatte(*output, *untouched, *output, rect, *selection);
}

// One member: its records, its layout and the hooks of the family.
template <uint32_t Count, const GradLayout& Layout, void (*Define)(Parameter*)>
struct GradEffect : Effect {
    Parameter params[Count];

    static void define(GradEffect& effect) { Define(effect.params); }
    static bool isActive(GradEffect& effect, const fx::Plugin::RenderInfo&) { return gradIsActive(effect, Layout); }
    static void parameterChanged(GradEffect& effect, uint32_t index) {
        gradParameterChanged(effect, Layout, nullptr, index);
    }
    static void render(GradEffect& effect, const fx::Plugin::RenderInfo& info) {
        renderGrad(effect, Layout, nullptr, info);
    }
};

struct ColorGradEffect : GradEffect<ColorGrad::kParameterCount, kColorGradLayout, defineColorGrad> {
    static constexpr const char* kTitle = "Ravo Color Grad";
    static constexpr const char* kDescription = kTintDescription;
    static constexpr uint32_t kEffectFlags = kGradFlags;
};

struct NdGradEffect : GradEffect<NdGrad::kParameterCount, kNdGradLayout, defineNdGrad> {
    static constexpr const char* kTitle = "Ravo ND Grad";
    static constexpr const char* kDescription = "Darken a gradiated portion of the image.";
    static constexpr uint32_t kEffectFlags = kGradFlags;
};

struct CombinedGradEffect : GradEffect<CombinedGrad::kParameterCount, kCombinedGradLayout, defineCombinedGrad> {
    static constexpr const char* kTitle = "Ravo Combined Grad";
    static constexpr const char* kDescription = kTintDescription;
    static constexpr uint32_t kEffectFlags = kGradFlags;
};

struct SelectiveGradEffect : Effect {
    static constexpr const char* kTitle = "Ravo Selective Grad";
    static constexpr const char* kDescription = kTintDescription;
    static constexpr uint32_t kEffectFlags = kSelectiveGradFlags;

    Parameter params[SelectiveGrad::kParameterCount];
    MatteExtractor matteExtractor;

    static void define(SelectiveGradEffect& effect) { defineSelectiveGrad(effect.params, effect.matteExtractor); }
    static bool isActive(SelectiveGradEffect& effect, const fx::Plugin::RenderInfo&) {
        return gradIsActive(effect, kSelectiveGradLayout);
    }
    static void parameterChanged(SelectiveGradEffect& effect, uint32_t index) {
        gradParameterChanged(effect, kSelectiveGradLayout, &effect.matteExtractor, index);
    }
    static void requiredSource(SelectiveGradEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
        rect = gradMargin(effect, kSelectiveGradLayout, info).grow(rect);
    }
    static void render(SelectiveGradEffect& effect, const fx::Plugin::RenderInfo& info) {
        renderGrad(effect, kSelectiveGradLayout, &effect.matteExtractor, info);
    }
};

}  // namespace

const EffectClass& colorGradClass() { return effectClassOf<ColorGradEffect>(); }
const EffectClass& ndGradClass() { return effectClassOf<NdGradEffect>(); }
const EffectClass& combinedGradClass() { return effectClassOf<CombinedGradEffect>(); }
const EffectClass& selectiveGradClass() { return effectClassOf<SelectiveGradEffect>(); }
