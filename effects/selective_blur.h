// What the effects that blur a selected part of the picture share: Selective Soft Focus,
// Skin Smoother and Center Spot.
//
// Their parameter lists begin alike: the source, the View list and a "Blur" group holding a
// blur pair (horizontal size, vertical size, gang switch; fx/blur_pair.h). The selected
// part is laid over the sharp picture by one rule: premultiply the picture by a one-channel
// mask, blur it, and composite it over.
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "fx/blur_pair.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// The records every selective blur effect starts with.
namespace SelectiveBlurParameter {
constexpr uint32_t kBackground = 0;
constexpr uint32_t kView = 1;
constexpr uint32_t kBlurGroup = 2;
constexpr uint32_t kBlurX = 3;
constexpr uint32_t kBlurY = 4;
constexpr uint32_t kGang = 5;
constexpr uint32_t kBlurGroupEnd = 6;
constexpr uint32_t kHeadCount = 7;

// "Output" is the first item of every View list.
constexpr uint32_t kViewOutput = 0;
}  // namespace SelectiveBlurParameter

// Defines records 0 to 6: "background", the View list with the given items, and the blur group
// whose two sizes run from 0 to maximum with the given default.
void defineSelectiveBlurHead(Parameter* params, const char* const* viewItems, uint32_t viewItemCount,
                             double maximum, double defaultSize);

// Active unless View is "Original", or View is "Output" and both blur sizes are 0 (the output
// is then the source).
bool selectiveBlurIsActive(const Effect& effect, uint32_t viewOriginal);

// Lays the blurred selection over the output within rect. X = source with each colour
// multiplied by mask / full and alpha = mask (the selection, premultiplied); X is blurred over
// rect with the blur sizes (pixels at full image size) as this render blurs; then
// each colour channel of the output becomes out x (full - a) / full + X, with a the blurred
// alpha of X. The output's alpha is left as it is. source, output and mask have the same size
// and sample size; source and output have four channels, mask one.
void layBlurredSelection(const Image& source, const Image& mask, Image& output, const PixelRect& rect,
                         const BlurSizes& sizes, const fx::Plugin::RenderInfo& info);
