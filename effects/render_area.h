// Where a render starts: the effect's source image and the rectangle it draws.
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"

struct RenderArea {
    ImagePtr source;
    // The render rectangle within the output and the source; empty when there is nothing to
    // draw: no source or output, or a source of another layout than the output.
    PixelRect rect;

    // Red, green, blue and alpha, the layout the colour effects work on.
    bool isRgba() const { return source && source->channels == 4; }
};

// The source held by input record `input` and the rectangle to draw. Source and output must
// have the same channels and the same sample size of 1 or 2 bytes.
RenderArea renderArea(const Effect& effect, uint32_t input, const fx::Plugin::RenderInfo& info);

// Copies the area of the source into the output, unless they are the same pixels.
void copySource(const RenderArea& area, Image& output);
