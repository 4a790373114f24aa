// Low Contrast and Matte Generator through the stand-in host: a render in 16-row strips equals
// a render in one tile, on photographs at 8 and 16 bits, with and without transparency.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "editor/filter_host.h"
#include "editor/picture.h"
#include "editor/picture_file.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
using Settings = std::vector<std::pair<std::string, std::string>>;

editor::Picture samplePicture(const char* name, int depth) {
    return editor::convertDepth(editor::readPicture((sourceDir() / "samples" / name).string()), depth);
}

// The picture with a transparency ramp from left to right and a clear disc in the middle.
editor::Picture withTransparency(const editor::Picture& picture) {
    editor::Picture out = editor::Picture::blank(picture.width, picture.height, 4, picture.depth);
    const uint32_t full = picture.depth == 16 ? editor::kHostFullScale16 : 255;
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x) {
            const int32_t dx = x - picture.width / 2, dy = y - picture.height / 2;
            const uint32_t alpha = dx * dx + dy * dy < 50 * 50 ? 0 : full * uint32_t(x) / uint32_t(picture.width);
            for (int c = 0; c < 4; ++c) {
                const uint32_t value = c < 3 ? sample(picture, x, y, c) : alpha;
                const size_t at = (size_t(y) * size_t(picture.width) + size_t(x)) * 4 + size_t(c);
                if (picture.depth == 16)
                    out.samples16()[at] = uint16_t(value);
                else
                    out.data[at] = uint8_t(value);
            }
        }
    return out;
}

editor::Picture rendered(const editor::Picture& picture, const std::string& key, const Settings& settings,
                         int32_t tileHeight, int32_t tileWidth) {
    editor::Picture copy = picture;
    editor::HostOptions options;
    options.tileHeight = tileHeight;
    options.tileWidth = tileWidth;
    editor::FilterHost host(copy, options);
    auto& plugin = sharedPlugin();
    EXPECT_EQ(host.replay(plugin.entryFor(key), blockWith(plugin, key, settings)), 0) << key;
    EXPECT_EQ(host.liveBuffers(), 0u);
    return copy;
}

uint32_t largestDifference(const editor::Picture& a, const editor::Picture& b) {
    uint32_t largest = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            for (int c = 0; c < a.channels; ++c)
                largest = std::max(largest, uint32_t(std::abs(int32_t(sample(a, x, y, c)) - int32_t(sample(b, x, y, c)))));
    return largest;
}

struct StripCase {
    const char* key;
    const char* what;
    Settings settings;
};

TEST(LowContrastMatteStrips, StripsEqualOneTile) {
    const StripCase cases[] = {
        {"LowContrast", "defaults", {}},
        {"LowContrast", "blurred matte, more light",
         {{"matteBlur", "30"}, {"lightSpread", "45"}, {"lightBrightness", "300"}, {"shadowBrightness", "20"}}},
        {"LowContrast", "spread view", {{"view", "Spread"}, {"matteBlur", "9"}, {"lightSpread", "61"}}},
        {"MatteGenerator", "defaults", {}},
        {"MatteGenerator", "grown and blurred", {{"matteAdjust", "4"}, {"matteBlurX", "25"}}},
        {"MatteGenerator", "shrunk, blurs apart",
         {{"matteAdjust", "-2.5"}, {"matteBlurGang", "off"}, {"matteBlurX", "7"}, {"matteBlurY", "31"},
          {"extractOn", "Saturation"}, {"range", "60"}}},
    };
    struct Source {
        const char* what;
        editor::Picture picture;
    };
    const Source sources[] = {
        {"coffee 8-bit", samplePicture("coffee.png", 8)},
        {"coffee 16-bit", samplePicture("coffee.png", 16)},
        {"astronaut 8-bit with transparency", withTransparency(samplePicture("astronaut.png", 8))},
        {"astronaut 16-bit with transparency", withTransparency(samplePicture("astronaut.png", 16))},
    };
    for (const StripCase& c : cases)
        for (const Source& source : sources) {
            SCOPED_TRACE(std::string(c.key) + ", " + c.what + ", " + source.what);
            const editor::Picture strips = rendered(source.picture, c.key, c.settings, 16, 16);
            const editor::Picture oneTile = rendered(source.picture, c.key, c.settings, 4096, 4096);
            EXPECT_NE(oneTile.data, source.picture.data);
            const uint32_t difference = largestDifference(strips, oneTile);
            RecordProperty(std::string(c.key) + " " + c.what + " " + source.what, int(difference));
            EXPECT_EQ(difference, 0u);
        }
}

}  // namespace
