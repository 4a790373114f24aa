// Black and White, Infra-Red and Bleach Bypass rendered by the stand-in host in 16 x 16 tiles
// (whole-width strips of 16 rows for Infra-Red, which needs margins) and in one tile give the
// same picture: the margins Infra-Red asks for cover everything its matte and glow blurs read,
// and the last strip, whose block is taller than what is read, renders like the others. Real
// photographs at 8 and 16 bits, with and without transparency.
#include <gtest/gtest.h>

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
using editor::FilterHost;
using editor::HostOptions;
using editor::Picture;

using Settings = std::vector<std::pair<std::string, std::string>>;

struct StripCase {
    const char* name;
    const char* key;
    Settings settings;
};

const StripCase kCases[] = {
    {"black and white", "BlackAndWhite", {}},
    {"black and white orange", "BlackAndWhite", {{"filter", "Orange"}, {"brightness", "20"}, {"gamma", "-35"}}},
    {"bleach bypass", "BleachBypass", {}},
    {"bleach bypass mixed", "BleachBypass", {{"amount", "65"}, {"saturation", "-40"}, {"contrast", "35"}}},
    {"infra-red", "InfraRed", {}},
    // Vertically the matte blur (2 x 13) and the glow blur (2 x 32) add up to a margin of 90.
    {"infra-red wide", "InfraRed",
     {{"glowBlurGang", "off"}, {"glowBlurH", "11.5"}, {"glowBlurV", "64"}, {"matteBlur", "25"}, {"mattePosition", "70"},
      {"glowMode", "Subtle"}, {"glowBlend", "ADD"}, {"glowBrightness", "250"}, {"contrast", "20"}}},
};

Picture render(const Picture& source, const StripCase& c, int32_t tileHeight, int32_t tileWidth) {
    Picture picture = source;
    HostOptions options;
    options.tileHeight = tileHeight;
    options.tileWidth = tileWidth;
    FilterHost host(picture, options);
    auto& plugin = sharedPlugin();
    EXPECT_EQ(host.replay(plugin.entryFor(c.key), blockWith(plugin, c.key, c.settings)), 0) << c.name;
    return picture;
}

uint32_t largestDifference(const Picture& a, const Picture& b) {
    uint32_t largest = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            for (int channel = 0; channel < a.channels; ++channel)
                largest = std::max(largest, uint32_t(std::abs(int32_t(sample(a, x, y, channel)) -
                                                              int32_t(sample(b, x, y, channel)))));
    return largest;
}

// The photograph with an alpha channel that varies across it.
Picture withTransparency(const Picture& picture) {
    Picture result = Picture::blank(picture.width, picture.height, 4, picture.depth);
    const uint32_t full = picture.depth == 16 ? editor::kHostFullScale16 : 255;
    const uint32_t span = uint32_t(picture.width + 2 * picture.height);
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            for (int channel = 0; channel < 4; ++channel) {
                const uint32_t value = channel < 3 ? sample(picture, x, y, channel) : uint32_t(x + 2 * y) * full / span;
                const size_t offset = (size_t(y) * picture.width + x) * 4 + channel;
                if (picture.depth == 16)
                    result.samples16()[offset] = uint16_t(value);
                else
                    result.data[offset] = uint8_t(value);
            }
    return result;
}

std::vector<std::pair<std::string, Picture>> photographs() {
    std::vector<std::pair<std::string, Picture>> pictures;
    for (const char* name : {"coffee.png", "astronaut.png"}) {
        const Picture picture = editor::readPicture((sourceDir() / "samples" / name).string());
        pictures.emplace_back(std::string(name) + " 8-bit", picture);
        pictures.emplace_back(std::string(name) + " 16-bit", editor::convertDepth(picture, 16));
    }
    const Picture coffee = editor::readPicture((sourceDir() / "samples" / "coffee.png").string());
    pictures.emplace_back("coffee.png with alpha 8-bit", withTransparency(coffee));
    pictures.emplace_back("coffee.png with alpha 16-bit", withTransparency(editor::convertDepth(coffee, 16)));
    return pictures;
}

TEST(MonochromeStrips, SmallTilesEqualOneTile) {
    const auto pictures = photographs();
    for (const StripCase& c : kCases)
        for (const auto& [name, picture] : pictures) {
            const Picture tiled = render(picture, c, 16, 16);
            const Picture whole = render(picture, c, 4096, 4096);
            EXPECT_EQ(largestDifference(tiled, whole), 0u) << c.name << " on " << name;
            EXPECT_GT(largestDifference(whole, picture), 0u) << c.name << " on " << name << " changed nothing";
        }
}

}  // namespace
