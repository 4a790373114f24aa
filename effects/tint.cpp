// Tint and Dual Tint. Tint colours the whole picture with one tint; Dual Tint lays two tints
// along the graduated ramp: the first where the ramp is full, the second where it is empty,
// cross-fading between.
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"
#include "fx/grad_group.h"
#include "imaging/matte_mix.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"
#include "imaging/tint.h"

namespace {

constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;

// Tint: 6 records.
namespace Tint {
constexpr uint32_t kOpacity = 2;
constexpr uint32_t kTint = 3;
constexpr uint32_t kTintMode = 4;
constexpr uint32_t kHighlights = 5;
constexpr uint32_t kParameterCount = 6;
constexpr TintRecords kRecords{kOpacity, kTint, kTintMode, kHighlights};
constexpr const char* kViewItems[] = {"Output", "Original"};
constexpr uint32_t kViewOriginal = 1;
}  // namespace Tint

// Dual Tint: 22 records. Both tint groups have a "highlights" record of their own.
namespace DualTint {
constexpr uint32_t kTint1Group = 2;
constexpr uint32_t kOpacity1 = 3;
constexpr uint32_t kTint1 = 4;
constexpr uint32_t kTint1Mode = 5;
constexpr uint32_t kHighlights1 = 6;
constexpr uint32_t kTint1GroupEnd = 7;
constexpr uint32_t kTint2Group = 8;
constexpr uint32_t kOpacity2 = 9;
constexpr uint32_t kTint2 = 10;
constexpr uint32_t kTint2Mode = 11;
constexpr uint32_t kHighlights2 = 12;
constexpr uint32_t kTint2GroupEnd = 13;
constexpr GradGroup kGrad{14};
constexpr uint32_t kParameterCount = 22;
static_assert(kGrad.end() + 1 == kParameterCount);
constexpr TintRecords kTint1Records{kOpacity1, kTint1, kTint1Mode, kHighlights1};
constexpr TintRecords kTint2Records{kOpacity2, kTint2, kTint2Mode, kHighlights2};
constexpr const char* kViewItems[] = {"Output", "Gradient", "Original"};
constexpr uint32_t kViewGradient = 1;
constexpr uint32_t kViewOriginal = 2;
}  // namespace DualTint

constexpr uint32_t kTintFlags = EffectFlag::Standard | EffectFlag::PixelLocal;

// The warm default of Tint and of Dual Tint's second tint.
constexpr TintColor kWarmTint{1.0, 0.6, 0.39};

// ---- Tint --------------------------------------------------------------------------------

struct TintEffect : Effect {
    static constexpr const char* kTitle = "Ravo Tint";
    static constexpr const char* kDescription = "Tints the image with a selected color.";
    static constexpr uint32_t kEffectFlags = kTintFlags;

    Parameter params[Tint::kParameterCount];

    static void define(TintEffect& effect);
    static bool isActive(TintEffect& effect, const fx::Plugin::RenderInfo&) {
        return effect.listValue(kView) != Tint::kViewOriginal && effect.numberInRange(Tint::kOpacity) > 0.0;
    }
    static void parameterChanged(TintEffect& effect, uint32_t index) {
        tintModeChanged(effect, Tint::kRecords, index);
    }
    static void render(TintEffect& effect, const fx::Plugin::RenderInfo& info);
};

// A new Tint starts in "HLS" while its record's default stays "HSV", so that a reset selects HSV.
void TintEffect::define(TintEffect& effect) {
    Parameter* p = effect.params;
    p[kBackground].defineInput("background", "Background", 0);
    p[kView].defineList("view", "View", Tint::kViewItems, uint32_t(std::size(Tint::kViewItems)), 0);
    defineTintRecords(p, Tint::kRecords, {.color = kWarmTint});
    p[Tint::kTintMode].listIndex = TintMode::kHls;
}

void TintEffect::render(TintEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(
        effect, info, {kBackground, effect.listValue(kView) == Tint::kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    applyWholeTint(*area->output, area->rect, tintSettings(effect, Tint::kRecords, info.is16));
}

// ---- Dual Tint ---------------------------------------------------------------------------

struct DualTintEffect : Effect {
    static constexpr const char* kTitle = "Ravo Dual Tint";
    static constexpr const char* kDescription = "Tint a gradiated portion of the image.";
    static constexpr uint32_t kEffectFlags = kTintFlags;

    Parameter params[DualTint::kParameterCount];

    static void define(DualTintEffect& effect);
    static bool isActive(DualTintEffect& effect, const fx::Plugin::RenderInfo&) {
        return effect.listValue(kView) != DualTint::kViewOriginal;
    }
    static void parameterChanged(DualTintEffect& effect, uint32_t index) {
        tintModeChanged(effect, DualTint::kTint1Records, index);
        tintModeChanged(effect, DualTint::kTint2Records, index);
    }
    static void render(DualTintEffect& effect, const fx::Plugin::RenderInfo& info);
};

// One of Dual Tint's two framed tint groups; the group's end record follows its highlights.
void defineTintGroup(Parameter* p, uint32_t begin, const char* key, const char* label, const TintRecords& records,
                     const TintRecordsDefaults& defaults) {
    p[begin].defineGroupBegin(key, label, true);
    defineTintRecords(p, records, defaults);
    p[records.highlights + 1].defineGroupEnd();
    p[begin].addFlags(ParameterFlag::FramedGroup);
    p[records.highlights + 1].addFlags(ParameterFlag::FramedGroup);
}

void DualTintEffect::define(DualTintEffect& effect) {
    Parameter* p = effect.params;
    p[kBackground].defineInput("background", "Background", 0);
    p[kView].defineList("view", "View", DualTint::kViewItems, uint32_t(std::size(DualTint::kViewItems)), 0);
    defineTintGroup(p, DualTint::kTint1Group, "Tint1", "Tint 1", DualTint::kTint1Records,
                    {.opacityKey = "opacity1", .colorKey = "tint1", .colorLabel = "Color", .modeKey = "tint1mode"});
    defineTintGroup(p, DualTint::kTint2Group, "Tint2", "Tint 2", DualTint::kTint2Records,
                    {.opacityKey = "opacity2", .colorKey = "tint2", .colorLabel = "Color", .color = kWarmTint,
                     .modeKey = "tint2mode"});
    defineGradGroup(p, DualTint::kGrad, {0, ParameterFlag::FramedGroup});
}

// one - m over rect.
void invertMatte(Image& matte, const PixelRect& rect) {
    withSampleType(matte, [&]<class Sample>() {
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            Sample* m = matte.pixel<Sample>(rect.left, y);
            for (int32_t x = 0; x < rect.width(); ++x) m[x] = Sample(SampleTraits<Sample>::full - m[x]);
        }
    });
}

// Tint 1 where the ramp is full, tint 2 where it is 0. With both opacities set, the picture is
// tinted whole twice and the two mixed through the ramp; with one, only that tint is laid
// through the ramp (or its inverse for tint 2).
void DualTintEffect::render(DualTintEffect& effect, const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const auto area = startRender(effect, info, {kBackground, view == DualTint::kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    Image& output = *area->output;
    const PixelRect& rect = area->rect;
    const ImagePtr ramp = buildGroupGradient(effect, DualTint::kGrad, output, rect, info, {});
    if (view == DualTint::kViewGradient) {
        expandGrayToRGBA(*ramp, output, rect);
        return;
    }
    const TintSettings tint1 = tintSettings(effect, DualTint::kTint1Records, info.is16);
    const TintSettings tint2 = tintSettings(effect, DualTint::kTint2Records, info.is16);
    if (tint1.opacity > 0.0 && tint2.opacity > 0.0) {
        const ImagePtr first = output.clone();
        applyWholeTint(*first, rect, tint1);
        invertMatte(*ramp, rect);
        applyWholeTint(output, rect, tint2);
        mixByMatte(output, *first, output, rect, *ramp);
    } else if (tint1.opacity > 0.0) {
        applyTint(output, *ramp, rect, tint1);
    } else if (tint2.opacity > 0.0) {
        invertMatte(*ramp, rect);
        applyTint(output, *ramp, rect, tint2);
    }
}

}  // namespace

const EffectClass& tintClass() { return effectClassOf<TintEffect>(); }
const EffectClass& dualTintClass() { return effectClassOf<DualTintEffect>(); }
