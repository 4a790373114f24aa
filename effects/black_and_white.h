// The colour-filter list of the monochrome looks (Black and White, Infra-Red, Night Vision):
// key "filter", items "Normal", "Red", "Green", "Blue", "Yellow", "Orange" in the order of
// the conversion to grey (imaging/black_and_white_convert.h). The label and the default
// differ from effect to effect.
#pragma once

#include <cstdint>

#include "fx/parameter.h"

void defineBlackAndWhiteFilter(Parameter& parameter, const char* label, uint32_t defaultIndex);
