// Ozone: a zone-system colour corrector. The tonal axis of a chosen pixel measure
// (luminance, hue, saturation, the average, a channel or a pair of channels) is covered
// by eleven overlapping zones, "Zone 0" to "Zone 10", each with its own position, range,
// brightness, contrast, gamma and red/green/blue offsets. Color Correct's zone scheme
// with eleven zones, a choice of measure and single-precision mix accumulators.
//
// View: "Output" the corrected picture; "Zone 0".."Zone 10" that zone's weight at each
// pixel's measure as an opaque grey mask.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "effects/color_correct_engine.h"
#include "effects/effect_classes.h"
#include "effects/render_area.h"
#include "effects/owned_table.h"
#include "fx/effect_class.h"
#include "fx/matte_parameters.h"
#include "imaging/color.h"
#include "imaging/luma.h"
#include "imaging/pixel_measure.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

constexpr uint32_t kZoneCount = 11;

constexpr uint32_t kInput = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kUse = 2;
// Zone z occupies the ten records from kZone + 10 z: the group, its eight sliders, the end.
constexpr uint32_t kZone = 3;
constexpr uint32_t kZoneStride = 10;
constexpr uint32_t kPos = 4;
constexpr uint32_t kRng = 5;
constexpr uint32_t kBri = 6;
constexpr uint32_t kCon = 7;
constexpr uint32_t kGam = 8;
constexpr uint32_t kRed = 9;
constexpr uint32_t kGrn = 10;
constexpr uint32_t kBlu = 11;
constexpr uint32_t kZoneEnd = 12;
constexpr uint32_t kParameterCount = kZone + kZoneStride * kZoneCount;
static_assert(kParameterCount == 113);

constexpr const char* kViewItems[] = {"Output", "Zone 0", "Zone 1", "Zone 2", "Zone 3", "Zone 4", "Zone 5",
                                      "Zone 6", "Zone 7", "Zone 8", "Zone 9", "Zone 10"};
constexpr uint32_t kViewOutput = 0;

constexpr uint32_t kOzoneFlags = EffectFlag::Standard | EffectFlag::PixelLocal;

#define RAVO_ZONE_TEXTS(prefix)                                                                         \
    {                                                                                                   \
        prefix "0", prefix "1", prefix "2", prefix "3", prefix "4", prefix "5", prefix "6", prefix "7", \
            prefix "8", prefix "9", prefix "10"                                                         \
    }
constexpr const char* kGroupKeys[kZoneCount] = RAVO_ZONE_TEXTS("zone");
constexpr const char* kGroupLabels[kZoneCount] = RAVO_ZONE_TEXTS("Zone ");
constexpr const char* kPosKeys[kZoneCount] = RAVO_ZONE_TEXTS("pos");
constexpr const char* kRngKeys[kZoneCount] = RAVO_ZONE_TEXTS("rng");
constexpr const char* kBriKeys[kZoneCount] = RAVO_ZONE_TEXTS("bri");
constexpr const char* kConKeys[kZoneCount] = RAVO_ZONE_TEXTS("con");
constexpr const char* kGamKeys[kZoneCount] = RAVO_ZONE_TEXTS("gam");
constexpr const char* kRedKeys[kZoneCount] = RAVO_ZONE_TEXTS("red");
constexpr const char* kGrnKeys[kZoneCount] = RAVO_ZONE_TEXTS("grn");
constexpr const char* kBluKeys[kZoneCount] = RAVO_ZONE_TEXTS("blu");
#undef RAVO_ZONE_TEXTS

// ---- Definition ----------------------------------------------------------------------------

void defineOzone(Parameter* p) {
    p[kInput].defineInput("input", "Input", 0);
    p[kView].defineList("view", "View", kViewItems, std::size(kViewItems), kViewOutput);
    defineMeasureList(p[kUse], "use", uint32_t(PixelMeasure::Luminance));
    for (uint32_t z = 0; z < kZoneCount; ++z) {
        Parameter* zone = p + kZoneStride * z;
        zone[kZone].defineGroupBegin(kGroupKeys[z], kGroupLabels[z], true);
        zone[kPos].defineNumber(kPosKeys[z], "Position", 0.0, 100.0, 10.0 * z);
        zone[kRng].defineNumber(kRngKeys[z], "Range", 0.0, 100.0, 30.0);
        zone[kBri].defineNumber(kBriKeys[z], "Brightness", -100.0, 100.0, 0.0);
        zone[kCon].defineNumber(kConKeys[z], "Contrast", -100.0, 100.0, 0.0);
        zone[kGam].defineNumber(kGamKeys[z], "Gamma", -100.0, 100.0, 0.0);
        zone[kRed].defineNumber(kRedKeys[z], "Red", -200.0, 200.0, 0.0);
        zone[kGrn].defineNumber(kGrnKeys[z], "Green", -200.0, 200.0, 0.0);
        zone[kBlu].defineNumber(kBluKeys[z], "Blue", -200.0, 200.0, 0.0);
        zone[kZoneEnd].defineGroupEnd();
    }
}

// ---- Zone records and their tables ---------------------------------------------------------

// One zone, every value slider x 0.01.
struct OzoneZone {
    double position = 0.0;
    double range = 0.0;
    double brightness = 0.0;
    double contrast = 0.0;
    double gamma = 0.0;
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;

    bool adjusts() const {
        return brightness != 0.0 || contrast != 0.0 || gamma != 0.0 || red != 0.0 || green != 0.0 || blue != 0.0;
    }
    friend bool operator==(const OzoneZone&, const OzoneZone&) = default;
};

// A zone's weight table for one depth, remade only when the position or range it was
// made from changes.
template <class Sample>
struct ZoneWeights {
    OwnedTable<Sample> table;
    double position = 0.0;
    double range = 0.0;

    const Sample* get(const OzoneZone& zone) {
        if (table.empty() || position != zone.position || range != zone.range) {
            table.resize(SampleTraits<Sample>::tableSize);
            buildZoneWeightTable(table.data(), zoneWindow(zone.position, zone.range));
            position = zone.position;
            range = zone.range;
        }
        return table.data();
    }
};

// The per-level amounts the zones add to red, green and blue, for the depth and zone
// records they were made from. Kept between renders; remade when either changes.
struct ZoneMix {
    OwnedTable<int32_t> channel[3];
    OzoneZone zones[kZoneCount];
    bool is16 = false;
    bool built = false;
};

struct OzoneEffect : Effect {
    static constexpr const char* kTitle = "Ravo Ozone";
    static constexpr const char* kDescription = "Color correction";
    static constexpr uint32_t kEffectFlags = kOzoneFlags;

    Parameter params[kParameterCount];
    OzoneZone zones[kZoneCount];
    ZoneWeights<uint8_t> weights8[kZoneCount];
    ZoneWeights<uint16_t> weights16[kZoneCount];
    ZoneMix mix;

    template <class Sample>
    const Sample* zoneWeights(uint32_t z) {
        if constexpr (sizeof(Sample) == 1)
            return weights8[z].get(zones[z]);
        else
            return weights16[z].get(zones[z]);
    }
    bool anyZoneAdjusts() const {
        return std::any_of(std::begin(zones), std::end(zones), [](const OzoneZone& z) { return z.adjusts(); });
    }

    static void define(OzoneEffect& effect) { defineOzone(effect.params); }
    static bool isActive(OzoneEffect& effect, const fx::Plugin::RenderInfo& info);
    static void beginRender(OzoneEffect& effect, const fx::Plugin::RenderInfo& info);
    static void render(OzoneEffect& effect, const fx::Plugin::RenderInfo& info);
};

// Each value is the slider times 0.01 (a product, not a division by 100), kept as a double.
void OzoneEffect::beginRender(OzoneEffect& effect, const fx::Plugin::RenderInfo&) {
    for (uint32_t z = 0; z < kZoneCount; ++z) {
        auto value = [&](uint32_t field) { return effect.numberValue(kZoneStride * z + field) * 0.01; };
        effect.zones[z] = {value(kPos), value(kRng), value(kBri), value(kCon),
                           value(kGam), value(kRed), value(kGrn), value(kBlu)};
    }
}

bool OzoneEffect::isActive(OzoneEffect& effect, const fx::Plugin::RenderInfo&) {
    return effect.listValue(kView) != kViewOutput || effect.anyZoneAdjusts();
}

// A_c[i] += (d + k_c) x W[i] x x over the zones that adjust, then mix_c[i] = trunc(A_c[i]).
// x and d are 32-bit floats (i and D[i] - i times the float nearest 1/one); the zone
// records are doubles, so each term is a double product, and A_c (32-bit floats) takes
// the sum of its old value and the term rounded back to single precision.
template <class Sample>
void buildZoneMix(OzoneEffect& effect) {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    constexpr int32_t levels = Traits::tableSize;
    ZoneMix& mix = effect.mix;
    const bool is16 = sizeof(Sample) == 2;
    if (mix.built && mix.is16 == is16 && std::equal(std::begin(mix.zones), std::end(mix.zones), effect.zones))
        return;
    mix.built = false;

    OwnedTable<float> accumulators[3];
    for (OwnedTable<float>& a : accumulators) {
        a.resize(levels);
        std::fill(a.data(), a.data() + levels, 0.0f);
    }
    OwnedTable<Sample> tone;
    tone.resize(levels);
    const float step = 1.0f / float(one);
    for (uint32_t z = 0; z < kZoneCount; ++z) {
        const OzoneZone& zone = effect.zones[z];
        if (!zone.adjusts()) continue;
        const Sample* weights = effect.zoneWeights<Sample>(z);
        buildToneTable(tone.data(), zone.brightness, zone.contrast, zone.gamma);
        const double k[3] = {zone.red, zone.green, zone.blue};
        for (int32_t i = 0; i < levels; ++i) {
            const float x = float(i) * step;
            const float d = float(int32_t(tone[i]) - i) * step;
            for (uint32_t c = 0; c < 3; ++c)
                accumulators[c][i] =
                    float(double(accumulators[c][i]) + (double(d) + k[c]) * double(weights[i]) * double(x));
        }
    }
    for (uint32_t c = 0; c < 3; ++c) {
        mix.channel[c].resize(levels);
        for (int32_t i = 0; i < levels; ++i) mix.channel[c][i] = truncToInt(accumulators[c][i]);
    }
    std::copy(std::begin(effect.zones), std::end(effect.zones), mix.zones);
    mix.is16 = is16;
    mix.built = true;
}

// ---- Render --------------------------------------------------------------------------------

// Each colour channel gains the mix at the pixel's measure of the source, clamped; alpha kept.
template <class Sample>
void renderOutput(OzoneEffect& effect, const Image& source, Image& output, const PixelRect& rect) {
    buildZoneMix<Sample>(effect);
    const int32_t* mixRed = effect.mix.channel[0].data();
    const int32_t* mixGreen = effect.mix.channel[1].data();
    const int32_t* mixBlue = effect.mix.channel[2].data();
    withPixelMeasure<Sample, 4, GreyHue::Zero>(effect.listValue(kUse), [&](auto measure) {
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            const Sample* s = source.pixel<Sample>(rect.left, y);
            Sample* d = output.pixel<Sample>(rect.left, y);
            for (int32_t x = rect.left; x < rect.right; ++x, s += 4, d += 4) {
                const int32_t e = measure(s);
                d[0] = clampLevel<Sample>(s[0] + mixRed[e]);
                d[1] = clampLevel<Sample>(s[1] + mixGreen[e]);
                d[2] = clampLevel<Sample>(s[2] + mixBlue[e]);
                d[3] = s[3];
            }
        }
    });
}

// The zone's weight at each pixel's measure as grey, fully opaque.
template <class Sample>
void renderZoneView(OzoneEffect& effect, uint32_t zone, const Image& source, Image& output, const PixelRect& rect) {
    constexpr Sample one = Sample(SampleTraits<Sample>::full);
    const Sample* weights = effect.zoneWeights<Sample>(zone);
    withPixelMeasure<Sample, 4, GreyHue::Zero>(effect.listValue(kUse), [&](auto measure) {
        for (int32_t y = rect.top; y < rect.bottom; ++y) {
            const Sample* s = source.pixel<Sample>(rect.left, y);
            Sample* d = output.pixel<Sample>(rect.left, y);
            for (int32_t x = rect.left; x < rect.right; ++x, s += 4, d += 4) {
                const Sample w = weights[measure(s)];
                d[0] = w;
                d[1] = w;
                d[2] = w;
                d[3] = one;
            }
        }
    });
}

template <class Sample>
void renderRows(OzoneEffect& effect, const Image& source, Image& output, const PixelRect& rect) {
    const uint32_t view = effect.listValue(kView);
    if (view > kViewOutput && view <= kZoneCount)
        renderZoneView<Sample>(effect, view - 1, source, output, rect);
    else if (effect.anyZoneAdjusts())
        renderOutput<Sample>(effect, source, output, rect);
    else
        copyRect(source, output, rect);
}

void OzoneEffect::render(OzoneEffect& effect, const fx::Plugin::RenderInfo& info) {
    const auto area = startRender(effect, info, {kInput, false, OutputStart::AsGiven});
    if (!area) return;
    const auto& [source, output, rect] = *area;
    withSampleType(*output, [&]<class Sample>() { renderRows<Sample>(effect, *source, *output, rect); });
}

}  // namespace

const EffectClass& ozoneClass() { return effectClassOf<OzoneEffect>(); }
