// Where every render starts: the effect's source, the output and the rectangle to draw, and
// the cases in which the picture only passes through.
#pragma once

#include <cstdint>
#include <optional>

#include "fx/effect.h"
#include "fx/render_info.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"
#include "imaging/source_margin.h"

struct RenderArea {
    ImagePtr source;
    Image* output = nullptr;
    // The render rectangle, within both the output and the source.
    PixelRect rect;

    // Copies the rect of the source into the output, unless they are the same pixels.
    void copySource() const;
};

// What the output holds when the render proper begins.
enum class OutputStart {
    // A copy of the source over the rect, which the render changes in place.
    CopyOfSource,
    // What the caller gave: the render writes every pixel of the rect itself.
    AsGiven,
};

struct RenderStart {
    // The Input record that holds the source.
    uint32_t input;
    // The View list shows the source as it is.
    bool showsOriginal;
    OutputStart output;
};

// The start of a render. Nothing is left to draw when there is no source or output, when the
// two differ in channels or in sample size (1 or 2 bytes), or when the rectangle is empty. A
// picture that is not red, green, blue and alpha, and any picture while the View list shows
// the original, passes through: the source is copied into the output and nothing is left to
// draw. Otherwise the area to draw, the output already a copy of the source when asked for.
std::optional<RenderArea> startRender(const Effect& effect, const fx::Plugin::RenderInfo& info,
                                      const RenderStart& start);

// Where rect of a tile loop's block lies on the picture: the block is the tile's output
// rectangle grown by the margin the effect asked for, clipped at the picture's top and left.
PixelRect pictureRect(const PixelRect& rect, const SourceMargin& margin, const fx::Plugin::RenderInfo& info);
