// The colour-temperature family: Temperature, Warm/Cool and Fluorescent. Each shifts
// red and blue (and green) against each other by constant offsets, per pixel.
//
//   Temperature  red down / blue up, cyan-magenta on red and green, brightness table
//   Warm/Cool    blue up and red down by one amount
//   Fluorescent  green down and blue up, then every channel scaled by (1 + f)
#include <cmath>
#include <cstdint>
#include <vector>

#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"
#include "imaging/color.h"
#include "imaging/color_correct.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// Temperature
constexpr uint32_t kTemperatureInput = 0;
constexpr uint32_t kTemperatureView = 1;
constexpr uint32_t kTemperature = 2;
constexpr uint32_t kCyanMagenta = 3;
constexpr uint32_t kBrightness = 4;
constexpr uint32_t kTemperatureParameterCount = 5;

// Warm/Cool and Fluorescent share one layout.
constexpr uint32_t kShiftBackground = 0;
constexpr uint32_t kShiftView = 1;
constexpr uint32_t kShiftTemperature = 2;
constexpr uint32_t kShiftParameterCount = 3;

constexpr const char* kViewItems[] = {"Output", "Original"};
constexpr uint32_t kViewOriginal = 1;

constexpr uint32_t kColorTemperatureFlags = EffectFlag::Standard | EffectFlag::PixelLocal;

// ---- Definitions -------------------------------------------------------------------------

void defineView(Parameter& view) { view.defineList("view", "View", kViewItems, std::size(kViewItems), 0); }

void defineTemperatureParameters(Parameter* params) {
    params[kTemperatureInput].defineInput("input", "Input", 0);
    defineView(params[kTemperatureView]);
    params[kTemperature].defineNumber("temperature", "Temperature", -100.0, 100.0, 0.0, 1);
    params[kCyanMagenta].defineNumber("cyanMagenta", "Cyan/Magenta", -100.0, 100.0, 0.0, 1);
    params[kBrightness].defineNumber("brightness", "Brightness", -100.0, 100.0, 0.0, 1);
}

// Warm/Cool and Fluorescent differ only in the range of their one slider.
void defineShiftParameters(Parameter* params, double minimum, double maximum) {
    params[kShiftBackground].defineInput("background", "Background", 0);
    defineView(params[kShiftView]);
    params[kShiftTemperature].defineNumber("temperature", "Temperature", minimum, maximum, 0.0, 1);
}

// ---- Temperature -------------------------------------------------------------------------

struct TemperatureEffect : Effect {
    static constexpr const char* kTitle = "Ravo Temperature";
    static constexpr const char* kDescription = "Color temperature adjustment";
    static constexpr uint32_t kEffectFlags = kColorTemperatureFlags;

    Parameter params[kTemperatureParameterCount];

    static void define(TemperatureEffect& effect) { defineTemperatureParameters(effect.params); }
    static bool isActive(TemperatureEffect& effect, const fx::Plugin::RenderInfo& info);
    static void render(TemperatureEffect& effect, const fx::Plugin::RenderInfo& info);
};

bool TemperatureEffect::isActive(TemperatureEffect& effect, const fx::Plugin::RenderInfo&) {
    if (effect.listValue(kTemperatureView) == kViewOriginal) return false;
    return effect.numberValue(kTemperature) != 0.0 || effect.numberValue(kCyanMagenta) != 0.0 ||
           effect.numberValue(kBrightness) != 0.0;
}

// The sliders are half-scale: 100 moves a channel by half of full scale.
template <class Sample>
void shiftTemperature(Image& image, const PixelRect& rect, double temperature, double cyanMagenta,
                      double brightness) {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    const double t = temperature * 0.005;
    const double m = cyanMagenta * 0.005;
    const double b = brightness * 0.005;

    std::vector<Sample> levels;
    if (b != 0.0) {
        levels.resize(Traits::tableSize);
        for (int32_t i = 0; i < Traits::tableSize; ++i)
            levels[i] = clampSample<Sample>(truncToInt(toneAdjust(double(i) / one, b, 0.0, 0.0) * one + 0.5));
    }
    const int64_t warm = truncToInt64(t * one);
    const int64_t magenta = truncToInt64(m * -one);
    const int64_t blueLift = truncToInt64(std::fabs(m) * one);

    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            p[0] = clampSample<Sample>(int64_t(p[0]) - warm - magenta);
            p[1] = clampSample<Sample>(int64_t(p[1]) + magenta);
            p[2] = clampSample<Sample>(int64_t(p[2]) + warm + blueLift);
            if (!levels.empty()) {
                p[0] = levels[p[0]];
                p[1] = levels[p[1]];
                p[2] = levels[p[2]];
            }
        }
    }
}

// Temperature checks View itself: "Original" leaves the copy of the source.
void TemperatureEffect::render(TemperatureEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(
        effect, info,
        {kTemperatureInput, effect.listValue(kTemperatureView) == kViewOriginal, OutputStart::CopyOfSource});
    if (!area) return;
    const double temperature = effect.numberValue(kTemperature);
    const double cyanMagenta = effect.numberValue(kCyanMagenta);
    const double brightness = effect.numberValue(kBrightness);
    withSampleType(*area->output, [&]<class Sample>() {
        shiftTemperature<Sample>(*area->output, area->rect, temperature, cyanMagenta, brightness);
    });
}

// ---- Warm/Cool and Fluorescent -----------------------------------------------------------

// Active unless View is "Original" or the slider is 0. Their renders leave the View check
// to this query: the tile loop and the preview pass the source through when it says no.
bool shiftIsActive(const Effect& effect) {
    return effect.listValue(kShiftView) != kViewOriginal && effect.numberValue(kShiftTemperature) != 0.0;
}

struct WarmCoolEffect : Effect {
    static constexpr const char* kTitle = "Ravo Warm/Cool";
    static constexpr const char* kDescription = "Adjusts the color temperature.";
    static constexpr uint32_t kEffectFlags = kColorTemperatureFlags;

    Parameter params[kShiftParameterCount];

    static void define(WarmCoolEffect& effect) { defineShiftParameters(effect.params, -50.0, 50.0); }
    static bool isActive(WarmCoolEffect& effect, const fx::Plugin::RenderInfo&) { return shiftIsActive(effect); }
    static void render(WarmCoolEffect& effect, const fx::Plugin::RenderInfo& info);
};

// k = trunc(temperature x 0.01 x one): blue up and red down by k, the warm/cool shift.
void WarmCoolEffect::render(WarmCoolEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(effect, info, {kShiftBackground, false, OutputStart::CopyOfSource});
    if (!area) return;
    warmCoolShift(*area->output, area->rect, effect.numberValue(kShiftTemperature) * 0.01);
}

struct FluorescentEffect : Effect {
    static constexpr const char* kTitle = "Ravo Fluorescent";
    static constexpr const char* kDescription =
        "Removes greenish tone caused by photographing under fluorescent lights.";
    static constexpr uint32_t kEffectFlags = kColorTemperatureFlags;

    Parameter params[kShiftParameterCount];

    static void define(FluorescentEffect& effect) { defineShiftParameters(effect.params, 0.0, 20.0); }
    static bool isActive(FluorescentEffect& effect, const fx::Plugin::RenderInfo&) { return shiftIsActive(effect); }
    static void render(FluorescentEffect& effect, const fx::Plugin::RenderInfo& info);
};

// f is a 32-bit float, so k and the (1 + f) scaling are single-precision products.
template <class Sample>
void removeGreenCast(Image& image, const PixelRect& rect, double temperature) {
    constexpr int32_t one = SampleTraits<Sample>::full;
    const float f = float(temperature * 0.01);
    const int64_t k = truncToInt64(f * float(one));
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* p = image.pixel<Sample>(rect.left, y);
        for (int32_t x = rect.left; x < rect.right; ++x, p += 4) {
            const int64_t blue = int64_t(p[2]) + k;
            int64_t green = int64_t(p[1]) - k;
            if (green < 0) green = 0;
            const int64_t red = p[0];
            p[2] = clampSample<Sample>(blue + truncToInt64(float(blue) * f));
            p[1] = clampSample<Sample>(green + truncToInt64(float(green) * f));
            p[0] = clampSample<Sample>(red + truncToInt64(float(red) * f));
        }
    }
}

void FluorescentEffect::render(FluorescentEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(effect, info, {kShiftBackground, false, OutputStart::CopyOfSource});
    if (!area) return;
    const double temperature = effect.numberValue(kShiftTemperature);
    withSampleType(*area->output, [&]<class Sample>() {
        removeGreenCast<Sample>(*area->output, area->rect, temperature);
    });
}

}  // namespace

const EffectClass& temperatureClass() { return effectClassOf<TemperatureEffect>(); }
const EffectClass& warmCoolClass() { return effectClassOf<WarmCoolEffect>(); }
const EffectClass& fluorescentClass() { return effectClassOf<FluorescentEffect>(); }
