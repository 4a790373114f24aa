// Overexpose: the flash of light at the start or end of a film take. The picture is
// brightened by a blurred copy of itself, then washed toward white along an ease-in curve of
// the amount; at full amount the frame is pure white (with the source's transparency).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/blur_pair.h"
#include "fx/effect_class.h"
#include "fx/render_margin.h"
#include "imaging/blur.h"
#include "imaging/pixel_utils.h"
#include "imaging/portable_math.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

constexpr uint32_t kInput = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kAmount = 2;
constexpr uint32_t kIntensity = 3;
constexpr uint32_t kBlurSize = 4;
constexpr uint32_t kParameterCount = 5;

constexpr const char* kViewItems[] = {"Output", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewOriginal = 1;

// pi/2 cut to eleven decimals: the phase of the wash-to-white curve.
constexpr double kQuarterTurn = 1.57079632675;

struct OverexposeEffect : Effect {
    static constexpr const char* kTitle = "Ravo Overexpose";
    static constexpr const char* kDescription =
        "Simulates the overexposure that occurs when a film camera starts or stops.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;

    Parameter params[kParameterCount];

    static void define(OverexposeEffect& effect);
    static bool isActive(OverexposeEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(OverexposeEffect&, uint32_t) {}
    static void requiredSource(OverexposeEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(OverexposeEffect& effect, const fx::Plugin::RenderInfo& info);
};

void OverexposeEffect::define(OverexposeEffect& effect) {
    Parameter* params = effect.params;
    params[kInput].defineInput("input", "Input", 0);
    params[kView].defineList("view", "View", kViewItems, std::size(kViewItems), kViewOutput);
    params[kAmount].defineNumber("amount", "Amount", 0.0, 100.0, 0.0);
    params[kIntensity].defineNumber("intensity", "Intensity", 0.0, 1000.0, 1000.0);
    params[kBlurSize].defineNumber("blur", "Blur", 0.0, 500.0, 50.0);
    params[kAmount].addFlags(ParameterFlag::Percent);
    params[kIntensity].addFlags(ParameterFlag::Percent);
}

bool OverexposeEffect::isActive(OverexposeEffect& effect, const fx::Plugin::RenderInfo&) {
    return effect.listValue(kView) != kViewOriginal && effect.numberInRange(kAmount) != 0.0;
}

void OverexposeEffect::requiredSource(OverexposeEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
    const double size = effect.numberInRange(kBlurSize);
    rect = blurMargin({size, size}, info).grow(rect);
}

// Per colour sample c of the output (a copy of the source) and x of the light picture:
// c = min(full, trunc(x * intensity + c)), then mixed toward white by W / full. w = 1 exactly
// fills with white instead. Alpha is the source's throughout. Each sample of the light is read
// before the same sample of the output is written, so the two may be the same pixels.
template <class Sample>
void overexpose(Image& output, const Image& light, const PixelRect& rect, double intensity, double wash) {
    constexpr int64_t full = SampleTraits<Sample>::full;
    const int64_t white = truncToInt64(wash * double(full));
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = output.pixel<Sample>(rect.left, y);
        const Sample* x = light.pixel<Sample>(rect.left, y);
        if (wash == 1.0) {
            for (int32_t i = rect.left; i < rect.right; ++i, p += 4)
                p[0] = p[1] = p[2] = Sample(white);
            continue;
        }
        for (int32_t i = rect.left; i < rect.right; ++i, p += 4, x += 4)
            for (int c = 0; c < 3; ++c) {
                int64_t value = std::min(full, truncToInt64(double(x[c]) * intensity + double(p[c])));
                if (white != 0) value = (value * (full - white) + white * full) / full;
                p[c] = Sample(value);
            }
    }
}

void OverexposeEffect::render(OverexposeEffect& effect, const fx::Plugin::RenderInfo& info) {
    // The source's pixels, alpha included, are the start of every pixel written below.
    const auto area =
        startRender(effect, info, {kInput, effect.listValue(kView) == kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    Image* output = area->output;
    const PixelRect rect = area->rect;

    const double amount = effect.numberInRange(kAmount) / 100;
    const double intensity = effect.numberInRange(kIntensity) * amount / 100;
    const double size = effect.numberInRange(kBlurSize);
    const double wash = portable::sin(amount * kQuarterTurn - kQuarterTurn) + 1;

    // The light: the source, or a copy of it blurred over the rect (not needed for the white fill).
    ImagePtr blurred;
    const Image* light = area->source.get();
    if (size > 0.0 && wash != 1.0) {
        blurred = area->source->clone();
        Blur blur;
        prepareBlur(blur, {size, size}, info);
        blur.apply(*blurred, rect);
        light = blurred.get();
    }

    withSampleType(*output, [&]<class Sample>() { overexpose<Sample>(*output, *light, rect, intensity, wash); });
}

}  // namespace

const EffectClass& overexposeClass() { return effectClassOf<OverexposeEffect>(); }
