// Grain: film grain over the picture, each colour channel with its own grain size and
// strength, shown most in the mid-tones through a film-response curve. The effect is the
// grain module behind a dialog.
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/grain_module.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"

namespace {

constexpr uint32_t kInput = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kGrain = 2;
constexpr uint32_t kParameterCount = kGrain + GrainParameter::kCount;

constexpr const char* kViewItems[] = {"Output", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewOriginal = 1;

// The grain's defaults in this effect.
constexpr double kDefaultAmountPercent = 15.0;
constexpr double kDefaultMinimumPercent = 20.0;

struct GrainEffect : Effect {
    static constexpr const char* kTitle = "Ravo Grain";
    static constexpr const char* kDescription = "Add film grain";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark1;

    Parameter params[kParameterCount];
    GrainModule grain;
    uint32_t view = kViewOutput;

    static void define(GrainEffect& effect);
    static void beginRender(GrainEffect& effect, const fx::Plugin::RenderInfo& info);
    static bool isActive(GrainEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(GrainEffect&, uint32_t) {}
    static void requiredSource(GrainEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(GrainEffect& effect, const fx::Plugin::RenderInfo& info);
};

void GrainEffect::define(GrainEffect& effect) {
    Parameter* params = effect.params;
    params[kInput].defineInput("input", "Input", 0);
    params[kView].defineList("view", "View", kViewItems, std::size(kViewItems), kViewOutput);
    effect.grain.setMinimum(kDefaultMinimumPercent);
    effect.grain.setAmounts(kDefaultAmountPercent);
    effect.grain.defineParameters(params + kGrain);
}

void GrainEffect::beginRender(GrainEffect& effect, const fx::Plugin::RenderInfo&) {
    effect.grain.takeParameters(effect.params + kGrain);
    effect.view = effect.listValue(kView);
}

bool GrainEffect::isActive(GrainEffect& effect, const fx::Plugin::RenderInfo&) {
    return effect.view == kViewOutput && effect.grain.isActive();
}

void GrainEffect::requiredSource(GrainEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    rect = effect.grain.margin(info).grow(rect);
}

void GrainEffect::render(GrainEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area =
        startRender(effect, info, {kInput, effect.listValue(kView) == kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    effect.grain.apply(*area->output, area->rect, info, effect.grain.margin(info));
}

}  // namespace

const EffectClass& grainClass() { return effectClassOf<GrainEffect>(); }
