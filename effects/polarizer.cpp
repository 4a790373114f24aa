// Polarizer: finds the sky with a matte of the blue channel, optionally fades that matte out
// along the graduated ramp, and colour-corrects the picture through it (by default more
// saturated and darker).
#include <algorithm>
#include <cstdint>
#include <iterator>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/color_correct_group.h"
#include "fx/effect_class.h"
#include "fx/grad_group.h"
#include "fx/matte_group.h"
#include "fx/matte_parameters.h"
#include "fx/render_margin.h"
#include "imaging/gradient_matte.h"
#include "imaging/matte_extractor.h"
#include "imaging/matte_mix.h"
#include "imaging/pixel_measure.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"

namespace {

constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr ColorCorrectGroup kSky{2};
constexpr GradGroup kGrad{13, true};
constexpr MatteGroup kMatte{22};
constexpr uint32_t kParameterCount = 27;
static_assert(kSky.end() == 12 && kGrad.end() == 21 && kMatte.end() + 1 == kParameterCount);

constexpr const char* kViewItems[] = {"Output", "Matte", "Gradient", "Sky", "Original"};
constexpr uint32_t kViewMatte = 1;
constexpr uint32_t kViewGradient = 2;
constexpr uint32_t kViewSky = 3;
constexpr uint32_t kViewOriginal = 4;

// The sky matte's settings: the blue channel through the group's window (position x 0.01,
// range x 0.02), blurred by the group's blur.
MatteSettings skySettings(const Effect& effect) {
    MatteSettings settings;
    settings.extractOn = uint32_t(PixelMeasure::Blue);
    settings.position = float(effect.numberInRange(kMatte.position()) * 0.01);
    settings.range = float(effect.numberInRange(kMatte.range()) * 0.02);
    settings.blurX = float(effect.numberInRange(kMatte.blur()));
    settings.blurY = settings.blurX;
    return settings;
}

// M = max(0, M - G) over rect.
void subtractRamp(Image& matte, const Image& ramp, const PixelRect& rect) {
    withSampleType(matte, [&]<class Sample>() {
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            Sample* m = matte.pixel<Sample>(rect.left, y);
            const Sample* g = ramp.pixel<Sample>(rect.left, y);
            for (int32_t x = 0; x < rect.width(); ++x) m[x] = m[x] > g[x] ? Sample(m[x] - g[x]) : Sample(0);
        }
    });
}

struct PolarizerEffect : Effect {
    static constexpr const char* kTitle = "Ravo Polarizer";
    static constexpr const char* kDescription = "Tint a gradiated portion of the image.";
    static constexpr uint32_t kEffectFlags = EffectFlag::Standard;

    Parameter params[kParameterCount];

    static void define(PolarizerEffect& effect);
    static bool isActive(PolarizerEffect& effect, const fx::Plugin::RenderInfo&) {
        return effect.listValue(kView) != kViewOriginal;
    }
    static void requiredSource(PolarizerEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect) {
        rect = matteMargin(skySettings(effect), info).grow(rect);
    }
    static void render(PolarizerEffect& effect, const fx::Plugin::RenderInfo& info);
};

void PolarizerEffect::define(PolarizerEffect& effect) {
    Parameter* p = effect.params;
    p[kBackground].defineInput("background", "Background", 0);
    p[kView].defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), 0);
    defineColorCorrectGroup(p, kSky, {.label = "Sky", .saturation = 50.0, .brightness = -20.0});
    defineGradGroup(p, kGrad, {GradientDirection::kBottomToTop, 0});
    defineMatteGroup(p, kMatte, {50.0, 25.0});
}

void PolarizerEffect::render(PolarizerEffect& effect, const fx::Plugin::RenderInfo& info) {
    const uint32_t view = effect.listValue(kView);
    const auto area = startRender(effect, info, {kBackground, view == kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    const MatteSettings settings = skySettings(effect);
    const bool graded = effect.booleanValue(kGrad.enable());

    ImagePtr ramp;
    if (view == kViewGradient || graded) {
        ramp = buildGroupGradient(effect, kGrad, *output, rect, info, matteMargin(settings, info));
        if (view == kViewGradient) {
            expandGrayToRGBA(*ramp, *output, rect);
            return;
        }
    }
    MatteExtractor extractor;
    extractor.setCacheEnabled(false);
    extractor.setExtractOn(settings.extractOn);
    extractor.setPosition(settings.position);
    extractor.setRange(settings.range);
    extractor.setBlur(settings.blurX);
    extractor.applyPositionRange();
    const ImagePtr sky = build(extractor, *source, rect, info);
    if (view == kViewMatte) {
        expandGrayToRGBA(*sky, *output, rect);
        return;
    }
    if (graded) subtractRamp(*sky, *ramp, rect);
    if (view == kViewSky) {
        expandGrayToRGBA(*sky, *output, rect);
        return;
    }
    // The source as it came, for the mix, even where the output is the same picture.
    const ImagePtr untouched = source->data == output->data ? source->clone() : source;
    applyColorCorrectGroup(effect, kSky, PercentReading::TimesOneHundredth, *output, rect);
    mixByMatte(*output, *untouched, *output, rect, *sky);
}

}  // namespace

const EffectClass& polarizerClass() { return effectClassOf<PolarizerEffect>(); }
