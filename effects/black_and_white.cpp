// The monochrome film looks: Black and White, Infra-Red and Bleach Bypass.
//
//   Black and White  grey through a colour filter, then brightness, contrast and gamma
//   Infra-Red        brightness, contrast and gamma, a highlight glow, then grey through a
//                    colour filter (red by default)
//   Bleach Bypass    a desaturated picture overlaid with a contrast-boosted grey copy of
//                    itself, mixed with the original by an amount
#include "effects/black_and_white.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "effects/effect_classes.h"
#include "effects/glow_look_render.h"
#include "effects/render_area.h"
#include "effects/tone_table.h"
#include "fx/effect_class.h"
#include "fx/glow_parameters.h"
#include "fx/matte_group.h"
#include "fx/render_margin.h"
#include "fx/memory_handler.h"
#include "imaging/black_and_white_convert.h"
#include "imaging/color.h"
#include "imaging/glow.h"
#include "imaging/luma.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// Black and White
constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kFilter = 2;
constexpr uint32_t kDensityGroup = 3;
constexpr uint32_t kBrightness = 4;
constexpr uint32_t kContrast = 5;
constexpr uint32_t kGamma = 6;
constexpr uint32_t kDensityGroupEnd = 7;
constexpr uint32_t kBlackAndWhiteParameterCount = 8;

// Infra-Red
constexpr uint32_t kInfraRedBackground = 0;
constexpr uint32_t kInfraRedView = 1;
constexpr uint32_t kInfraRedFilter = 2;
constexpr uint32_t kGlowGroup = 3;
constexpr uint32_t kGlowMode = 4;
constexpr uint32_t kGlowBlend = 5;
constexpr uint32_t kGlowBrightness = 6;
constexpr uint32_t kGlowBlurH = 7;
constexpr uint32_t kGlowBlurV = 8;
constexpr uint32_t kGlowBlurGang = 9;
constexpr uint32_t kGlowGroupEnd = 10;
constexpr uint32_t kInfraRedDensityGroup = 11;
constexpr uint32_t kInfraRedBrightness = 12;
constexpr uint32_t kInfraRedContrast = 13;
constexpr uint32_t kInfraRedGamma = 14;
constexpr uint32_t kInfraRedDensityGroupEnd = 15;
constexpr MatteGroup kMatte = {16};  // records 16 to 20
constexpr uint32_t kInfraRedParameterCount = 21;
static_assert(kMatte.end() + 1 == kInfraRedParameterCount);
constexpr GlowLookRecords kInfraRedGlowLook{kInfraRedBackground, kInfraRedView, kGlowMode,
                                            kGlowBlend,          kGlowBrightness, kMatte};

// Bleach Bypass
constexpr uint32_t kBleachBackground = 0;
constexpr uint32_t kBleachView = 1;
constexpr uint32_t kAmount = 2;
constexpr uint32_t kSaturation = 3;
constexpr uint32_t kBleachContrast = 4;
constexpr uint32_t kBleachBypassParameterCount = 5;

constexpr const char* kOutputOriginalItems[] = {"Output", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewOriginal = 1;

constexpr const char* kFilterItems[] = {"Normal", "Red", "Green", "Blue", "Yellow", "Orange"};
constexpr uint32_t kFilterRed = uint32_t(BlackAndWhiteFilter::Red);

// ---- Shared render frame -----------------------------------------------------------------

// ---- Black and White ---------------------------------------------------------------------

struct BlackAndWhiteEffect : Effect {
    static constexpr const char* kTitle = "Ravo Black and White";
    static constexpr const char* kDescription = "Creates the effect of a Night Vision lens.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::PixelLocal;

    Parameter params[kBlackAndWhiteParameterCount];
    // The brightness, contrast and gamma sliders after the conversion.
    ToneTable toneTable{ToneTable::Rounding::Truncate};

    static void define(BlackAndWhiteEffect& effect);
    static bool isActive(BlackAndWhiteEffect& effect, const fx::Plugin::RenderInfo&) {
        return effect.listValue(kView) == kViewOutput;
    }
    static void beginRender(BlackAndWhiteEffect& effect, const fx::Plugin::RenderInfo& info) {
        effect.toneTable.prepare(effect.numberInRange(kBrightness) / 100, effect.numberInRange(kContrast) / 100,
                                 effect.numberInRange(kGamma) / 100, info.is16);
    }
    static void render(BlackAndWhiteEffect& effect, const fx::Plugin::RenderInfo& info);
};

void BlackAndWhiteEffect::define(BlackAndWhiteEffect& effect) {
    Parameter* params = effect.params;
    params[kBackground].defineInput("background", "Background", 0);
    params[kView].defineList("view", "View", kOutputOriginalItems, std::size(kOutputOriginalItems), kViewOutput);
    defineBlackAndWhiteFilter(params[kFilter], "Filter", uint32_t(BlackAndWhiteFilter::Normal));
    defineToneGroup(params, kDensityGroup, 0);
    static_assert(kDensityGroupEnd == kDensityGroup + 4 && kGamma == kDensityGroup + 3);
}

// The tile loop passes the source through when View is "Original"; a render asked for all
// the same leaves the copy of the source.
void BlackAndWhiteEffect::render(BlackAndWhiteEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area =
        startRender(effect, info, {kBackground, effect.listValue(kView) != kViewOutput, OutputStart::AsGiven});
    if (!area) return;
    // Copying the source and converting it in place, done in one pass.
    toBlackAndWhite(*area->source, *area->output, area->rect, effect.listValue(kFilter));
    effect.toneTable.apply(*area->output, area->rect);
}

// ---- Infra-Red ---------------------------------------------------------------------------

struct InfraRedEffect : Effect {
    static constexpr const char* kTitle = "Ravo Infra-Red";
    static constexpr const char* kDescription = "Simulates the effect of infra-red photography.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;

    Parameter params[kInfraRedParameterCount];
    // The brightness, contrast and gamma sliders before the glow.
    ToneTable toneTable{ToneTable::Rounding::Truncate};
    // The glow's light image, kept for the tiles of a run.
    ScratchImage lightMemory;

    static void define(InfraRedEffect& effect);
    static void beginRender(InfraRedEffect& effect, const fx::Plugin::RenderInfo& info) {
        effect.toneTable.prepare(effect.numberInRange(kInfraRedBrightness) / 100, effect.numberInRange(kInfraRedContrast) / 100,
                                 effect.numberInRange(kInfraRedGamma) / 100, info.is16);
    }
    static void render(InfraRedEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(InfraRedEffect& effect, uint32_t index);
    static void requiredSource(InfraRedEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
};

void InfraRedEffect::define(InfraRedEffect& effect) {
    Parameter* params = effect.params;
    params[kInfraRedBackground].defineInput("background", "Background", 0);
    defineGlowLookView(params[kInfraRedView]);
    defineBlackAndWhiteFilter(params[kInfraRedFilter], "Black and White", kFilterRed);

    params[kGlowGroup].defineGroupBegin("glow", "Glow", true);
    defineGlowModeList(params[kGlowMode], GlowModeItem::kSpread);
    defineBlendList(params[kGlowBlend], "glowBlend", "Blend", BlendItem::kScreen);
    params[kGlowBrightness].defineNumber("glowBrightness", "Brightness", 0.0, 800.0, 75.0, 1);
    defineBlurPair(params, kGlowBlurH,
                   {"glowBlurH", "Horizontal Blur", "glowBlurV", "Vertical Blur", "glowBlurGang", "Gang Blur", 500.0,
                    30.0, ParameterFlag::NotifyOnChange, true});
    static_assert(kGlowBlurV == kGlowBlurH + BlurPairParameter::kVertical &&
                  kGlowBlurGang == kGlowBlurH + BlurPairParameter::kGang);
    params[kGlowGroupEnd].defineGroupEnd();

    defineToneGroup(params, kInfraRedDensityGroup, ParameterFlag::Percent);
    static_assert(kInfraRedDensityGroupEnd == kInfraRedDensityGroup + 4 &&
                  kInfraRedGamma == kInfraRedDensityGroup + 3);

    defineMatteGroup(params, kMatte, {100.0, 80.0});

    params[kGlowBrightness].addFlags(ParameterFlag::Percent);
}

// The gang switch and the blur pair behave as in the glow and mist looks: while ganged the
// vertical blur follows the horizontal one and its control is disabled.
void InfraRedEffect::parameterChanged(InfraRedEffect& effect, uint32_t index) {
    blurPairChanged(effect.params, kGlowBlurH, index);
}

void InfraRedEffect::requiredSource(InfraRedEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    rect = glowLookMargin(effect, kMatte, blurPairSizes(effect.params, kGlowBlurH), info).grow(rect);
}

// The picture is toned and glows in colour, and only then turns grey.
void InfraRedEffect::render(InfraRedEffect& effect, const fx::Plugin::RenderInfo& info) {
    auto render = startGlowLook(effect, kInfraRedGlowLook, info);
    if (!render) return;
    render->copySource();
    effect.toneTable.apply(render->output, render->rect());
    applyLookGlow(effect, kInfraRedGlowLook, *render, blurPairSizes(effect.params, kGlowBlurH), GlowColor{}, info,
                  effect.lightMemory);
    toBlackAndWhite(render->output, render->rect(), effect.listValue(kInfraRedFilter));
}

// ---- Bleach Bypass -----------------------------------------------------------------------

template <class Sample>
using Pixel = std::array<Sample, 4>;

// The pixel with its saturation scaled by (1 + s), clamped to 0..1, in HSV; s = 0 and greys
// come back unchanged. The result's alpha is full.
template <class Sample>
Pixel<Sample> adjustSaturation(const Pixel<Sample>& pixel, double saturation) {
    if (saturation == 0.0) return pixel;
    const float full = float(SampleTraits<Sample>::full);
    const float scale = 1.0f / full;
    const Hsv hsv = rgbToHsv(float(pixel[0]) * scale, float(pixel[1]) * scale, float(pixel[2]) * scale);
    if (hsv.s == 0.0f) return pixel;
    // HSV saturation is a 32-bit float: the factor is too, as in the colour-correct pass.
    float s = hsv.s * float(saturation + 1.0);
    if (s < 0.0f) s = 0.0f;
    if (s > 1.0f) s = 1.0f;
    const Rgb rgb = hsvToRgb(hsv.h, s, hsv.v);
    return {clampSample<Sample>(truncToInt(rgb.r * full)), clampSample<Sample>(truncToInt(rgb.g * full)),
            clampSample<Sample>(truncToInt(rgb.b * full)), Sample(SampleTraits<Sample>::full)};
}

// Overlay of the grey g on one colour level c: the dark half multiplies, the light half
// screens. The 8-bit light half uses 511 - 2c where the 16-bit one uses 2 (32768 - c).
template <class Sample>
inline Sample overlayLevel(int32_t level, int32_t grey) {
    // Both halves are computed and one is picked, which keeps the loop free of branches.
    if constexpr (std::is_same_v<Sample, uint8_t>) {
        const int32_t dark = 2 * level * grey / 255;
        const int32_t light = 255 - (511 - 2 * level) * (255 - grey) / 255;
        return clampSample<Sample>(dark + (light - dark) * int32_t(level >= 128));
    } else {
        // 2 x 32768 x 32768 needs more than 31 bits.
        const int64_t dark = 2 * int64_t(level) * grey / 32768;
        const int64_t light = 32768 - 2 * int64_t(32768 - level) * (32768 - grey) / 32768;
        return clampSample<Sample>(dark + (light - dark) * int64_t(level >= 16384));
    }
}

// The overlay of grey g on each colour channel of the pixel; alpha is the colour pixel's.
template <class Sample>
inline Pixel<Sample> overlayGrey(int32_t grey, const Pixel<Sample>& colour) {
    return {overlayLevel<Sample>(colour[0], grey), overlayLevel<Sample>(colour[1], grey),
            overlayLevel<Sample>(colour[2], grey), colour[3]};
}

// Per pixel p: r = overlayGrey(T[luma(p)], adjustSaturation(p, s)), then each colour channel
// (r x t + p x (full - t)) / full. Alpha stays p's. Without a saturation change the HSV round
// trip is left out of the loop altogether.
template <class Sample, bool changesSaturation>
void bleach(Image& image, const PixelRect& rect, const Sample* contrast, double saturation, uint32_t mix) {
    constexpr uint32_t one = SampleTraits<Sample>::full;
    const uint32_t keep = one - mix;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            const Pixel<Sample> original = {p[0], p[1], p[2], p[3]};
            // Host samples never exceed full; the bound keeps the lookup inside the table regardless.
            const int32_t grey = contrast[std::min<int32_t>(luma(p), one)];
            Pixel<Sample> desaturated = original;
            if constexpr (changesSaturation) desaturated = adjustSaturation<Sample>(original, saturation);
            const Pixel<Sample> overlaid = overlayGrey<Sample>(grey, desaturated);
            for (int c = 0; c < 3; ++c) p[c] = Sample((overlaid[c] * mix + original[c] * keep) / one);
        }
    }
}

template <class Sample>
void bleach(Image& image, const PixelRect& rect, const Sample* contrast, double saturation, uint32_t mix) {
    if (saturation != 0.0)
        bleach<Sample, true>(image, rect, contrast, saturation, mix);
    else
        bleach<Sample, false>(image, rect, contrast, saturation, mix);
}

struct BleachBypassEffect : Effect {
    static constexpr const char* kTitle = "Ravo Bleach Bypass";
    static constexpr const char* kDescription = "Tint a gradiated portion of the image.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard | EffectFlag::PixelLocal;

    Parameter params[kBleachBypassParameterCount];
    // T[i] = trunc(toneAdjust(i / full, 0, c, 0) x full + 0.5), the identity at c = 0.
    ToneTable contrastTable{ToneTable::Rounding::Nearest};

    static void define(BleachBypassEffect& effect);
    static bool isActive(BleachBypassEffect& effect, const fx::Plugin::RenderInfo&) {
        return effect.numberInRange(kAmount) > 0.0 && effect.listValue(kBleachView) == kViewOutput;
    }
    static void beginRender(BleachBypassEffect& effect, const fx::Plugin::RenderInfo& info);
    static void render(BleachBypassEffect& effect, const fx::Plugin::RenderInfo& info);
};

void BleachBypassEffect::define(BleachBypassEffect& effect) {
    Parameter* params = effect.params;
    params[kBleachBackground].defineInput("background", "Background", 0);
    params[kBleachView].defineList("view", "View", kOutputOriginalItems, std::size(kOutputOriginalItems),
                                   kViewOutput);
    params[kAmount].defineNumber("amount", "Amount", 0.0, 100.0, 100.0, 1);
    params[kSaturation].defineNumber("saturation", "Saturation", -100.0, 100.0, 0.0, 1);
    params[kBleachContrast].defineNumber("contrast", "Contrast", -100.0, 100.0, 0.0, 1);
    params[kAmount].addFlags(ParameterFlag::Percent);
}

// The table is built once per run, before the first tile: a run that cannot have it ends
// with the out-of-memory result instead of clearing every tile.
void BleachBypassEffect::beginRender(BleachBypassEffect& effect, const fx::Plugin::RenderInfo& info) {
    effect.contrastTable.prepare(0.0, effect.numberInRange(kBleachContrast) / 100, 0.0, info.is16);
}

void BleachBypassEffect::render(BleachBypassEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(
        effect, info, {kBleachBackground, effect.listValue(kBleachView) != kViewOutput, OutputStart::CopyOfSource});
    if (!area) return;
    Image& output = *area->output;
    const double amount = effect.numberInRange(kAmount) / 100;
    const double saturation = effect.numberInRange(kSaturation) / 100;
    withSampleType(output, [&]<class Sample>() {
        const int32_t mix = truncToInt(amount * SampleTraits<Sample>::full);
        if (mix <= 0) return;
        // Normally built by beginRender already; this only rebuilds or, when it is missing, raises
        // the out-of-memory exception rather than reading a table that is not there.
        effect.contrastTable.prepare(0.0, effect.numberInRange(kBleachContrast) / 100, 0.0, output.is16());
        bleach<Sample>(output, area->rect, effect.contrastTable.levels<Sample>(), saturation, uint32_t(mix));
    });
}

}  // namespace

void defineBlackAndWhiteFilter(Parameter& parameter, const char* label, uint32_t defaultIndex) {
    parameter.defineList("filter", label, kFilterItems, std::size(kFilterItems), defaultIndex);
}

void defineToneGroup(Parameter* params, uint32_t group, uint16_t numberFlags) {
    params[group].defineGroupBegin("density", "Color Correct", true);
    params[group + ToneGroup::kBrightness].defineNumber("brightness", "Brightness", -100.0, 100.0, 0.0, 1);
    params[group + ToneGroup::kContrast].defineNumber("contrast", "Contrast", -100.0, 100.0, 0.0, 1);
    params[group + ToneGroup::kGamma].defineNumber("gamma", "Gamma", -100.0, 100.0, 0.0, 1);
    params[group + ToneGroup::kEnd].defineGroupEnd();
    for (uint32_t i = ToneGroup::kBrightness; i <= ToneGroup::kGamma; ++i) params[group + i].addFlags(numberFlags);
}

const EffectClass& blackAndWhiteClass() { return effectClassOf<BlackAndWhiteEffect>(); }
const EffectClass& infraRedClass() { return effectClassOf<InfraRedEffect>(); }
const EffectClass& bleachBypassClass() { return effectClassOf<BleachBypassEffect>(); }
