// Color Correct, Ozone and Selective Color through the plug-in file on real photographs: a run in narrow
// 16 x 16 tiles gives exactly what a run in one tile gives, at 8 and 16 bits and with
// transparency.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "editor/filter_host.h"
#include "editor/picture_file.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
using editor::FilterHost;
using editor::HostOptions;
using editor::Picture;

using Settings = std::vector<std::pair<std::string, std::string>>;

struct StripCase {
    const char* name;
    const char* key;
    Settings settings;
    bool changesThePicture;
};

const StripCase kCases[] = {
    {"ColorCorrect defaults", "ColorCorrect", {}, false},
    {"ColorCorrect zones and master",
     "ColorCorrect",
     {{"ccShadR", "60"}, {"ccMidBri", "30"}, {"ccMidGam", "-20"}, {"ccHighB", "-40"}, {"ccContrast", "15"},
      {"ccMasterG", "10"}, {"ccTintAmount", "10"}},
     true},
    {"ColorCorrect hue", "ColorCorrect", {{"ccMasterHue", "40"}, {"ccMasterSat", "-30"}, {"ccShadB", "50"}}, true},
    {"ColorCorrect midtone view", "ColorCorrect", {{"view", "Midtones"}}, true},
    {"Ozone defaults", "Ozone", {}, false},
    {"Ozone three zones",
     "Ozone",
     {{"bri2", "30"}, {"grn2", "50"}, {"con5", "40"}, {"red5", "-60"}, {"gam8", "30"}, {"blu8", "120"}},
     true},
    {"Ozone hue measure", "Ozone", {{"use", "Hue"}, {"red3", "150"}, {"gam6", "-40"}}, true},
    {"Ozone zone view", "Ozone", {{"use", "Saturation"}, {"view", "Zone 7"}}, true},
    {"SelectiveColor defaults", "SelectiveColor", {}, false},
    {"SelectiveColor midtones grey",
     "SelectiveColor",
     {{"saturation", "-100"}, {"position", "50"}, {"range", "60"}, {"matteAdjust", "2.5"}, {"matteBlurX", "9"}},
     true},
    {"SelectiveColor hue matte",
     "SelectiveColor",
     {{"hue", "-70"}, {"ccContrast", "20"}, {"ccMasterB", "-30"}, {"warmCool", "15"}, {"extractOn", "Hue"},
      {"position", "10"}, {"range", "30"}, {"clipBlack", "20"}, {"matteBlurX", "3"}, {"matteBlurY", "14"},
      {"matteBlurGang", "off"}, {"invert", "on"}},
     true},
    {"SelectiveColor matte view", "SelectiveColor", {{"view", "Matte"}, {"extractOn", "Red"}, {"matteAdjust", "-3"}},
     true},
};

// The sample with an alpha ramp and a transparent corner, as a document with transparency.
Picture withTransparency(const Picture& rgb) {
    Picture rgba = Picture::blank(rgb.width, rgb.height, 4, rgb.depth);
    const uint32_t full = rgb.depth == 16 ? 32768 : 255;
    for (int32_t y = 0; y < rgb.height; ++y)
        for (int32_t x = 0; x < rgb.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                const uint32_t value = c < 3 ? sample(rgb, x, y, c)
                                       : (x < 40 && y < 40) ? 0
                                                            : uint32_t(x + y) * full / uint32_t(rgb.width + rgb.height);
                const size_t i = (size_t(y) * size_t(rgb.width) + size_t(x)) * 4 + size_t(c);
                if (rgb.depth == 16)
                    rgba.samples16()[i] = uint16_t(value);
                else
                    rgba.data[i] = uint8_t(value);
            }
        }
    return rgba;
}

struct Document {
    std::string name;
    Picture picture;
};

std::vector<Document> documents() {
    const Picture coffee = editor::readPicture((sourceDir() / "samples" / "coffee.png").string());
    const Picture astronaut = editor::readPicture((sourceDir() / "samples" / "astronaut.png").string());
    return {{"coffee 8", coffee},
            {"astronaut 16", editor::convertDepth(astronaut, 16)},
            {"coffee 16", editor::convertDepth(coffee, 16)},
            {"astronaut with alpha 8", withTransparency(astronaut)},
            {"coffee with alpha 16", withTransparency(editor::convertDepth(coffee, 16))}};
}

Picture run(const Picture& document, const StripCase& c, int32_t tile) {
    Picture picture = document;
    HostOptions options;
    options.tileHeight = tile;
    options.tileWidth = tile;
    FilterHost host(picture, options);
    auto& plugin = sharedPlugin();
    EXPECT_EQ(host.replay(plugin.entryFor(c.key), blockWith(plugin, c.key, c.settings)), 0) << c.name;
    return picture;
}

uint32_t largestDifference(const Picture& a, const Picture& b) {
    uint32_t worst = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            for (int c = 0; c < a.channels; ++c)
                worst = std::max(worst, uint32_t(std::abs(int32_t(sample(a, x, y, c)) - int32_t(sample(b, x, y, c)))));
    return worst;
}

TEST(ColorCorrectStrips, NarrowTilesMatchOneTile) {
    for (const Document& document : documents())
        for (const StripCase& c : kCases) {
            SCOPED_TRACE(document.name + ", " + c.name);
            const Picture strips = run(document.picture, c, 16);
            const Picture whole = run(document.picture, c, 4096);
            EXPECT_EQ(largestDifference(strips, whole), 0u);
            EXPECT_EQ(strips.data != document.picture.data, c.changesThePicture);
        }
}

}  // namespace
