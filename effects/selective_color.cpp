// Selective Color: a colour correction (hue, saturation, brightness, contrast, gamma, red,
// green, blue, warm/cool) applied to a copy of the picture, which is then mixed back into the
// source through a matte from the effect's matte extractor. Only what the matte selects
// changes.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "effects/color_correct_engine.h"
#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "fx/effect_class.h"
#include "fx/matte_parameters.h"
#include "fx/render_margin.h"
#include "imaging/color.h"
#include "imaging/color_correct.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_mix.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"

namespace {

constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kColorGroup = 2;
constexpr uint32_t kHue = 3;
constexpr uint32_t kSaturation = 4;
constexpr uint32_t kBrightness = 5;
constexpr uint32_t kContrast = 6;
constexpr uint32_t kGamma = 7;
constexpr uint32_t kRed = 8;
constexpr uint32_t kGreen = 9;
constexpr uint32_t kBlue = 10;
constexpr uint32_t kWarmCool = 11;
constexpr uint32_t kColorGroupEnd = 12;
constexpr uint32_t kMatteGroupBegin = 13;
// The first record of the extractor's twelve; its records keep their group indices.
constexpr uint32_t kMatteGroup = 14;
constexpr uint32_t kMatteGroupEnd = kMatteGroup + MatteParameter::kCount;
constexpr uint32_t kParameterCount = kMatteGroupEnd + 1;
static_assert(kMatteGroupEnd == 26 && kParameterCount == 27);

constexpr const char* kViewItems[] = {"Output", "Matte", "Original"};
constexpr uint32_t kViewMatte = 1;
constexpr uint32_t kViewOriginal = 2;

constexpr uint16_t kRedMark = 0x0100;
constexpr uint16_t kGreenMark = 0x0200;
constexpr uint16_t kBlueMark = 0x0400;

constexpr uint32_t kSelectiveColorFlags = EffectFlag::Standard;

// The extractor starts from a window over the brightest tones: position 1.0, range 1.6.
constexpr float kInitialPosition = 1.0f;
constexpr float kInitialRange = 1.6f;

// The six values the channel tables are made from, fractions of the sliders.
struct ToneSettings {
    float brightness = 0.0f;
    float contrast = 0.0f;
    float gamma = 0.0f;
    float channel[3] = {0.0f, 0.0f, 0.0f};  // red, green, blue

    bool adjusts() const {
        return brightness != 0.0f || contrast != 0.0f || gamma != 0.0f || channel[0] != 0.0f ||
               channel[1] != 0.0f || channel[2] != 0.0f;
    }
    friend bool operator==(const ToneSettings&, const ToneSettings&) = default;
};

// The channel tables of one depth at a time, held inside the effect so that a render never
// waits on an allocation.
struct ChannelTables {
    uint8_t levels8[3][SampleTraits<uint8_t>::tableSize];
    uint16_t levels16[3][SampleTraits<uint16_t>::tableSize];

    template <class Sample>
    Sample* table(uint32_t channel) {
        if constexpr (sizeof(Sample) == 1)
            return levels8[channel];
        else
            return levels16[channel];
    }
    template <class Sample>
    const Sample* table(uint32_t channel) const {
        return const_cast<ChannelTables*>(this)->table<Sample>(channel);
    }
    template <class Sample>
    void build(const ToneSettings& tone) {
        for (uint32_t c = 0; c < 3; ++c)
            buildChannelTable(table<Sample>(c), tone.brightness, tone.contrast, tone.gamma, tone.channel[c]);
    }
};

struct SelectiveColorEffect : Effect {
    static constexpr const char* kTitle = "Ravo Selective Color Correct";
    static constexpr const char* kDescription = "Selectively adjust color.";
    static constexpr uint32_t kEffectFlags = kSelectiveColorFlags;

    Parameter params[kParameterCount];
    MatteExtractor matteExtractor;

    float hue = 0.0f;         // degrees
    float saturation = 0.0f;  // fraction
    float warmCool = 0.0f;    // fraction
    ToneSettings tone;
    bool hueActive = false;
    bool tablesActive = false;
    bool tablesBuilt = false;
    bool tablesAre16 = false;
    ChannelTables tables;

    static void define(SelectiveColorEffect& effect);
    static void beginRender(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info);
    static bool isActive(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info);
    static void parameterChanged(SelectiveColorEffect& effect, uint32_t index);
    static void requiredSource(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info, PixelRect& rect);
    static void render(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info);

    Parameter* matteGroup() { return params + kMatteGroup; }
    bool corrects() const { return hueActive || tablesActive || warmCool != 0.0f; }
    // Rebuilds the channel tables when the tone settings or the depth changed.
    void prepareTables(bool is16);
    float fraction(uint32_t index) const { return float(numberInRange(index) * 0.01); }
};

// ---- Definition --------------------------------------------------------------------------

void SelectiveColorEffect::define(SelectiveColorEffect& effect) {
    Parameter* p = effect.params;
    p[kBackground].defineInput("background", "Background", 0);
    p[kView].defineList("view", "View", kViewItems, uint32_t(std::size(kViewItems)), 0);
    p[kColorGroup].defineGroupBegin("cc", "Color Correct", true);
    p[kHue].defineNumber("hue", "Hue", -360.0, 360.0, 0.0);
    p[kSaturation].defineNumber("saturation", "Saturation", -100.0, 100.0, 0.0);
    p[kBrightness].defineNumber("ccBrightness", "Brightness", -100.0, 100.0, 0.0);
    p[kContrast].defineNumber("ccContrast", "Contrast", -100.0, 100.0, 0.0);
    p[kGamma].defineNumber("ccGamma", "Gamma", -100.0, 100.0, 0.0);
    p[kRed].defineNumber("ccMasterR", "Red", -100.0, 100.0, 0.0);
    p[kRed].addFlags(kRedMark);
    p[kGreen].defineNumber("ccMasterG", "Green", -100.0, 100.0, 0.0);
    p[kGreen].addFlags(kGreenMark);
    p[kBlue].defineNumber("ccMasterB", "Blue", -100.0, 100.0, 0.0);
    p[kBlue].addFlags(kBlueMark);
    p[kWarmCool].defineNumber("warmCool", "Warm/Cool", -50.0, 50.0, 0.0);
    p[kColorGroupEnd].defineGroupEnd();
    p[kMatteGroupBegin].defineGroupBegin("matte", "Matte", true);
    // The group's position and range records start from the extractor's values.
    effect.matteExtractor.setPosition(kInitialPosition);
    effect.matteExtractor.setRange(kInitialRange);
    defineParameters(effect.matteExtractor, p, kMatteGroup);
    p[kMatteGroupEnd].defineGroupEnd();
}

// ---- Hooks -------------------------------------------------------------------------------

void SelectiveColorEffect::prepareTables(bool is16) {
    const ToneSettings wanted{fraction(kBrightness),
                              fraction(kContrast),
                              fraction(kGamma),
                              {fraction(kRed), fraction(kGreen), fraction(kBlue)}};
    if (!tablesBuilt || !(wanted == tone) || tablesAre16 != is16) {
        withSampleType(is16, [&]<class Sample>() { tables.build<Sample>(wanted); });
        tone = wanted;
        tablesAre16 = is16;
        tablesBuilt = true;
    }
    tablesActive = tone.adjusts();
}

void SelectiveColorEffect::beginRender(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info) {
    update(effect.matteExtractor, effect.matteGroup(), info);
    effect.hue = float(effect.numberInRange(kHue));
    effect.saturation = effect.fraction(kSaturation);
    effect.hueActive = effect.hue != 0.0f || effect.saturation != 0.0f;
    effect.warmCool = effect.fraction(kWarmCool);
    effect.prepareTables(info.is16);
}

bool SelectiveColorEffect::isActive(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo&) {
    return effect.listValue(kView) == kViewMatte || effect.corrects();
}

void SelectiveColorEffect::parameterChanged(SelectiveColorEffect& effect, uint32_t index) {
    if (index >= kMatteGroup && index < kMatteGroupEnd)
        onParameterChanged(effect.matteExtractor, effect.matteGroup(), index - kMatteGroup);
}

void SelectiveColorEffect::requiredSource(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info,
                                          PixelRect& rect) {
    rect = matteMargin(matteSettings(effect.matteGroup()), info).grow(rect);
}

// ---- Render ------------------------------------------------------------------------------

// Hue and saturation of one pixel. Levels are scaled by the single-precision 1/255 at both
// depths (the conversion does not depend on the scale) and come back as trunc(value x 255).
template <class Sample>
void shiftHueAndSaturation(Sample* pixel, float hue, float saturation) {
    constexpr float scale = 1.0f / 255.0f;
    const Hsv hsv = rgbToHsv(float(pixel[0]) * scale, float(pixel[1]) * scale, float(pixel[2]) * scale);
    float h = hsv.h;
    float s = hsv.s;
    if (h != kNoHue) {
        h = h + hue;
        if (h < 0.0f)
            h = h + 360.0f;
        else if (h > 360.0f)
            h = h - 360.0f;
        if (saturation != 0.0f) s = std::clamp(s * (1.0f + saturation), 0.0f, 1.0f);
    }
    const Rgb rgb = hsvToRgb(h, s, hsv.v);
    pixel[0] = clampSample<Sample>(truncToInt(rgb.r * 255.0f));
    pixel[1] = clampSample<Sample>(truncToInt(rgb.g * 255.0f));
    pixel[2] = clampSample<Sample>(truncToInt(rgb.b * 255.0f));
}

// The colour step on a row of count pixels: hue and saturation, the channel tables, then the
// warm/cool shift. Pixels the matte leaves out (0) show the source whatever their corrected
// value, so the costly per-pixel part skips them.
template <class Sample>
void correctRow(const SelectiveColorEffect& effect, Sample* row, const Sample* matte, int32_t count) {
    if (effect.hueActive || effect.tablesActive) {
        const Sample* red = effect.tables.table<Sample>(0);
        const Sample* green = effect.tables.table<Sample>(1);
        const Sample* blue = effect.tables.table<Sample>(2);
        Sample* pixel = row;
        for (int32_t x = 0; x < count; ++x, pixel += 4) {
            if (matte[x] == 0) continue;
            if (effect.hueActive) shiftHueAndSaturation(pixel, effect.hue, effect.saturation);
            pixel[0] = red[pixel[0]];
            pixel[1] = green[pixel[1]];
            pixel[2] = blue[pixel[2]];
        }
    }
    if (effect.warmCool != 0.0f) {
        Image view(count, 1, 4, sizeof(Sample), 0, reinterpret_cast<uint8_t*>(row));
        warmCoolShift(view, view.bounds, effect.warmCool);
    }
}

// The corrected copy is made one row at a time, so the picture is read once and no second
// picture is needed.
template <class Sample>
void renderOutput(SelectiveColorEffect& effect, const Image& source, const Image& matte, Image& output,
                  const PixelRect& rect) {
    const bool corrects = effect.corrects();
    if (corrects) effect.prepareTables(sizeof(Sample) == 2);
    const int32_t count = rect.width();
    std::vector<Sample> corrected(size_t(count) * 4);
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const Sample* sourceRow = source.pixel<Sample>(rect.left, y);
        std::copy(sourceRow, sourceRow + size_t(count) * 4, corrected.data());
        const Sample* matteRow = matte.pixel<Sample>(rect.left, y);
        if (corrects) correctRow(effect, corrected.data(), matteRow, count);
        // Where the matte is 0 the source stays, where it is full the corrected colour shows with
        // the source's alpha; between the two every channel is mixed.
        mixRow(sourceRow, corrected.data(), matteRow, output.pixel<Sample>(rect.left, y), count,
               Sample(SampleTraits<Sample>::full));
    }
}

void SelectiveColorEffect::render(SelectiveColorEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area =
        startRender(effect, info, {kBackground, effect.listValue(kView) == kViewOriginal, OutputStart::AsGiven});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    update(effect.matteExtractor, effect.matteGroup(), info);
    const ImagePtr matte = build(effect.matteExtractor, *source, rect, info);
    if (effect.listValue(kView) == kViewMatte) {
        expandGrayToRGBA(*matte, *output, rect);
        return;
    }
    withSampleType(*source, [&]<class Sample>() { renderOutput<Sample>(effect, *source, *matte, *output, rect); });
}

}  // namespace

const EffectClass& selectiveColorClass() { return effectClassOf<SelectiveColorEffect>(); }
