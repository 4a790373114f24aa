// The parameter records through which effects drive the glow engine (imaging/glow.h): its
// blur pair (fx/blur_pair.h) and the two-item mode lists.
#pragma once

#include <cstdint>

#include "fx/blur_pair.h"
#include "fx/parameter.h"

// Items of the two lists; the index is the glow engine's `source` or `mode` argument.
namespace GlowModeItem {
constexpr uint32_t kSubtle = 0;  // light where the blurred matte says
constexpr uint32_t kSpread = 1;  // the picture's own lit pixels spread
}  // namespace GlowModeItem
namespace BlendItem {
constexpr uint32_t kScreen = 0;
constexpr uint32_t kAdd = 1;
}  // namespace BlendItem

// The glow-mode list: key "glowMode", label "Glow", items "Subtle", "Spread".
void defineGlowModeList(Parameter& record, uint32_t defaultIndex);
// A blend list: items "Screen", "ADD".
void defineBlendList(Parameter& record, const char* key, const char* label, uint32_t defaultIndex);
