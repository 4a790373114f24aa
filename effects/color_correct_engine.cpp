#include "effects/color_correct_engine.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "imaging/color.h"
#include "imaging/luma.h"
#include "imaging/sample_dispatch.h"
#include "imaging/tone_curve.h"

// ---- Table builders ------------------------------------------------------------------------

template <class Sample>
void buildToneTable(Sample* table, double brightness, double contrast, double gamma) {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    if (brightness == 0.0 && contrast == 0.0 && gamma == 0.0) {
        for (int32_t i = 0; i < Traits::tableSize; ++i) table[i] = Sample(i);
        return;
    }
    for (int32_t i = 0; i < Traits::tableSize; ++i)
        table[i] = clampSample<Sample>(
            truncToInt(toneAdjust(double(i) / one, brightness, contrast, gamma) * one + 0.5));
}

ZoneWindow zoneWindow(double position, double range) {
    return {{position - range, position - range / 2.0, position, position + range / 2.0, position + range}};
}

ZoneWindow zoneWindow(float position, float range) {
    const float points[] = {position - range, position - range / 2.0f, position, position + range / 2.0f,
                            position + range};
    return {{points[0], points[1], points[2], points[3], points[4]}};
}

template <class Sample>
void buildZoneWeightTable(Sample* table, const ZoneWindow& window) {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    const double heights[] = {0.0, 0.2, 1.0, 0.2, 0.0};
    CurvePoint points[5];
    for (size_t i = 0; i < std::size(points); ++i) points[i] = {window.points[i], heights[i]};
    ToneCurve curve(points, std::size(points));
    const double step = 1.0 / one;
    for (int32_t i = 0; i < Traits::tableSize; ++i)
        table[i] = clampSample<Sample>(truncToInt(curve.evaluate(i * step) * one));
}

template <class Sample>
void buildChannelTable(Sample* table, float brightness, float contrast, float gamma, float amount) {
    buildToneTable(table, brightness, contrast, gamma);
    if (amount == 0.0f) return;
    // amount is a 32-bit float, so the product and the sum stay in single precision.
    for (int32_t i = 0; i < SampleTraits<Sample>::tableSize; ++i)
        table[i] = clampSample<Sample>(truncToInt(float(i) * amount + float(table[i])));
}

template <class Sample>
void applyFlash(Sample* table, float amount, float level) {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    if (!(amount > 0.0f)) return;
    // The sliders keep t and a within 0..one; the limits only guard values read from elsewhere.
    const int64_t t = std::clamp<int64_t>(truncToInt(amount * float(one)), 0, one);
    const int64_t a = std::clamp<int64_t>(truncToInt(level * float(one)), 0, one);
    for (int32_t i = 0; i < Traits::tableSize; ++i)
        table[i] = Sample((int64_t(table[i]) * (one - t) + t * a) / one);
}

template void buildToneTable<uint8_t>(uint8_t*, double, double, double);
template void buildToneTable<uint16_t>(uint16_t*, double, double, double);
template void buildZoneWeightTable<uint8_t>(uint8_t*, const ZoneWindow&);
template void buildZoneWeightTable<uint16_t>(uint16_t*, const ZoneWindow&);
template void buildChannelTable<uint8_t>(uint8_t*, float, float, float, float);
template void buildChannelTable<uint16_t>(uint16_t*, float, float, float, float);
template void applyFlash<uint8_t>(uint8_t*, float, float);
template void applyFlash<uint16_t>(uint16_t*, float, float);

// ---- Process-wide default zone weights -----------------------------------------------------

namespace {

// Static storage: these tables cannot fail to exist, which is what a fallback needs.
template <class Sample>
struct DefaultZoneWeights {
    Sample tables[kColorZoneCount][SampleTraits<Sample>::tableSize];

    DefaultZoneWeights() {
        ToneCurve curves[kColorZoneCount] = {ToneCurve::shadows(), ToneCurve::midtones(), ToneCurve::highlights()};
        constexpr int32_t one = SampleTraits<Sample>::full;
        const double step = 1.0 / one;
        for (uint32_t zone = 0; zone < kColorZoneCount; ++zone)
            for (int32_t i = 0; i < SampleTraits<Sample>::tableSize; ++i)
                tables[zone][i] = clampSample<Sample>(truncToInt(curves[zone].evaluate(i * step) * one));
    }
};

}  // namespace

template <class Sample>
const Sample* defaultZoneWeightTable(uint32_t zone) {
    static const DefaultZoneWeights<Sample> weights;
    return weights.tables[std::min(zone, kColorZoneCount - 1)];
}

template const uint8_t* defaultZoneWeightTable<uint8_t>(uint32_t);
template const uint16_t* defaultZoneWeightTable<uint16_t>(uint32_t);

// ---- Settings ------------------------------------------------------------------------------

bool ColorZoneSettings::adjusts() const {
    return brightness != 0.0f || contrast != 0.0f || gamma != 0.0f || red != 0.0f || green != 0.0f || blue != 0.0f;
}

// A fraction is the slider value times 0.01 (a product, not a division by 100: the two can
// differ in the last bit), taken in double and stored as a 32-bit float.
ColorCorrectSettings readColorCorrectSettings(std::span<const Parameter, color_correct_span::kCount> p) {
    namespace span = color_correct_span;
    auto fraction = [&](uint32_t i) { return float(p[i].number * 0.01); };
    ColorCorrectSettings s;
    s.masterBrightness = fraction(span::kBrightness);
    s.masterContrast = fraction(span::kContrast);
    s.masterGamma = fraction(span::kGamma);
    for (uint32_t c = 0; c < 3; ++c) s.masterRgb[c] = fraction(span::kRed + c);
    for (uint32_t z = 0; z < kColorZoneCount; ++z) {
        const uint32_t first = span::kZoneFirst[z];
        ColorZoneSettings& zone = s.zones[z];
        zone.position = fraction(first + 0);
        zone.range = fraction(first + 1);
        zone.brightness = fraction(first + 2);
        zone.contrast = fraction(first + 3);
        zone.gamma = fraction(first + 4);
        zone.red = fraction(first + 5);
        zone.green = fraction(first + 6);
        zone.blue = fraction(first + 7);
    }
    s.flashAmount = fraction(span::kFlashAmount);
    const RGBValue& flash = p[span::kFlashColor].color;
    s.flashColor[0] = float(flash.red);
    s.flashColor[1] = float(flash.green);
    s.flashColor[2] = float(flash.blue);
    s.hue = float(p[span::kHue].number);
    s.saturation = float(p[span::kSaturation].number);
    return s;
}

// ---- Engine --------------------------------------------------------------------------------

ColorCorrectEngine::ColorCorrectEngine(fx::MemoryHandler& memory)
    : memory_(&memory),
      channelLut8_{OwnedTable<uint8_t>(memory), OwnedTable<uint8_t>(memory), OwnedTable<uint8_t>(memory)},
      channelLut16_{OwnedTable<uint16_t>(memory), OwnedTable<uint16_t>(memory), OwnedTable<uint16_t>(memory)},
      zoneWeight8_{OwnedTable<uint8_t>(memory), OwnedTable<uint8_t>(memory), OwnedTable<uint8_t>(memory)},
      zoneWeight16_{OwnedTable<uint16_t>(memory), OwnedTable<uint16_t>(memory), OwnedTable<uint16_t>(memory)},
      zoneMix_{OwnedTable<int32_t>(memory), OwnedTable<int32_t>(memory), OwnedTable<int32_t>(memory)} {}

template <class Sample>
OwnedTable<Sample>* ColorCorrectEngine::channelLuts() {
    if constexpr (std::is_same_v<Sample, uint8_t>)
        return channelLut8_;
    else
        return channelLut16_;
}

template <class Sample>
const Sample* ColorCorrectEngine::channelLut(uint32_t channel) const {
    return const_cast<ColorCorrectEngine*>(this)->channelLuts<Sample>()[channel].data() + SampleTraits<Sample>::full;
}

template <class Sample>
OwnedTable<Sample>* ColorCorrectEngine::zoneWeights() {
    if constexpr (std::is_same_v<Sample, uint8_t>)
        return zoneWeight8_;
    else
        return zoneWeight16_;
}

bool ColorCorrectEngine::update(std::span<const Parameter, color_correct_span::kCount> p, bool is16) {
    return update(readColorCorrectSettings(p), is16);
}

bool ColorCorrectEngine::update(const ColorCorrectSettings& next, bool is16) {
    ColorCorrectSettings& s = settings_;
    bool changed = false;
    active_ = false;

    // Master tone.
    if (next.masterBrightness != s.masterBrightness || next.masterContrast != s.masterContrast ||
        next.masterGamma != s.masterGamma) {
        s.masterBrightness = next.masterBrightness;
        s.masterContrast = next.masterContrast;
        s.masterGamma = next.masterGamma;
        changed = true;
    }
    if (s.masterBrightness != 0.0f || s.masterContrast != 0.0f || s.masterGamma != 0.0f) active_ = true;

    // Master red, green, blue.
    for (uint32_t c = 0; c < 3; ++c) {
        if (next.masterRgb[c] != s.masterRgb[c]) {
            s.masterRgb[c] = next.masterRgb[c];
            changed = true;
        }
        if (s.masterRgb[c] != 0.0f) active_ = true;
    }

    // Depth: a switch (or the first build) remakes every table.
    if (is16 != lastDepth_ || zoneMix_[0].empty()) {
        std::fill(std::begin(zoneDirty_), std::end(zoneDirty_), true);
        changed = true;
    }
    lastDepth_ = is16;

    // Zones: only a new position or range remakes the zone's weights.
    for (uint32_t z = 0; z < kColorZoneCount; ++z) {
        const ColorZoneSettings& zone = next.zones[z];
        if (zone != s.zones[z]) {
            if (zone.position != s.zones[z].position || zone.range != s.zones[z].range) zoneDirty_[z] = true;
            s.zones[z] = zone;
            changed = true;
        }
        if (s.zones[z].adjusts()) active_ = true;
    }

    // Flash.
    if (next.flashAmount != s.flashAmount) {
        s.flashAmount = next.flashAmount;
        changed = true;
    }
    if (s.flashAmount > 0.0f) active_ = true;
    for (uint32_t c = 0; c < 3; ++c)
        if (next.flashColor[c] != s.flashColor[c]) {
            s.flashColor[c] = next.flashColor[c];
            changed = true;
        }

    // Hue and saturation.
    if (next.hue != s.hue || next.saturation != s.saturation) {
        s.hue = next.hue;
        s.saturation = next.saturation;
        changed = true;
    }
    if (s.hue != 0.0f || s.saturation != 0.0f) active_ = true;

    if (!changed && tablesBuilt_) return false;

    channelOnly_ = s.hue == 0.0f && s.saturation == 0.0f &&
                   std::none_of(std::begin(s.zones), std::end(s.zones),
                                [](const ColorZoneSettings& zone) { return zone.adjusts(); });

    // Until every table is made, a render must not use any of them.
    tablesBuilt_ = false;
    withSampleType(is16, [&]<class Sample>() { buildTables<Sample>(); });
    tablesBuilt_ = true;
    return true;
}

template <class Sample>
void ColorCorrectEngine::buildTables() {
    using Traits = SampleTraits<Sample>;
    for (OwnedTable<int32_t>& mix : zoneMix_) mix.resize(Traits::tableSize);

    constexpr int32_t one = Traits::full;
    OwnedTable<Sample>* luts = channelLuts<Sample>();
    for (uint32_t c = 0; c < 3; ++c) {
        luts[c].resize(3 * size_t(one) + 1);
        Sample* guardBelow = luts[c].data();
        Sample* table = guardBelow + one;
        buildChannelTable(table, settings_.masterBrightness, settings_.masterContrast, settings_.masterGamma,
                          settings_.masterRgb[c]);
        applyFlash(table, settings_.flashAmount, settings_.flashColor[c]);
        std::fill(guardBelow, table, table[0]);
        std::fill(table + one + 1, table + 2 * one + 1, table[one]);
    }
    if (!channelOnly_) buildZoneMix<Sample>();
}

// mix_c[i] = trunc(x x sum over zones of w_z x (d_z + k_zc)). x is the 32-bit float
// i x (1/one); d_z = (D_z[i] - i) / one has no declared precision and is a double, so each
// term and the sum are doubles (the float fractions k widen). The sum runs highlights,
// midtones, shadows for red and blue and shadows, highlights, midtones for green.
template <class Sample>
void ColorCorrectEngine::buildZoneMix() {
    using Traits = SampleTraits<Sample>;
    constexpr int32_t one = Traits::full;
    const Sample* weights[kColorZoneCount];
    for (uint32_t z = 0; z < kColorZoneCount; ++z) weights[z] = zoneWeightTable<Sample>(z);

    OwnedTable<Sample> tones[kColorZoneCount] = {OwnedTable<Sample>(*memory_), OwnedTable<Sample>(*memory_),
                                                 OwnedTable<Sample>(*memory_)};
    for (uint32_t z = 0; z < kColorZoneCount; ++z) {
        const ColorZoneSettings& zone = settings_.zones[z];
        tones[z].resize(Traits::tableSize);
        buildToneTable(tones[z].data(), zone.brightness, zone.contrast, zone.gamma);
    }

    const ColorZoneSettings& shadows = settings_.zones[kShadowZone];
    const ColorZoneSettings& midtones = settings_.zones[kMidtoneZone];
    const ColorZoneSettings& highlights = settings_.zones[kHighlightZone];
    int32_t* mixRed = zoneMix_[0].data();
    int32_t* mixGreen = zoneMix_[1].data();
    int32_t* mixBlue = zoneMix_[2].data();
    // A mix beyond -one..one drives every channel to 0 or one just as -one or one does, so
    // the mix is kept within them and the shifted level stays inside the guarded table.
    auto saturate = [](double mix) { return std::clamp<int32_t>(truncToInt(mix), -Traits::full, Traits::full); };
    const float step = 1.0f / float(one);
    for (int32_t i = 0; i < Traits::tableSize; ++i) {
        const double x = double(float(i) * step);
        const double dS = double(int32_t(tones[kShadowZone][i]) - i) / one;
        const double dM = double(int32_t(tones[kMidtoneZone][i]) - i) / one;
        const double dH = double(int32_t(tones[kHighlightZone][i]) - i) / one;
        const double wS = weights[kShadowZone][i];
        const double wM = weights[kMidtoneZone][i];
        const double wH = weights[kHighlightZone][i];
        mixRed[i] = saturate(x * (wH * (dH + highlights.red) + wM * (dM + midtones.red) + wS * (dS + shadows.red)));
        mixGreen[i] =
            saturate(x * (wS * (dS + shadows.green) + wH * (dH + highlights.green) + wM * (dM + midtones.green)));
        mixBlue[i] =
            saturate(x * (wH * (dH + highlights.blue) + wM * (dM + midtones.blue) + wS * (dS + shadows.blue)));
    }
}

template <class Sample>
const Sample* ColorCorrectEngine::zoneWeightTable(uint32_t zone) {
    using Traits = SampleTraits<Sample>;
    if (zone >= kColorZoneCount) zone = kColorZoneCount - 1;
    OwnedTable<Sample>& table = zoneWeights<Sample>()[zone];
    const bool currentDepth = lastDepth_ == (sizeof(Sample) == 2);
    if (!zoneDirty_[zone] && currentDepth && !table.empty()) return table.data();
    try {
        table.resize(Traits::tableSize);
    } catch (const std::bad_alloc&) {
        return defaultZoneWeightTable<Sample>(zone);
    }
    buildZoneWeightTable(table.data(), zoneWindow(settings_.zones[zone].position, settings_.zones[zone].range));
    // The flag speaks for the tables of the current depth; a table of the other depth is
    // remade every time it is asked for.
    if (currentDepth) zoneDirty_[zone] = false;
    return table.data();
}

// Hue rotation and saturation of one pixel; a grey pixel (no hue) is left as it is.
// Hue and saturation are 32-bit floats: the hue is added in single precision; the
// saturation factor (1 + saturation x 0.01) is a double product.
template <class Sample>
void ColorCorrectEngine::shiftHueAndSaturation(Sample* pixel) const {
    constexpr int32_t one = SampleTraits<Sample>::full;
    const float scale = 1.0f / float(one);
    const Hsv hsv = rgbToHsv(float(pixel[0]) * scale, float(pixel[1]) * scale, float(pixel[2]) * scale);
    if (hsv.h == kNoHue) return;
    float h = hsv.h;
    float s = hsv.s;
    if (settings_.hue != 0.0f) {
        h = h + settings_.hue;
        if (h < 0.0f)
            h = h + 360.0f;
        else if (h > 360.0f)
            h = h - 360.0f;
    }
    if (settings_.saturation != 0.0f) s = float(std::clamp(s * (1.0 + settings_.saturation * 0.01), 0.0, 1.0));
    const Rgb rgb = hsvToRgb(h, s, hsv.v);
    pixel[0] = clampSample<Sample>(truncToInt(rgb.r * float(one)));
    pixel[1] = clampSample<Sample>(truncToInt(rgb.g * float(one)));
    pixel[2] = clampSample<Sample>(truncToInt(rgb.b * float(one)));
}

template <class Sample>
void ColorCorrectEngine::renderRow(const Sample* source, Sample* destination, int32_t count) const {
    if (!readyFor(sizeof(Sample) == 2)) throw std::logic_error("colour-correct tables not built for this depth");
    if (!active_) {
        std::memcpy(destination, source, size_t(count) * 4 * sizeof(Sample));
        return;
    }
    const Sample* lutRed = channelLut<Sample>(0);
    const Sample* lutGreen = channelLut<Sample>(1);
    const Sample* lutBlue = channelLut<Sample>(2);
    const Sample* s = source;
    Sample* d = destination;
    if (channelOnly_) {
        for (int32_t x = 0; x < count; ++x, s += 4, d += 4) {
            d[0] = lutRed[s[0]];
            d[1] = lutGreen[s[1]];
            d[2] = lutBlue[s[2]];
            d[3] = s[3];
        }
        return;
    }
    const int32_t* mixRed = zoneMix_[0].data();
    const int32_t* mixGreen = zoneMix_[1].data();
    const int32_t* mixBlue = zoneMix_[2].data();
    // Levels shifted by the mix fall within -one..2 one, inside the guarded channel tables,
    // whose guards repeat the first and last entries: the look-up does the clamping.
    if (settings_.hue == 0.0f && settings_.saturation == 0.0f) {
        for (int32_t x = 0; x < count; ++x, s += 4, d += 4) {
            const int32_t l = luma(s);
            d[0] = lutRed[s[0] + mixRed[l]];
            d[1] = lutGreen[s[1] + mixGreen[l]];
            d[2] = lutBlue[s[2] + mixBlue[l]];
            d[3] = s[3];
        }
        return;
    }
    for (int32_t x = 0; x < count; ++x, s += 4, d += 4) {
        Sample pixel[4] = {s[0], s[1], s[2], s[3]};
        shiftHueAndSaturation(pixel);
        const int32_t l = luma(pixel);
        d[0] = lutRed[pixel[0] + mixRed[l]];
        d[1] = lutGreen[pixel[1] + mixGreen[l]];
        d[2] = lutBlue[pixel[2] + mixBlue[l]];
        d[3] = s[3];
    }
}

template <class Sample>
void ColorCorrectEngine::zoneViewRow(const Sample* source, Sample* destination, int32_t count, uint32_t zone) {
    const Sample* weights = zoneWeightTable<Sample>(zone);
    const Sample* s = source;
    Sample* d = destination;
    for (int32_t x = 0; x < count; ++x, s += 4, d += 4) {
        const Sample w = weights[luma(s)];
        d[0] = w;
        d[1] = w;
        d[2] = w;
        d[3] = s[3];
    }
}

template const uint8_t* ColorCorrectEngine::zoneWeightTable<uint8_t>(uint32_t);
template const uint16_t* ColorCorrectEngine::zoneWeightTable<uint16_t>(uint32_t);
template void ColorCorrectEngine::renderRow<uint8_t>(const uint8_t*, uint8_t*, int32_t) const;
template void ColorCorrectEngine::renderRow<uint16_t>(const uint16_t*, uint16_t*, int32_t) const;
template void ColorCorrectEngine::zoneViewRow<uint8_t>(const uint8_t*, uint8_t*, int32_t, uint32_t);
template void ColorCorrectEngine::zoneViewRow<uint16_t>(const uint16_t*, uint16_t*, int32_t, uint32_t);
