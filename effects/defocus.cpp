// Defocus and Fast Blur: the picture blurred with the separable box blur.
//
//   Fast Blur  the blur alone, with one horizontal and one vertical size
//   Defocus    the blur, then the highlights of the blurred picture bloom (a luminance matte
//              of the blurred picture lights it through the glow engine), the way
//              out-of-focus highlights flare on film
//
// Sizes are pixels at full image size, scaled by the render's scale factors.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"
#include "fx/blur_pair.h"
#include "fx/glow_parameters.h"
#include "fx/matte_group.h"
#include "fx/render_margin.h"
#include "imaging/blur.h"
#include "imaging/glow.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_utils.h"

namespace {

// Defocus
constexpr uint32_t kDefocusInput = 0;
constexpr uint32_t kDefocusView = 1;
constexpr uint32_t kBlend = 2;
constexpr uint32_t kHorizontalBlur = 3;
constexpr uint32_t kVerticalBlur = 4;
constexpr uint32_t kGang = 5;
constexpr uint32_t kBloom = 6;
constexpr MatteGroup kMatte = {7};  // records 7 to 11
constexpr uint32_t kDefocusParameterCount = 12;
static_assert(kMatte.end() + 1 == kDefocusParameterCount);

// Fast Blur
constexpr uint32_t kFastBlurInput = 0;
constexpr uint32_t kBlurX = 1;
constexpr uint32_t kBlurY = 2;
constexpr uint32_t kFastBlurGang = 3;
constexpr uint32_t kFastBlurParameterCount = 4;

constexpr const char* kDefocusViewItems[] = {"Output", "Matte", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewMatte = 1;
constexpr uint32_t kViewOriginal = 2;

// ---- Shared render frame -----------------------------------------------------------------

// Blurs the rect of image in place with sizes at full image size, scaled for this render.
void blurScaled(Blur& blur, Image& image, const PixelRect& rect, const BlurSizes& sizes,
                const fx::Plugin::RenderInfo& info) {
    prepareBlur(blur, sizes, info);
    blur.apply(image, rect);
}

// ---- Defocus -----------------------------------------------------------------------------

struct DefocusEffect : Effect {
    static constexpr const char* kTitle = "Ravo Defocus";
    static constexpr const char* kDescription = "Film defocus";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::Mark16;

    Parameter params[kDefocusParameterCount];

    static void define(DefocusEffect& effect);
    static bool isActive(DefocusEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(DefocusEffect& effect, uint32_t index);
    static void requiredSource(DefocusEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(DefocusEffect& effect, const fx::Plugin::RenderInfo& info);
};

void DefocusEffect::define(DefocusEffect& effect) {
    Parameter* params = effect.params;
    params[kDefocusInput].defineInput("input", "Input", 0);
    params[kDefocusView].defineList("view", "View", kDefocusViewItems, std::size(kDefocusViewItems), kViewOutput);
    defineBlendList(params[kBlend], "blend", "Blend", BlendItem::kScreen);
    defineBlurPair(params, kHorizontalBlur,
                   {"hblur", "Horizontal Blur", "vblur", "Vertical Blur", "gang", "Gang", 500.0, 20.0});
    params[kBloom].defineNumber("bloom", "Bloom", 0.0, 300.0, 50.0);
    defineMatteGroup(params, kMatte, {100.0, 80.0});
    static_assert(kVerticalBlur == kHorizontalBlur + BlurPairParameter::kVertical &&
                  kGang == kHorizontalBlur + BlurPairParameter::kGang);
}

// "Original" passes the source through; "Matte" always shows something; "Output" changes
// the picture when it blurs or blooms.
bool DefocusEffect::isActive(DefocusEffect& effect, const fx::Plugin::RenderInfo&) {
    const uint32_t view = effect.listValue(kDefocusView);
    if (view == kViewOriginal) return false;
    if (view == kViewMatte) return true;
    const BlurSizes sizes = blurPairSizes(effect.parameters, kHorizontalBlur);
    return effect.numberInRange(kBloom) != 0.0 || sizes.horizontal != 0.0 || sizes.vertical != 0.0;
}

void DefocusEffect::parameterChanged(DefocusEffect& effect, uint32_t index) {
    blurPairChanged(effect.params, kHorizontalBlur, index);
}

// The matte is extracted from the blurred picture and blurred itself, so what a pixel reads
// reaches as far as both blurs together; the bloom counts as pixels too.
void DefocusEffect::requiredSource(DefocusEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    const SourceMargin blurs = blurMargin(blurPairSizes(effect.parameters, kHorizontalBlur), info) +
                               matteMargin(matteGroupSettings(effect, kMatte), info);
    const double bloom = effect.numberInRange(kBloom);
    rect = widest(blurs, scaledSizeMargin({bloom, bloom}, info)).grow(rect);
}

void DefocusEffect::render(DefocusEffect& effect, const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kDefocusView);
    const auto area = startRender(effect, info, {kDefocusInput, view == kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    Image& output = *area->output;
    const PixelRect& rect = area->rect;

    const BlurSizes sizes = blurPairSizes(effect.parameters, kHorizontalBlur);
    if (sizes.horizontal > 0.0 || sizes.vertical > 0.0) {
        Blur blur;
        blurScaled(blur, output, rect, sizes, info);
    }

    const double bloom = effect.numberInRange(kBloom) / 100;
    if (bloom <= 0.0 && view != kViewMatte) return;

    // The highlights of the blurred picture.
    const ImagePtr matte = buildGroupMatte(effect, kMatte, output, rect, info);

    if (view == kViewMatte) {
        expandGrayToRGBA(*matte, output, rect);
        return;
    }
    applyGlow(output, *matte, rect, 0.0, 0.0, bloom, kGlowFromMatte, int32_t(effect.listValue(kBlend)),
              GlowColor{1.0, 1.0, 1.0}, info.extraBlurPasses());
}

// ---- Fast Blur ---------------------------------------------------------------------------

struct FastBlurEffect : Effect {
    static constexpr const char* kTitle = "Ravo Fast Blur";
    static constexpr const char* kDescription = "Blur images.";
    static constexpr uint32_t kEffectFlags =
        EffectFlag::Standard | EffectFlag::Mark16 | EffectFlag::NoMenuCommand;

    Parameter params[kFastBlurParameterCount];
    // The effect's own blur, kept for its whole life so that its working line is reused.
    Blur blur;

    static void define(FastBlurEffect& effect);
    static bool isActive(FastBlurEffect&, const fx::Plugin::RenderInfo&) { return true; }
    static void parameterChanged(FastBlurEffect& effect, uint32_t index);
    static void requiredSource(FastBlurEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(FastBlurEffect& effect, const fx::Plugin::RenderInfo& info);
};

void FastBlurEffect::define(FastBlurEffect& effect) {
    Parameter* params = effect.params;
    params[kFastBlurInput].defineInput("input", "Input", 0);
    BlurPairDefinition pair{"blurX", "Horizontal Blur", "blurY", "Vertical Blur", "gang", "Gang", 500.0, 10.0};
    pair.sizeFlags = 0;
    defineBlurPair(params, kBlurX, pair);
    // The gang starts on, so the vertical size starts disabled.
    params[kBlurY].setEnabled(false);
    static_assert(kBlurY == kBlurX + BlurPairParameter::kVertical &&
                  kFastBlurGang == kBlurX + BlurPairParameter::kGang);
}

// Only the gang switch notifies: it enables the vertical size exactly while it is off.
void FastBlurEffect::parameterChanged(FastBlurEffect& effect, uint32_t index) {
    blurGangChanged(effect.params, kBlurX, index);
}

void FastBlurEffect::requiredSource(FastBlurEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    rect = blurMargin(blurPairSizes(effect.parameters, kBlurX), info).grow(rect);
}

void FastBlurEffect::render(FastBlurEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(effect, info, {kFastBlurInput, false, OutputStart::CopyOfSource});
    if (!area) return;
    const BlurSizes sizes = blurPairSizes(effect.parameters, kBlurX);
    if (sizes.horizontal > 0.0 || sizes.vertical > 0.0) blurScaled(effect.blur, *area->output, area->rect, sizes, info);
}

}  // namespace

const EffectClass& defocusClass() { return effectClassOf<DefocusEffect>(); }
const EffectClass& fastBlurClass() { return effectClassOf<FastBlurEffect>(); }
