// Low Contrast: lifts the shadows and spills the light of the highlights into their
// surroundings, so that the picture loses contrast without a visible glow on the
// highlights themselves.
//
//   matte M    the highlights: a luminance window at Position / Range, blurred by Blur
//   spread B   M blurred by Light Spread
//   spill E    M + B - 2 M B / full: light around the highlights, none where M and B are full
//   light X    the picture masked by E, blurred by Light Spread, screened on by Light Brightness
//
// The shadows are lifted first, through the process-wide shadow tables.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "effects/low_contrast_tables.h"
#include "fx/effect_class.h"
#include "fx/blur_pair.h"
#include "fx/matte_group.h"
#include "fx/render_margin.h"
#include "imaging/blur.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kContrastGroup = 2;
constexpr uint32_t kLightBrightness = 3;
constexpr uint32_t kLightSpread = 4;
constexpr uint32_t kShadowBrightness = 5;
constexpr uint32_t kContrastGroupEnd = 6;
constexpr MatteGroup kMatte = {7};  // records 7 to 11
constexpr uint32_t kParameterCount = 12;
static_assert(kMatte.end() + 1 == kParameterCount);

constexpr const char* kViewItems[] = {"Output", "Matte", "Spread", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewMatte = 1;
constexpr uint32_t kViewSpread = 2;
constexpr uint32_t kViewOriginal = 3;

constexpr uint32_t kLowContrastFlags = EffectFlag::Standard;

// ---- Definition --------------------------------------------------------------------------

void defineLowContrastParameters(Parameter* params) {
    params[kBackground].defineInput("background", "Background", 0);
    params[kView].defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), kViewOutput);
    params[kContrastGroup].defineGroupBegin("contrast", "Contrast", true);
    params[kLightBrightness].defineNumber("lightBrightness", "Light Brightness", 0.0, 800.0, 125.0, 1);
    params[kLightSpread].defineNumber("lightSpread", "Light Spread", 0.0, 500.0, 100.0, 1);
    params[kShadowBrightness].defineNumber("shadowBrightness", "Shadow Brightness", 0.0, 30.0, 5.0, 1);
    params[kContrastGroupEnd].defineGroupEnd();
    params[kContrastGroup].addFlags(ParameterFlag::FramedGroup);
    params[kContrastGroupEnd].addFlags(ParameterFlag::FramedGroup);
    defineMatteGroup(params, kMatte, {100.0, 80.0, ParameterFlag::FramedGroup});
}

// ---- Class table -------------------------------------------------------------------------

// isActive, beginRender and parameterChanged are the shared defaults: the effect is always
// active and no record depends on another.
struct LowContrastEffect : Effect {
    static constexpr const char* kTitle = "Ravo Low Contrast";
    static constexpr const char* kDescription =
        "Creates atmosphere by reducing contrast and sharpness and creating a glow around the highlights.";
    static constexpr uint32_t kEffectFlags = kLowContrastFlags;

    Parameter params[kParameterCount];
    MatteExtractor matteExtractor;

    static void define(LowContrastEffect& effect) { defineLowContrastParameters(effect.params); }
    static void requiredSource(LowContrastEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(LowContrastEffect& effect, const fx::Plugin::RenderInfo& info);

    // A number held to its record's range, so that a damaged stored value stays usable.
    double number(uint32_t i) const {
        const Parameter& record = parameter(i);
        return std::clamp(record.number, record.minimum, record.maximum);
    }
};

// ---- Hooks -------------------------------------------------------------------------------

// The light reads around a pixel through three chained blurs: the matte blur, the spread
// blur that makes B (and so E), and the same spread blur again over the masked picture X.
// The margin is their sum, wider than the larger of the two sizes alone, so that a render
// in strips equals a render in one tile.
void LowContrastEffect::requiredSource(LowContrastEffect& effect, const fx::Plugin::RenderInfo& info,
                                       PixelRect& rect) {
    const double spread = effect.number(kLightSpread);
    const SourceMargin spreadMargin = blurMargin({spread, spread}, info);
    rect = (matteMargin(matteGroupSettings(effect, kMatte), info) + spreadMargin + spreadMargin).grow(rect);
}

// ---- Render ------------------------------------------------------------------------------

// The spill of one matte sample m and its spread b: high around the highlights, 0 where
// both are full. Read left to right: (2 x m x b) / full.
template <class Sample>
inline typename SampleTraits<Sample>::Accumulator spill(Sample matte, Sample spread) {
    using Accumulator = typename SampleTraits<Sample>::Accumulator;
    constexpr Accumulator full = SampleTraits<Sample>::full;
    const Accumulator m = matte, b = spread;
    return std::clamp<Accumulator>(m + b - 2 * m * b / full, 0, full);
}

// With k = trunc(s x full), out[i] = min(full, i + shadow[i] x k / full): black rises by k,
// white stays.
template <class Sample>
void liftShadows(Image& image, const PixelRect& rect, double s, const Sample* shadow) {
    constexpr int64_t full = SampleTraits<Sample>::full;
    const int64_t k = truncToInt64(s * full);
    std::vector<Sample> table(SampleTraits<Sample>::tableSize);
    for (int64_t i = 0; i <= full; ++i) table[size_t(i)] = Sample(std::min(full, i + int64_t(shadow[i]) * k / full));
    applyLUT(image, table.data(), rect);
}

// The spill E of a matte and its spread, written over the matte (rect only).
template <class Sample>
void spillInto(Image& matte, const Image& spread, const PixelRect& rect) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* m = matte.row<Sample>(y);
        const Sample* b = spread.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x) m[x] = Sample(spill<Sample>(m[x], b[x]));
    }
}

// The colour channels of the picture times the spill of the matte: X x E / full, alpha kept.
template <class Sample>
void maskBySpill(Image& picture, const Image& matte, const Image& spread, const PixelRect& rect) {
    using Accumulator = typename SampleTraits<Sample>::Accumulator;
    constexpr Accumulator full = SampleTraits<Sample>::full;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = picture.pixel<Sample>(rect.left, y);
        const Sample* m = matte.row<Sample>(y);
        const Sample* b = spread.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            const Accumulator e = spill<Sample>(m[x], b[x]);
            for (int c = 0; c < 3; ++c) p[c] = Sample(Accumulator(p[c]) * e / full);
        }
    }
}

// Screens the light onto the picture with amount L: K = trunc(L x full) holds n = K div
// (full + 1) whole steps c = c + x - c x / full and a remainder r, applied as one more step
// with the light scaled to x r / full. Alpha is left alone.
template <class Sample>
void screenLight(Image& picture, const Image& light, const PixelRect& rect, double amount) {
    using Accumulator = typename SampleTraits<Sample>::Accumulator;
    constexpr Accumulator full = SampleTraits<Sample>::full;
    // The amount is at most 8, so K and the step count stay small.
    const Accumulator k = Accumulator(truncToInt64(amount * full));
    const Accumulator steps = k / (full + 1);
    const Accumulator remainder = k % (full + 1);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = picture.pixel<Sample>(rect.left, y);
        const Sample* l = light.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4, l += 4) {
            for (int ch = 0; ch < 3; ++ch) {
                const Accumulator level = l[ch];
                Accumulator c = p[ch];
                for (Accumulator i = 0; i < steps; ++i) c = c + level - c * level / full;
                if (remainder > 0) {
                    const Accumulator partial = level * remainder / full;
                    c = c + partial - c * partial / full;
                }
                p[ch] = clampSample<Sample>(c);
            }
        }
    }
}

template <class Sample>
const Sample* sharedShadowTable() {
    if constexpr (sizeof(Sample) == 1)
        return ShadowTables::shared().table8();
    else
        return ShadowTables::shared().table16();
}

template <class Sample>
void renderLowContrast(LowContrastEffect& effect, const Image& source, Image& output, const PixelRect& rect,
                       const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const ImagePtr matte = buildGroupMatte(effect.matteExtractor, effect, kMatte, source, rect, info);
    if (view == kViewMatte) {
        expandGrayToRGBA(*matte, output, rect);
        return;
    }

    const bool showSpread = view == kViewSpread;  // any other index renders the output
    if (!showSpread) {
        copyRect(source, output, rect);
        // "P(5) / 100" as the render step states it (a division, not a product by 0.01).
        const double shadowLift = effect.number(kShadowBrightness) / 100.0;
        if (shadowLift > 0.0) liftShadows<Sample>(output, rect, shadowLift, sharedShadowTable<Sample>());
    }
    const double spread = effect.number(kLightSpread);
    const double brightness = effect.number(kLightBrightness) / 100.0;
    if (!showSpread && brightness <= 0.0) return;

    Blur blur;
    prepareBlur(blur, {spread, spread}, info);
    const ImagePtr spreadMatte = matte->clone();
    blur.apply(*spreadMatte, rect);
    if (showSpread) {
        spillInto<Sample>(*matte, *spreadMatte, rect);
        expandGrayToRGBA(*matte, output, rect);
        return;
    }

    const ImagePtr light = output.clone();
    maskBySpill<Sample>(*light, *matte, *spreadMatte, rect);
    blur.apply(*light, rect);
    screenLight<Sample>(output, *light, rect, brightness);
}

void LowContrastEffect::render(LowContrastEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area =
        startRender(effect, info, {kBackground, effect.listValue(kView) == kViewOriginal, OutputStart::AsGiven});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    withSampleType(*output, [&]<class Sample>() { renderLowContrast<Sample>(effect, *source, *output, rect, info); });
}

}  // namespace

const EffectClass& lowContrastClass() { return effectClassOf<LowContrastEffect>(); }
