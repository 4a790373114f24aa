// Matte Generator: the matte extractor as an effect of its own. The output is the extracted
// matte as an opaque grey picture; the extractor's twelve records follow the View list.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"
#include "fx/matte_parameters.h"
#include "fx/render_margin.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_utils.h"

namespace {

constexpr uint32_t kMatte = 0;
constexpr uint32_t kView = 1;
// The first record of the extractor's group; its records keep their group indices.
constexpr uint32_t kMatteGroup = 2;
constexpr uint32_t kMatteBlurX = kMatteGroup + MatteParameter::kMatteBlurX;
constexpr uint32_t kMatteBlurY = kMatteGroup + MatteParameter::kMatteBlurY;
constexpr uint32_t kMatteBlurGang = kMatteGroup + MatteParameter::kMatteBlurGang;
constexpr uint32_t kParameterCount = kMatteGroup + MatteParameter::kCount;
static_assert(kMatteBlurX == 10 && kMatteBlurY == 11 && kMatteBlurGang == 12 && kParameterCount == 14);

constexpr const char* kViewItems[] = {"Output", "Matte", "Original"};
constexpr uint32_t kViewOriginal = 2;
constexpr uint16_t kViewMark = 0x0004;

constexpr uint32_t kMatteGeneratorFlags =
    EffectFlag::Standard | EffectFlag::Mark16 | EffectFlag::Mark4 | EffectFlag::Mark1;

// The extractor starts from a window over the brightest tones: position 1.0, range 1.6.
constexpr float kInitialPosition = 1.0f;
constexpr float kInitialRange = 1.6f;

struct MatteGeneratorEffect : Effect {
    static constexpr const char* kTitle = "Ravo Matte Generator";
    static constexpr const char* kDescription = "Extract a matte";
    static constexpr uint32_t kEffectFlags = kMatteGeneratorFlags;

    Parameter params[kParameterCount];
    MatteExtractor matteExtractor;

    static void define(MatteGeneratorEffect& effect);
    static bool isActive(MatteGeneratorEffect&, const fx::Plugin::RenderInfo&) { return true; }
    static void parameterChanged(MatteGeneratorEffect& effect, uint32_t index);
    static void requiredSource(MatteGeneratorEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(MatteGeneratorEffect& effect, const fx::Plugin::RenderInfo& info);

    Parameter* matteGroup() { return params + kMatteGroup; }
};

// ---- Definition --------------------------------------------------------------------------

void MatteGeneratorEffect::define(MatteGeneratorEffect& effect) {
    Parameter* params = effect.params;
    params[kMatte].defineInput("matte", "Matte", 0);
    params[kView].defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), 0);
    params[kView].addFlags(kViewMark);
    // The group's position and range records start from the extractor's values.
    effect.matteExtractor.setPosition(kInitialPosition);
    effect.matteExtractor.setRange(kInitialRange);
    defineParameters(effect.matteExtractor, params, kMatteGroup);
}

// ---- Hooks -------------------------------------------------------------------------------

void MatteGeneratorEffect::parameterChanged(MatteGeneratorEffect& effect, uint32_t index) {
    if (index >= kMatteGroup && index < kParameterCount)
        onParameterChanged(effect.matteExtractor, effect.matteGroup(), index - kMatteGroup);
}

void MatteGeneratorEffect::requiredSource(MatteGeneratorEffect& effect, const fx::Plugin::RenderInfo& info,
                                          PixelRect& rect) {
    rect = matteMargin(matteSettings(effect.matteGroup()), info).grow(rect);
}

// ---- Render ------------------------------------------------------------------------------

// "Output" and "Matte" give the same picture: the matte as grey, alpha full.
void MatteGeneratorEffect::render(MatteGeneratorEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area =
        startRender(effect, info, {kMatte, effect.listValue(kView) == kViewOriginal, OutputStart::AsGiven});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    update(effect.matteExtractor, effect.matteGroup(), info);
    const ImagePtr matte = build(effect.matteExtractor, *source, rect, info);
    expandGrayToRGBA(*matte, *output, rect);
}

}  // namespace

const EffectClass& matteGeneratorClass() { return effectClassOf<MatteGeneratorEffect>(); }
