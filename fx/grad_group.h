// The "Grad" group of the graduated filters, Dual Tint and Polarizer: the ramp's direction, the
// four corners of the quadrilateral it is stretched over and the softness of its transition,
// and the "Tint Mode" list of the effects that tint through the ramp.
//
//   begin      "grad" "Grad" GroupBegin, open
//   enable     "gradEnable" "Enable" Boolean, false (only withEnable)
//   direction  "dir" "Direction" List of the four directions
//   corners    "ul", "ur", "lr", "ll" Points, hidden: fractions of the picture from its centre
//   size       "size" "Size" 1..199, 100 (percent of the quad the transition spans)
//   end        GroupEnd
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/source_margin.h"
#include "imaging/tint.h"

// Where an effect keeps its Grad group.
struct GradGroup {
    uint32_t begin;
    bool withEnable = false;

    constexpr uint32_t enable() const { return begin + 1; }
    constexpr uint32_t direction() const { return begin + (withEnable ? 2 : 1); }
    constexpr uint32_t upperLeft() const { return direction() + 1; }
    constexpr uint32_t upperRight() const { return direction() + 2; }
    constexpr uint32_t lowerRight() const { return direction() + 3; }
    constexpr uint32_t lowerLeft() const { return direction() + 4; }
    constexpr uint32_t size() const { return direction() + 5; }
    constexpr uint32_t end() const { return direction() + 6; }
    constexpr uint32_t count() const { return end() + 1 - begin; }
};

struct GradGroupDefaults {
    uint32_t direction = 0;
    // Bits ORed into the begin and end records (FramedGroup in most effects).
    uint16_t groupFlags = 0;
};

void defineGradGroup(Parameter* parameters, const GradGroup& group, const GradGroupDefaults& defaults);

// The group's ramp for this render: a new one-channel image of the output's size and depth
// holding the ramp over rect. The corners are placed on the picture the render sees (the
// document, or the zoomed document in a preview); the output's pixel (0, 0) lies where the
// tile loop starts its block: the top left of outputRect grown by the render's source margin,
// held inside the picture.
ImagePtr buildGroupGradient(const Effect& effect, const GradGroup& group, const Image& output, const PixelRect& rect,
                            const fx::Plugin::RenderInfo& info, const SourceMargin& margin);

// The "Tint Mode" list: items "HSV", "HLS", "Replace", default "HSV", notifying on change.
void defineTintModeList(Parameter& record, const char* key = "tintMode", const char* label = "Tint Mode");

// Where an effect keeps one tint's records.
struct TintRecords {
    // An effect without an opacity slider tints at full strength.
    static constexpr uint32_t kFullOpacity = UINT32_MAX;

    uint32_t opacity;
    uint32_t color;
    uint32_t mode;
    uint32_t highlights;
};

struct TintColor {
    double red, green, blue;
};

// The keys, colour label and defaults of one tint's records. Opacity is "Opacity" 0..100, the
// mode is the "Tint Mode" list and highlights is "highlights" "HLS Highlights" 0..100, 100 in
// every effect that tints.
struct TintRecordsDefaults {
    const char* opacityKey = "opacity";
    double opacity = 100.0;
    const char* colorKey = "tint";
    const char* colorLabel = "Tint";
    TintColor color = {0.0, 0.0, 1.0};
    const char* modeKey = "tintMode";
};

void defineTintRecords(Parameter* parameters, const TintRecords& records, const TintRecordsDefaults& defaults);

// The tint of these records for a render at this depth: the colour at the picture's depth,
// opacity and highlights as fractions of their sliders.
TintSettings tintSettings(const Effect& effect, const TintRecords& records, bool is16);

// Reacts to a change of record `index`: a change of the mode enables "HLS Highlights" exactly
// while the mode is "HLS".
void tintModeChanged(Effect& effect, const TintRecords& records, uint32_t index);
