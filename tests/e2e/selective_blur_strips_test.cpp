// Selective Soft Focus, Skin Smoother and Center Spot run by the stand-in host in 16-row strips
// give the same pixels as one run in a single tile, on real photographs in 8 and 16 bits, with
// and without transparency: the margins their requiredSource hooks ask for cover everything
// their renders read.
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
using editor::FilterHost;
using editor::HostOptions;
using editor::Picture;

using Settings = std::vector<std::pair<std::string, std::string>>;

constexpr int32_t kStripHeight = 16;

Picture samplePicture(const std::string& name, int depth, bool transparent) {
    Picture picture = editor::readPicture((sourceDir() / "samples" / name).string());
    if (transparent) {
        // A varied transparency: alpha falls across the picture and rises down it.
        Picture withAlpha = Picture::blank(picture.width, picture.height, 4, picture.depth);
        for (int32_t y = 0; y < picture.height; ++y)
            for (int32_t x = 0; x < picture.width; ++x) {
                const uint8_t* in = picture.row8(y) + size_t(x) * picture.pixelBytes();
                uint8_t* out = withAlpha.row8(y) + size_t(x) * withAlpha.pixelBytes();
                std::copy(in, in + 3, out);
                out[3] = uint8_t(std::clamp(255 - x * 255 / picture.width + y * 128 / picture.height, 0, 255));
            }
        picture = std::move(withAlpha);
    }
    return editor::convertDepth(picture, depth);
}

Picture rendered(const Picture& original, const std::string& key, const Settings& settings, int32_t tile) {
    Picture picture = original;
    HostOptions options;
    options.tileHeight = options.tileWidth = tile;
    FilterHost host(picture, options);
    auto& plugin = sharedPlugin();
    EXPECT_EQ(host.replay(plugin.entryFor(key), blockWith(plugin, key, settings)), 0) << key;
    return picture;
}

uint32_t largestDifference(const Picture& a, const Picture& b) {
    uint32_t worst = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            for (int c = 0; c < a.channels; ++c)
                worst = std::max(worst, uint32_t(std::abs(int32_t(sample(a, x, y, c)) -
                                                          int32_t(sample(b, x, y, c)))));
    return worst;
}

struct StripCase {
    const char* key;
    Settings settings;
};

const StripCase kCases[] = {
    {"SelectiveFocus", {}},
    // A blurred matte under a wider blur: the two reaches add up.
    {"SelectiveFocus", {{"matteBlur", "12"}, {"blurX", "7.5"}}},
    {"SkinSmoother", {}},
    {"SkinSmoother", {{"EdgeBlur", "9"}, {"matteBlur", "5"}, {"blurX", "4.5"}}},
    {"SkinSmoother", {{"view", "Edge"}}},
    {"CenterSpot", {}},
    {"CenterSpot", {{"gang", "off"}, {"blurX", "25"}, {"blurY", "3"}, {"pos", "0.3,-0.2"}, {"size", "40"}}},
};

struct SamplePicture {
    const char* file;
    int depth;
    bool transparent;
};

const SamplePicture kPictures[] = {
    {"coffee.png", 8, false},  {"coffee.png", 16, false},   {"astronaut.png", 8, false},
    {"astronaut.png", 16, false}, {"coffee.png", 8, true}, {"astronaut.png", 16, true},
};

TEST(SelectiveBlurStrips, StripsEqualOneTile) {
    for (const SamplePicture& source : kPictures) {
        const Picture original = samplePicture(source.file, source.depth, source.transparent);
        for (const StripCase& test : kCases) {
            std::string settings;
            for (const auto& [name, value] : test.settings) settings += " " + name + "=" + value;
            SCOPED_TRACE(std::string(test.key) + settings + " on " + source.file + " " +
                         std::to_string(source.depth) + (source.transparent ? " bits with alpha" : " bits"));
            const Picture whole = rendered(original, test.key, test.settings, 4096);
            const Picture strips = rendered(original, test.key, test.settings, kStripHeight);
            EXPECT_EQ(largestDifference(whole, strips), 0u);
        }
    }
}

}  // namespace
