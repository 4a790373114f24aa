#include "effects/render_area.h"

#include <algorithm>

#include "imaging/pixel_utils.h"

void RenderArea::copySource() const {
    if (source && output && source->data != output->data && !rect.isEmpty()) copyRect(*source, *output, rect);
}

std::optional<RenderArea> startRender(const Effect& effect, const fx::Plugin::RenderInfo& info,
                                      const RenderStart& start) {
    RenderArea area{effect.inputImage(start.input), info.outputImage, {}};
    const Image* source = area.source.get();
    const Image* output = area.output;
    if (!source || !output || !source->data || !output->data || source->channels != output->channels ||
        source->bytesPerChannel != output->bytesPerChannel ||
        (source->bytesPerChannel != 1 && source->bytesPerChannel != 2))
        return std::nullopt;
    area.rect = info.renderRect.intersected(output->bounds).intersected(source->bounds);
    if (area.rect.isEmpty()) return std::nullopt;
    if (source->channels != 4 || start.showsOriginal) {
        area.copySource();
        return std::nullopt;
    }
    if (start.output == OutputStart::CopyOfSource) area.copySource();
    return area;
}

PixelRect pictureRect(const PixelRect& rect, const SourceMargin& margin, const fx::Plugin::RenderInfo& info) {
    const PixelRect block = margin.grow(info.outputRect);
    const int32_t left = std::max(0, block.left);
    const int32_t top = std::max(0, block.top);
    return {rect.top + top, rect.left + left, rect.bottom + top, rect.right + left};
}
