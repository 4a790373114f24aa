// Colour correction by tonal zone: the table engine behind Color Correct, and the
// table builders that the other zone correctors (Ozone, Selective Color) share.
//
// Everything that depends on the settings only is baked into tables with one entry
// per input level (256 entries for 8-bit samples, 32769 for 16-bit), so that a pixel
// costs a luma, three clamped additions and three look-ups:
//
//   channel tables   per colour channel: the master tone curve (brightness, contrast,
//                    gamma), the channel's red/green/blue offset and the flash
//   zone weights     per zone (shadows, midtones, highlights): how much a luma level
//                    belongs to the zone, 0..full, from the zone's position and range
//   zone mix         per colour channel and luma level: the signed amount the zones
//                    add to the channel before its channel table (kept within -one..one,
//                    which saturates the channel as fully as any larger amount)
//
// Levels: "one" is SampleTraits<Sample>::full, 255 or 32768. Pixels are RGBA; alpha is
// always copied from the source pixel.
#pragma once

#include <cstdint>
#include <span>

#include "effects/owned_table.h"
#include "fx/memory_handler.h"
#include "fx/parameter.h"
#include "imaging/sample_traits.h"

// ---- Table builders shared by the zone correctors ----------------------------------------
// Each fills a table of SampleTraits<Sample>::tableSize entries.

// The tone table of a zone or of a master group: the identity ramp when brightness,
// contrast and gamma are all 0, else table[i] = trunc(toneAdjust(i / one, brightness,
// contrast, gamma) x one + 0.5), in double precision.
template <class Sample>
void buildToneTable(Sample* table, double brightness, double contrast, double gamma);

// Where a zone's weight window has its five points: p - r, p - r/2, p, p + r/2, p + r for a
// zone at position p with range r (fractions of full scale). Positions and ranges held as
// 32-bit floats give points computed in single precision; doubles, in double precision.
struct ZoneWindow {
    double points[5];
};
ZoneWindow zoneWindow(double position, double range);
ZoneWindow zoneWindow(float position, float range);

// The weight of a zone: the tone curve through its window's points with the heights 0, 0.2,
// 1, 0.2, 0, flat beyond its end points and clamped to 0..1, tabulated as
// trunc(curve(i x (1/one)) x one).
template <class Sample>
void buildZoneWeightTable(Sample* table, const ZoneWindow& window);

// A channel table without flash: the tone table of brightness, contrast and gamma; then,
// when amount is not 0, table[i] = clamp(trunc(i x amount + table[i])) with the product
// and the sum in single precision (amount is a 32-bit float fraction).
template <class Sample>
void buildChannelTable(Sample* table, float brightness, float contrast, float gamma, float amount);

// Pulls a channel table towards a level (the flash): with t = trunc(amount x one) and
// a = trunc(level x one), both single-precision products, every entry becomes
// (table[i] x (one - t) + t x a) / one, integer division. Nothing happens unless
// amount > 0.
template <class Sample>
void applyFlash(Sample* table, float amount, float level);

// ---- Color Correct's engine ----------------------------------------------------------------

constexpr uint32_t kShadowZone = 0;
constexpr uint32_t kMidtoneZone = 1;
constexpr uint32_t kHighlightZone = 2;
constexpr uint32_t kColorZoneCount = 3;

// The process-wide weight tables of the three zones built from the fixed shadow,
// midtone and highlight curves, made on first use and kept for the life of the process.
// An engine hands one out only when its own table for that zone cannot be allocated.
template <class Sample>
const Sample* defaultZoneWeightTable(uint32_t zone);

// One zone's settings, fractions of the sliders (slider x 0.01).
struct ColorZoneSettings {
    float position = 0.0f;
    float range = 0.0f;
    float brightness = 0.0f;
    float contrast = 0.0f;
    float gamma = 0.0f;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;

    // Brightness, contrast, gamma or a channel offset is set (position and range do not count).
    bool adjusts() const;
    friend bool operator==(const ColorZoneSettings&, const ColorZoneSettings&) = default;
};

// Everything the engine's tables are made from. Fractions are slider x 0.01; hue is
// in raw degrees and saturation the raw slider value -100..100. Default-constructed
// settings are the engine's construction values (all 0, zones at 0/0.8, 0.5/0.4, 1/0.8).
struct ColorCorrectSettings {
    float masterBrightness = 0.0f;
    float masterContrast = 0.0f;
    float masterGamma = 0.0f;
    float flashColor[3] = {0.0f, 0.0f, 0.0f};
    float flashAmount = 0.0f;
    float hue = 0.0f;
    float saturation = 0.0f;
    float masterRgb[3] = {0.0f, 0.0f, 0.0f};
    ColorZoneSettings zones[kColorZoneCount] = {
        {0.0f, 0.8f}, {0.5f, 0.4f}, {1.0f, 0.8f}};  // shadows, midtones, highlights
};

// The parameter records the engine reads, counted from the master group record: the
// offsets of the values inside that span of 42 records.
namespace color_correct_span {
constexpr uint32_t kCount = 42;
constexpr uint32_t kHue = 1;
constexpr uint32_t kSaturation = 2;
constexpr uint32_t kBrightness = 3;
constexpr uint32_t kContrast = 4;
constexpr uint32_t kGamma = 5;
constexpr uint32_t kRed = 6;  // then green, blue
constexpr uint32_t kFlashAmount = 9;
constexpr uint32_t kFlashColor = 10;
// Each zone: position, range, brightness, contrast, gamma, red, green, blue from here.
constexpr uint32_t kZoneFirst[kColorZoneCount] = {13, 23, 33};
}  // namespace color_correct_span

// Reads the settings from the 42 records that start at the master group: Numbers x 0.01
// (hue and saturation raw), the Flash Color as it stands.
ColorCorrectSettings readColorCorrectSettings(std::span<const Parameter, color_correct_span::kCount> p);

// Owns the tables of one Color Correct instance and rebuilds, at each update, only what
// the changed settings need. Tables are made for one depth at a time; switching between
// 8 and 16 bits rebuilds them all. All table memory comes from the memory handler given
// at construction; when it runs out, update raises fx::OutOfMemory and the engine stays
// consistent (the next update rebuilds everything), except that a zone weight table that
// cannot be had falls back to the process-wide default table of that zone.
//
// Use: update(settings, is16) before rendering (cheap when nothing changed), then
// renderRow or zoneViewRow per row of pixels of that depth.
class ColorCorrectEngine {
public:
    explicit ColorCorrectEngine(fx::MemoryHandler& memory = PS_MemHandler::instance());
    ColorCorrectEngine(const ColorCorrectEngine&) = delete;
    ColorCorrectEngine& operator=(const ColorCorrectEngine&) = delete;

    // The prepare step. Takes the new settings and the sample depth, rebuilds the tables
    // that depend on what changed, and returns true when anything changed (or a failed
    // build had to be repeated). Raises fx::OutOfMemory when a table cannot be allocated.
    bool update(std::span<const Parameter, color_correct_span::kCount> p, bool is16);
    bool update(const ColorCorrectSettings& settings, bool is16);

    // The settings change the image.
    bool active() const { return active_; }
    // No zone adjustment and no hue or saturation: the channel tables alone do the work.
    bool channelOnly() const { return channelOnly_; }
    // The last update succeeded for this depth, so renderRow may run.
    bool readyFor(bool is16) const { return tablesBuilt_ && lastDepth_ == is16; }
    const ColorCorrectSettings& settings() const { return settings_; }

    // The zone's weight table (0..one per luma level), rebuilt first when the zone's
    // position or range changed or the table was last made for the other depth. The
    // process-wide default table when the zone's own table cannot be allocated.
    template <class Sample>
    const Sample* zoneWeightTable(uint32_t zone);
    const uint8_t* zoneWeightTable8(uint32_t zone) { return zoneWeightTable<uint8_t>(zone); }
    const uint16_t* zoneWeightTable16(uint32_t zone) { return zoneWeightTable<uint16_t>(zone); }

    // Corrects count RGBA pixels from source into destination (distinct rows). Requires
    // readyFor(depth of Sample); raises std::logic_error otherwise.
    template <class Sample>
    void renderRow(const Sample* source, Sample* destination, int32_t count) const;
    void renderRow8(const uint8_t* source, uint8_t* destination, int32_t count) const {
        renderRow<uint8_t>(source, destination, count);
    }
    void renderRow16(const uint16_t* source, uint16_t* destination, int32_t count) const {
        renderRow<uint16_t>(source, destination, count);
    }

    // The zone's weight at the luma of each source pixel as grey, with the source alpha.
    template <class Sample>
    void zoneViewRow(const Sample* source, Sample* destination, int32_t count, uint32_t zone);
    void zoneViewRow8(const uint8_t* source, uint8_t* destination, int32_t count, uint32_t zone) {
        zoneViewRow<uint8_t>(source, destination, count, zone);
    }
    void zoneViewRow16(const uint16_t* source, uint16_t* destination, int32_t count, uint32_t zone) {
        zoneViewRow<uint16_t>(source, destination, count, zone);
    }

private:
    template <class Sample>
    OwnedTable<Sample>* channelLuts();
    // The channel table's entry for level 0; entries -one..2 one are valid (guards).
    template <class Sample>
    const Sample* channelLut(uint32_t channel) const;
    template <class Sample>
    OwnedTable<Sample>* zoneWeights();
    template <class Sample>
    void buildTables();
    template <class Sample>
    void buildZoneMix();
    template <class Sample>
    void shiftHueAndSaturation(Sample* pixel) const;

    fx::MemoryHandler* memory_;
    // Each channel table is stored between guards of one full scale below and above that
    // repeat its first and last entries, so that a level shifted by the zone mix (kept
    // within -one..one) needs no clamping before the look-up.
    OwnedTable<uint8_t> channelLut8_[3];
    OwnedTable<uint16_t> channelLut16_[3];
    OwnedTable<uint8_t> zoneWeight8_[kColorZoneCount];
    OwnedTable<uint16_t> zoneWeight16_[kColorZoneCount];
    ColorCorrectSettings settings_;
    OwnedTable<int32_t> zoneMix_[3];
    bool active_ = false;
    bool channelOnly_ = true;
    bool lastDepth_ = false;  // false: tables for 8-bit samples, true: for 16-bit
    bool zoneDirty_[kColorZoneCount] = {true, true, true};
    // Every table the last update needed was made; false until the first update and
    // after one that ran out of memory.
    bool tablesBuilt_ = false;
};

extern template const uint8_t* ColorCorrectEngine::zoneWeightTable<uint8_t>(uint32_t);
extern template const uint16_t* ColorCorrectEngine::zoneWeightTable<uint16_t>(uint32_t);
extern template void ColorCorrectEngine::renderRow<uint8_t>(const uint8_t*, uint8_t*, int32_t) const;
extern template void ColorCorrectEngine::renderRow<uint16_t>(const uint16_t*, uint16_t*, int32_t) const;
extern template void ColorCorrectEngine::zoneViewRow<uint8_t>(const uint8_t*, uint8_t*, int32_t, uint32_t);
extern template void ColorCorrectEngine::zoneViewRow<uint16_t>(const uint16_t*, uint16_t*, int32_t, uint32_t);
