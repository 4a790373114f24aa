#include "tests/e2e/strip_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "editor/filter_host.h"
#include "editor/picture_file.h"
#include "tests/e2e/plugin_fixture.h"

namespace test_support {

editor::Picture withTransparency(const editor::Picture& picture, AlphaPattern alpha) {
    editor::Picture result = editor::Picture::blank(picture.width, picture.height, 4, picture.depth);
    const uint32_t full = picture.depth == 16 ? editor::kHostFullScale16 : 255;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            for (int c = 0; c < 4; ++c) {
                const uint32_t value =
                    c < 3 ? sample(picture, x, y, c) : alpha(x, y, picture.width, picture.height, full);
                const size_t at = (size_t(y) * size_t(picture.width) + size_t(x)) * 4 + size_t(c);
                if (picture.depth == 16)
                    result.samples16()[at] = uint16_t(value);
                else
                    result.data[at] = uint8_t(value);
            }
    return result;
}

editor::Picture samplePicture(const char* file, int depth) {
    return editor::convertDepth(editor::readPicture((sourceDir() / "samples" / file).string()), depth);
}

std::vector<Document> documents(std::initializer_list<DocumentRecipe> recipes, AlphaPattern alpha) {
    std::vector<Document> result;
    for (const DocumentRecipe& recipe : recipes) {
        const std::string name = std::string(recipe.file) + " " + std::to_string(recipe.depth) + "-bit";
        const editor::Picture picture = samplePicture(recipe.file, recipe.depth);
        if (recipe.transparent)
            result.push_back({name + " with transparency", withTransparency(picture, alpha)});
        else
            result.push_back({name, picture});
    }
    return result;
}

uint32_t alphaRampWithBand(int32_t x, int32_t y, int32_t /*width*/, int32_t height, uint32_t full) {
    if (y > height / 2 - 12 && y < height / 2 + 12) return 0;
    return full - full * uint32_t(y) / uint32_t(height) / 2 - uint32_t(x % 3);
}

editor::Picture runInTiles(const editor::Picture& document, const std::string& key, const Settings& settings,
                           int32_t tile, BufferCheck bufferCheck) {
    editor::Picture picture = document;
    auto& plugin = sharedPlugin();
    editor::HostOptions options;
    options.tileHeight = tile;
    options.tileWidth = tile;
    // The plug-in finds its Textures folder beside its file.
    options.pluginPath = plugin.path();
    editor::FilterHost host(picture, options);
    EXPECT_EQ(host.replay(plugin.entryFor(key), blockWith(plugin, key, settings)), 0) << key << " in tiles of " << tile;
    if (bufferCheck == BufferCheck::AllReleased) {
        EXPECT_EQ(host.liveBuffers(), 0u) << key;
    }
    return picture;
}

uint32_t largestDifference(const editor::Picture& a, const editor::Picture& b) {
    uint32_t largest = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            for (int c = 0; c < a.channels; ++c)
                largest = std::max(largest,
                                   uint32_t(std::abs(int32_t(sample(a, x, y, c)) - int32_t(sample(b, x, y, c)))));
    return largest;
}

}  // namespace test_support
