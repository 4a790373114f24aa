// The margins a render reads around its output area, at the render's scale and with its
// blur passes: what the requiredSource hooks grow their rectangles by. Sizes are pixels at
// full image size. Effects combine these (imaging/source_margin.h); none computes a margin of
// its own.
#pragma once

#include "fx/blur_pair.h"
#include "fx/render_info.h"
#include "imaging/matte_extractor.h"
#include "imaging/source_margin.h"

// A blur of these sizes in this render: each size scaled, every pass of the render's blurs
// counted, and never less than the scaled size rounded up.
SourceMargin blurMargin(const BlurSizes& sizes, const fx::Plugin::RenderInfo& info);

// A matte of these settings: its shrink or grow, then its blur (the vertical size is the
// horizontal one while the gang is on).
SourceMargin matteMargin(const MatteSettings& settings, const fx::Plugin::RenderInfo& info);

// Sizes that stand for a margin without being blurs, scaled and rounded up.
SourceMargin scaledSizeMargin(const BlurSizes& sizes, const fx::Plugin::RenderInfo& info);
