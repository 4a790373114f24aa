// Color Correct: a master group (hue, saturation, brightness, contrast, gamma, red,
// green, blue and a flash towards a colour) and three tonal zones (shadows, midtones,
// highlights), each with its own position and range on the luma axis and its own
// brightness, contrast, gamma and channel offsets. The work is done by the effect's
// ColorCorrectEngine: tables made at the prepare step, a few look-ups per pixel.
//
// View: "Output" the corrected picture, "Shadows" / "Midtones" / "Highlights" the weight
// of that zone as a grey mask, "Original" the source.
#include <cstdint>
#include <span>

#include "effects/color_correct_engine.h"
#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"

namespace {

constexpr uint32_t kInput = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kMaster = 2;
constexpr uint32_t kMasterHue = 3;
constexpr uint32_t kMasterSat = 4;
constexpr uint32_t kBrightness = 5;
constexpr uint32_t kContrast = 6;
constexpr uint32_t kGamma = 7;
constexpr uint32_t kMasterR = 8;
constexpr uint32_t kMasterG = 9;
constexpr uint32_t kMasterB = 10;
constexpr uint32_t kTintAmount = 11;
constexpr uint32_t kTintColor = 12;
constexpr uint32_t kMasterEnd = 13;
constexpr uint32_t kShad = 14;  // then Position, Range, Brightness, Contrast, Gamma, Red, Green, Blue
constexpr uint32_t kShadEnd = 23;
constexpr uint32_t kMid = 24;
constexpr uint32_t kMidEnd = 33;
constexpr uint32_t kHigh = 34;
constexpr uint32_t kHighEnd = 43;
constexpr uint32_t kParameterCount = 44;

// The engine reads the records from the master group on.
static_assert(kParameterCount - kMaster == color_correct_span::kCount);
static_assert(kMasterHue - kMaster == color_correct_span::kHue &&
              kMasterSat - kMaster == color_correct_span::kSaturation);
static_assert(kBrightness - kMaster == color_correct_span::kBrightness &&
              kMasterR - kMaster == color_correct_span::kRed);
static_assert(kTintAmount - kMaster == color_correct_span::kFlashAmount &&
              kTintColor - kMaster == color_correct_span::kFlashColor);
static_assert(kShad + 1 - kMaster == color_correct_span::kZoneFirst[kShadowZone] &&
              kMid + 1 - kMaster == color_correct_span::kZoneFirst[kMidtoneZone] &&
              kHigh + 1 - kMaster == color_correct_span::kZoneFirst[kHighlightZone]);

constexpr const char* kViewItems[] = {"Output", "Shadows", "Midtones", "Highlights", "Original"};
constexpr uint32_t kViewOutput = 0;
constexpr uint32_t kViewShadows = 1;
constexpr uint32_t kViewHighlights = 3;
constexpr uint32_t kViewOriginal = 4;

constexpr uint32_t kColorCorrectFlags = EffectFlag::Standard | EffectFlag::PixelLocal;

// Record flag bits of the groups and the channel sliders: data only.
constexpr uint16_t kGroupMark = 0x0100;
constexpr uint16_t kRedMark = 0x0100;
constexpr uint16_t kGreenMark = 0x0200;
constexpr uint16_t kBlueMark = 0x0400;

// ---- Definition ----------------------------------------------------------------------------

struct ZoneKeys {
    const char* group;
    const char* label;
    const char* position;
    const char* range;
    const char* brightness;
    const char* contrast;
    const char* gamma;
    const char* red;
    const char* green;
    const char* blue;
    double positionDefault;
    double rangeDefault;
};

constexpr ZoneKeys kZoneKeys[kColorZoneCount] = {
    {"ccShad", "Shadows", "ccShadPos", "ccShadRange", "ccShadBri", "ccShadCon", "ccShadGam", "ccShadR", "ccShadG",
     "ccShadB", 0.0, 80.0},
    {"ccMid", "Midtones", "ccMidPos", "ccMidRange", "ccMidBri", "ccMidCon", "ccMidGam", "ccMidR", "ccMidG", "ccMidB",
     50.0, 40.0},
    {"ccHigh", "Highlights", "ccHighPos", "ccHighRange", "ccHighBri", "ccHighCon", "ccHighGam", "ccHighR", "ccHighG",
     "ccHighB", 100.0, 80.0},
};

// A zone group: the group record at first, its eight sliders, its end record.
void defineZone(Parameter* p, const ZoneKeys& keys) {
    p[0].defineGroupBegin(keys.group, keys.label, true);
    p[0].addFlags(kGroupMark);
    p[1].defineNumber(keys.position, "Position", 0.0, 100.0, keys.positionDefault);
    p[2].defineNumber(keys.range, "Range", 0.0, 100.0, keys.rangeDefault);
    p[3].defineNumber(keys.brightness, "Brightness", -100.0, 100.0, 0.0);
    p[4].defineNumber(keys.contrast, "Contrast", -100.0, 100.0, 0.0);
    p[5].defineNumber(keys.gamma, "Gamma", -100.0, 100.0, 0.0);
    p[6].defineNumber(keys.red, "Red", -100.0, 100.0, 0.0);
    p[6].addFlags(kRedMark);
    p[7].defineNumber(keys.green, "Green", -100.0, 100.0, 0.0);
    p[7].addFlags(kGreenMark);
    p[8].defineNumber(keys.blue, "Blue", -100.0, 100.0, 0.0);
    p[8].addFlags(kBlueMark);
    p[9].defineGroupEnd();
}

void defineColorCorrect(Parameter* p) {
    p[kInput].defineInput("input", "Input", 0);
    p[kView].defineList("view", "View", kViewItems, std::size(kViewItems), kViewOutput);
    p[kMaster].defineGroupBegin("ccMaster", "Master", true);
    p[kMaster].addFlags(kGroupMark);
    p[kMasterHue].defineNumber("ccMasterHue", "Hue", -360.0, 360.0, 0.0);
    p[kMasterSat].defineNumber("ccMasterSat", "Saturation", -100.0, 100.0, 0.0);
    p[kMasterSat].addFlags(ParameterFlag::Percent);
    p[kBrightness].defineNumber("ccBrightness", "Brightness", -100.0, 100.0, 0.0);
    p[kContrast].defineNumber("ccContrast", "Contrast", -100.0, 100.0, 0.0);
    p[kGamma].defineNumber("ccGamma", "Gamma", -100.0, 100.0, 0.0);
    p[kMasterR].defineNumber("ccMasterR", "Red", -100.0, 100.0, 0.0);
    p[kMasterR].addFlags(kRedMark);
    p[kMasterG].defineNumber("ccMasterG", "Green", -100.0, 100.0, 0.0);
    p[kMasterG].addFlags(kGreenMark);
    p[kMasterB].defineNumber("ccMasterB", "Blue", -100.0, 100.0, 0.0);
    p[kMasterB].addFlags(kBlueMark);
    p[kTintAmount].defineNumber("ccTintAmount", "Flash Amount", 0.0, 100.0, 0.0);
    p[kTintAmount].addFlags(ParameterFlag::Percent);
    p[kTintColor].defineColor("ccTintColor", "Flash Color", 1.0, 1.0, 1.0);
    p[kMasterEnd].defineGroupEnd();
    defineZone(p + kShad, kZoneKeys[kShadowZone]);
    defineZone(p + kMid, kZoneKeys[kMidtoneZone]);
    defineZone(p + kHigh, kZoneKeys[kHighlightZone]);
    static_assert(kShadEnd == kShad + 9 && kMidEnd == kMid + 9 && kHighEnd == kHigh + 9 &&
                  kHighEnd + 1 == kParameterCount);
}

// ---- Class table and hooks -------------------------------------------------------------------

struct ColorCorrectEffect : Effect {
    static constexpr const char* kTitle = "Ravo Color Correct";
    static constexpr const char* kDescription = "Color correction";
    static constexpr uint32_t kEffectFlags = kColorCorrectFlags;

    Parameter params[kParameterCount];
    ColorCorrectEngine engine;
    // The View item read at the last prepare.
    uint32_t view = kViewOutput;

    std::span<const Parameter, color_correct_span::kCount> engineParameters() const {
        return std::span<const Parameter, color_correct_span::kCount>(params + kMaster, color_correct_span::kCount);
    }

    static void define(ColorCorrectEffect& effect) { defineColorCorrect(effect.params); }
    static bool isActive(ColorCorrectEffect& effect, const fx::Plugin::RenderInfo& info);
    static void beginRender(ColorCorrectEffect& effect, const fx::Plugin::RenderInfo& info);
    static void render(ColorCorrectEffect& effect, const fx::Plugin::RenderInfo& info);
};

bool isZoneView(uint32_t view) { return view >= kViewShadows && view <= kViewHighlights; }

bool ColorCorrectEffect::isActive(ColorCorrectEffect& effect, const fx::Plugin::RenderInfo&) {
    if (effect.view == kViewOriginal) return false;
    return effect.engine.active() || isZoneView(effect.view);
}

void ColorCorrectEffect::beginRender(ColorCorrectEffect& effect, const fx::Plugin::RenderInfo& info) {
    effect.engine.update(effect.engineParameters(), info.is16);
    effect.view = effect.listValue(kView);
}

// ---- Render --------------------------------------------------------------------------------

template <class Sample>
void renderRows(ColorCorrectEffect& effect, const Image& source, Image& output, const PixelRect& rect) {
    const int32_t count = rect.width();
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* s = source.pixel<Sample>(rect.left, y);
        Sample* d = output.pixel<Sample>(rect.left, y);
        if (isZoneView(effect.view))
            effect.engine.zoneViewRow(s, d, count, effect.view - kViewShadows);
        else
            effect.engine.renderRow(s, d, count);
    }
}

void ColorCorrectEffect::render(ColorCorrectEffect& effect, const fx::Plugin::RenderInfo& info) {
    // The View item is the one read at the prepare step.
    const auto area = startRender(effect, info, {kInput, effect.view == kViewOriginal, OutputStart::AsGiven});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    const bool is16 = output->is16();
    // Normally made at the prepare step; a render of the other depth, or one after a
    // prepare that ran out of memory, makes them here (and may itself run out).
    if (!effect.engine.readyFor(is16)) effect.engine.update(effect.engineParameters(), is16);
    withSampleType(is16, [&]<class Sample>() { renderRows<Sample>(effect, *source, *output, rect); });
}

}  // namespace

const EffectClass& colorCorrectClass() { return effectClassOf<ColorCorrectEffect>(); }
