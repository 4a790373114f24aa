// Defocus, Fast Blur and Overexpose rendered in the host's narrow strips equal one render of
// the whole picture: their source margins cover everything they read around a pixel.
//
// The tiles are planned by the host's own tile planner from the effect's requiredSource, and
// each tile reads the original pixels of its source rectangle into a block of the planned
// size, as the tile loop does.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/picture.h"
#include "editor/picture_file.h"
#include "host/tile_plan.h"
#include "tests/support/effect_harness.h"

namespace {

std::filesystem::path samplesDir() { return std::filesystem::path(RAVO_SOURCE_DIR) / "samples"; }

// The picture as a four-channel block image; pictures without transparency read with alpha 0,
// as the host's blocks hold them.
ImagePtr toImage(const editor::Picture& picture) {
    const uint32_t bytes = uint32_t(picture.bytesPerChannel());
    ImagePtr image = ImagePtr::make({picture.width, picture.height}, 4, bytes);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            for (int c = 0; c < 4; ++c) {
                uint32_t value = 0;
                if (c < picture.channels) {
                    const size_t index = (size_t(y) * size_t(picture.width) + size_t(x)) * size_t(picture.channels) + size_t(c);
                    value = picture.depth == 16 ? picture.samples16()[index] : picture.data[index];
                }
                setSample(*image, x, y, uint32_t(c), value);
            }
    return image;
}

// A copy of the picture with a transparency ramp across it and a hole in the middle.
editor::Picture withTransparency(const editor::Picture& picture) {
    editor::Picture out = editor::Picture::blank(picture.width, picture.height, 4, picture.depth);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const int dx = x - picture.width / 2, dy = y - picture.height / 2;
            const uint32_t alpha8 = dx * dx + dy * dy < 40 * 40 ? 0 : uint32_t(255 * x / picture.width);
            for (int c = 0; c < 4; ++c) {
                const size_t from = (size_t(y) * size_t(picture.width) + size_t(x)) * 3 + size_t(c);
                const size_t to = (size_t(y) * size_t(picture.width) + size_t(x)) * 4 + size_t(c);
                if (picture.depth == 16)
                    out.samples16()[to] = c < 3 ? picture.samples16()[from] : editor::widen8To16(uint8_t(alpha8));
                else
                    out.data[to] = c < 3 ? picture.data[from] : uint8_t(alpha8);
            }
        }
    return out;
}

// Renders the whole picture through the tiles the host plans for a host tile of the given size.
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
            ImagePtr rendered = harness.renderTile(*block, source, output, picture.width, picture.height);
            for (int32_t y = output.top; y < output.bottom; ++y)
                for (int32_t x = output.left; x < output.right; ++x)
                    for (uint32_t c = 0; c < 4; ++c)
                        setSample(*result, x, y, c, sampleAt(*rendered, x - source.left, y - source.top, c));
        }
    return result;
}

struct StripCase {
    const char* name;
    const char* effect;
    std::vector<Setting> settings;
};

const StripCase kCases[] = {
    {"Fast Blur defaults", "FastBlur", {}},
    {"Fast Blur 3 x 17.5", "FastBlur", {{"blurX", 3}, {"blurY", 17.5}, {"gang", 0}}},
    {"Defocus defaults", "Defocus", {}},
    {"Defocus matte view", "Defocus", {{"view", 1}}},
    {"Defocus strong", "Defocus", {{"hblur", 35}, {"bloom", 20}, {"matteBlur", 25}, {"blend", 1}}},
    {"Overexpose 50", "Overexpose", {{"amount", 50}}},
    {"Overexpose 70 blur 7.5", "Overexpose", {{"amount", 70}, {"intensity", 300}, {"blur", 7.5}}},
};

TEST(BlurEffectsStrips, SixteenRowStripsEqualOneTile) {
    const editor::Picture coffee = editor::readPicture((samplesDir() / "coffee.png").string());
    const editor::Picture astronaut = editor::readPicture((samplesDir() / "astronaut.png").string());
    struct Source {
        const char* name;
        ImagePtr image;
    };
    const Source sources[] = {
        {"coffee 8-bit", toImage(coffee)},
        {"astronaut 16-bit", toImage(editor::convertDepth(astronaut, 16))},
        {"coffee with transparency 16-bit", toImage(withTransparency(editor::convertDepth(coffee, 16)))},
        {"astronaut with transparency 8-bit", toImage(withTransparency(astronaut))},
    };
    for (const StripCase& c : kCases)
        for (const Source& source : sources) {
            EffectHarness harness(c.effect);
            harness.apply(c.settings);
            ImagePtr strips = renderInTiles(harness, *source.image, 16, 16);
            ImagePtr whole = renderInTiles(harness, *source.image, 4096, 4096);
            EXPECT_NE(maxDifference(*whole, *source.image), 0u) << c.name << ", " << source.name;
            EXPECT_EQ(maxDifference(*strips, *whole), 0u) << c.name << ", " << source.name;
        }
}

}  // namespace
