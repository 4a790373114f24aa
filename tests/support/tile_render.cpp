#include "tests/support/tile_render.h"

#include "host/tile_plan.h"

ImagePtr blockImageOf(const editor::Picture& picture) {
    const uint32_t bytes = uint32_t(picture.bytesPerChannel());
    ImagePtr image = ImagePtr::make({picture.width, picture.height}, 4, bytes);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            for (int c = 0; c < 4; ++c) {
                uint32_t value = 0;
                if (c < picture.channels) {
                    const size_t at = (size_t(y) * size_t(picture.width) + size_t(x)) * size_t(picture.channels) + size_t(c);
                    value = picture.depth == 16 ? picture.samples16()[at] : picture.data[at];
                }
                setSample(*image, x, y, uint32_t(c), value);
            }
    return image;
}

editor::Picture withTransparency(const editor::Picture& picture) {
    editor::Picture out = editor::Picture::blank(picture.width, picture.height, 4, picture.depth);
    const uint32_t full = picture.depth == 16 ? editor::kHostFullScale16 : 255;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const int32_t dx = x - picture.width / 2, dy = y - picture.height / 2;
            const uint32_t alpha = dx * dx + dy * dy < 50 * 50 ? 0 : full * uint32_t(x) / uint32_t(picture.width);
            for (int c = 0; c < 4; ++c) {
                const size_t from = (size_t(y) * size_t(picture.width) + size_t(x)) * 3 + size_t(c);
                const size_t to = (size_t(y) * size_t(picture.width) + size_t(x)) * 4 + size_t(c);
                if (picture.depth == 16)
                    out.samples16()[to] = c < 3 ? picture.samples16()[from] : uint16_t(alpha);
                else
                    out.data[to] = c < 3 ? picture.data[from] : uint8_t(alpha);
            }
        }
    return out;
}

ImagePtr renderInTiles(EffectHarness& harness, const Image& picture, int32_t tileHeight, int32_t tileWidth) {
    const PixelRect whole{0, 0, picture.height, picture.width};
    const PixelRect hostTile{0, 0, tileHeight, tileWidth};
    const TilePlan plan = planTiles(whole, {picture.width, picture.height}, hostTile,
                                    harness.requiredSource(hostTile, picture.width, picture.height));
    ImagePtr result = picture.clone();
    ImagePtr block = ImagePtr::make({plan.blockWidth, plan.blockHeight}, 4, picture.bytesPerChannel);
    for (int32_t row = 0; row < plan.rows; ++row)
        for (int32_t column = 0; column < plan.columns; ++column) {
            const PixelRect output = plan.outputRect(row, column);
            const PixelRect source = plan.sourceRect(output);
            for (int32_t y = source.top; y < source.bottom; ++y)
                for (int32_t x = source.left; x < source.right; ++x)
                    for (uint32_t c = 0; c < 4; ++c)
                        setSample(*block, x - source.left, y - source.top, c, sampleAt(picture, x, y, c));
            const ImagePtr rendered = harness.renderTile(*block, source, output, picture.width, picture.height);
            for (int32_t y = output.top; y < output.bottom; ++y)
                for (int32_t x = output.left; x < output.right; ++x)
                    for (uint32_t c = 0; c < 4; ++c)
                        setSample(*result, x, y, c, sampleAt(*rendered, x - source.left, y - source.top, c));
        }
    return result;
}
