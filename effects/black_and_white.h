// The records the monochrome looks (Black and White, Infra-Red, Night Vision) share.
//
// The colour-filter list: key "filter", items "Normal", "Red", "Green", "Blue", "Yellow",
// "Orange" in the order of the conversion to grey (imaging/black_and_white_convert.h). The
// label and the default differ from effect to effect.
//
// The tone group, the sliders of a tone table (effects/tone_table.h):
//   begin       "density" "Color Correct" GroupBegin, open
//   brightness  "brightness" "Brightness" -100..100, percent
//   contrast    "contrast" "Contrast" -100..100, percent
//   gamma       "gamma" "Gamma" -100..100, percent
//   end         GroupEnd
#pragma once

#include <cstdint>

#include "fx/parameter.h"

void defineBlackAndWhiteFilter(Parameter& parameter, const char* label, uint32_t defaultIndex);

// Offsets of the tone group's records from its begin record.
namespace ToneGroup {
constexpr uint32_t kBrightness = 1;
constexpr uint32_t kContrast = 2;
constexpr uint32_t kGamma = 3;
constexpr uint32_t kEnd = 4;
}  // namespace ToneGroup

// Writes the tone group from record `group` on; the three sliders get numberFlags.
void defineToneGroup(Parameter* params, uint32_t group, uint16_t numberFlags);
