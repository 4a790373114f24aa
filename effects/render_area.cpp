#include "effects/render_area.h"

#include "imaging/pixel_utils.h"

RenderArea renderArea(const Effect& effect, uint32_t input, const fx::Plugin::RenderInfo& info) {
    RenderArea area{effect.inputImage(input), {}};
    const Image* output = info.outputImage;
    const Image* source = area.source.get();
    if (!source || !output || !source->data || !output->data || source->channels != output->channels ||
        source->bytesPerChannel != output->bytesPerChannel ||
        (source->bytesPerChannel != 1 && source->bytesPerChannel != 2))
        return area;
    area.rect = info.renderRect.intersected(output->bounds).intersected(source->bounds);
    return area;
}

void copySource(const RenderArea& area, Image& output) {
    if (area.source && area.source->data != output.data && !area.rect.isEmpty())
        copyRect(*area.source, output, area.rect);
}
