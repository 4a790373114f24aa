// The parameter group of the matte extractor: twelve records that an effect places in
// its own parameter list (Matte Generator, Selective Color, Selective Grad), and the
// operations that define them, react to the gang switch and hand their values to the
// extractor for a render.
//
// defineParameters takes the effect's array and the index of the group's first record;
// the other operations take a pointer to the group's first record and indices within it.
#pragma once

#include <cstdint>

#include "fx/parameter.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/matte_extractor.h"

// Indices of the group's records, from its first record.
namespace MatteParameter {
constexpr uint32_t kExtractOn = 0;
constexpr uint32_t kPosition = 1;
constexpr uint32_t kRange = 2;
constexpr uint32_t kClipGroup = 3;
constexpr uint32_t kClipBlack = 4;
constexpr uint32_t kClipWhite = 5;
constexpr uint32_t kClipGroupEnd = 6;
constexpr uint32_t kMatteAdjust = 7;
constexpr uint32_t kMatteBlurX = 8;
constexpr uint32_t kMatteBlurY = 9;
constexpr uint32_t kMatteBlurGang = 10;
constexpr uint32_t kInvert = 11;
constexpr uint32_t kCount = 12;
}  // namespace MatteParameter

// A list of the ten pixel measures (imaging/pixel_measure.h) labelled "Extract On".
void defineMeasureList(Parameter& record, const char* key, uint32_t defaultIndex);
// The extractor's measure list: key "extractOn", with the list mark (flag 4).
void defineExtractOnList(Parameter& record, uint32_t defaultIndex);

// Writes the twelve records at parameters[firstIndex ..]; the list, position, range, blur
// and gang records start from the extractor's current values.
void defineParameters(const MatteExtractor& extractor, Parameter* parameters, uint32_t firstIndex);

// Reacts to a change of record `index` of the group: the gang switch enables "Vertical Blur"
// exactly while it is off.
void onParameterChanged(MatteExtractor& extractor, Parameter* group, uint32_t index);

// The group's values in the extractor's units: position x 0.01, range x 0.02, clips x 0.01,
// sizes in pixels. Numbers are held to their records' ranges.
MatteSettings matteSettings(const Parameter* group);

// Hands the group's values and the render's sample size to the extractor; returns whether
// anything changed.
bool update(MatteExtractor& extractor, const Parameter* group, const fx::Plugin::RenderInfo& renderInfo);

// What a build takes from the render: the scale factors, the blur's extra passes, and the
// permission to reuse the kept matte.
MatteBuildContext matteBuildContext(const fx::Plugin::RenderInfo& renderInfo);

// The extractor's matte of source over rect for this render.
ImagePtr build(MatteExtractor& extractor, const Image& source, const PixelRect& rect,
               const fx::Plugin::RenderInfo& renderInfo);
