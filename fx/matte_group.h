// The short matte group of the effects that drive the matte extractor through its setters
// rather than through its twelve records (fx/matte_parameters.h): the glow and mist looks,
// Defocus, Infra-Red, Low Contrast, Selective Soft Focus, Skin Smoother, Star, Night Vision,
// Diffusion and Light!. The group holds the position and range of the extractor's window and
// the matte blur, and in some effects the measure list first:
//
//   begin      "matte" "Matte" GroupBegin, open
//   extractOn  "extractOn" "Extract On" List of the ten measures (only withExtractOn)
//   position   "mattePosition" "Position" 0..100, percent
//   range      "matteRange" "Range" 0..100, percent (50 is a range of 1.0)
//   blur       "matteBlur" "Blur" 0..200, pixels at full image size
//   end        GroupEnd
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_rect.h"

// Where an effect keeps its matte group.
struct MatteGroup {
    uint32_t begin;
    bool withExtractOn = false;

    constexpr uint32_t extractOn() const { return begin + 1; }
    constexpr uint32_t position() const { return begin + (withExtractOn ? 2 : 1); }
    constexpr uint32_t range() const { return position() + 1; }
    constexpr uint32_t blur() const { return position() + 2; }
    constexpr uint32_t end() const { return position() + 3; }
    constexpr uint32_t count() const { return end() + 1 - begin; }
};

// The defaults of one effect's group (the blur starts at 0 in every effect).
struct MatteGroupDefaults {
    double position;
    double range;
    // Bits ORed into the begin and end records (FramedGroup in some effects).
    uint16_t groupFlags = 0;
};

void defineMatteGroup(Parameter* parameters, const MatteGroup& group, const MatteGroupDefaults& defaults);

// The group's values in the extractor's units: position / 100, range x 0.02, the blur in
// pixels for both directions; each number held to its record's range. The measure is the
// list's item, or luminance without the list.
MatteSettings matteGroupSettings(const Effect& effect, const MatteGroup& group);

// The matte of the group's settings, built from source over rect for this render by an
// extractor made for it alone (which keeps no copy of its matte).
ImagePtr buildGroupMatte(const Effect& effect, const MatteGroup& group, const Image& source, const PixelRect& rect,
                         const fx::Plugin::RenderInfo& info);
// The same through an extractor the effect keeps.
ImagePtr buildGroupMatte(MatteExtractor& extractor, const Effect& effect, const MatteGroup& group,
                         const Image& source, const PixelRect& rect, const fx::Plugin::RenderInfo& info);
