// Low Contrast and Matte Generator rendered in the host's 16-row strips equal one render of the
// whole picture, on photographs at 8 and 16 bits, with and without transparency: their source
// margins cover everything they read around a pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/picture.h"
#include "editor/picture_file.h"
#include "tests/support/effect_harness.h"
#include "tests/support/tile_render.h"

namespace {

std::filesystem::path samplesDir() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "samples";
}

struct Setting {
    const char* key;
    double value;  // a Number, a List index or a Boolean (0 or 1)
};

struct StripCase {
    const char* name;
    const char* effect;
    std::vector<Setting> settings;
};

const StripCase kCases[] = {
    {"Low Contrast defaults", "LowContrast", {}},
    {"Low Contrast blurred matte, more light", "LowContrast",
     {{"matteBlur", 30}, {"lightSpread", 45}, {"lightBrightness", 300}, {"shadowBrightness", 20}}},
    {"Low Contrast spread view", "LowContrast", {{"view", 2}, {"matteBlur", 9}, {"lightSpread", 61}}},
    {"Matte Generator defaults", "MatteGenerator", {}},
    {"Matte Generator grown and blurred", "MatteGenerator", {{"matteAdjust", 4}, {"matteBlurX", 25}}},
    {"Matte Generator shrunk, blurs apart", "MatteGenerator",
     {{"matteAdjust", -2.5}, {"matteBlurGang", 0}, {"matteBlurX", 7}, {"matteBlurY", 31}, {"extractOn", 2},
      {"range", 60}}},
};

void apply(EffectHarness& harness, const std::vector<Setting>& settings) {
    for (const Setting& s : settings) {
        const Parameter& p = harness.effect().parameter(harness.index(s.key));
        if (p.kind == ParameterKind::List)
            harness.setList(s.key, uint32_t(s.value));
        else if (p.kind == ParameterKind::Boolean)
            harness.setBoolean(s.key, s.value != 0);
        else
            harness.setNumber(s.key, s.value);
    }
}

TEST(LowContrastMatteStrips, SixteenRowStripsEqualOneTile) {
    const editor::Picture coffee = editor::readPicture((samplesDir() / "coffee.png").string());
    const editor::Picture astronaut = editor::readPicture((samplesDir() / "astronaut.png").string());
    struct Source {
        const char* name;
        ImagePtr image;
    };
    const Source sources[] = {
        {"coffee 8-bit", blockImageOf(coffee)},
        {"coffee 16-bit", blockImageOf(editor::convertDepth(coffee, 16))},
        {"astronaut with transparency 8-bit", blockImageOf(withTransparency(astronaut))},
        {"astronaut with transparency 16-bit", blockImageOf(withTransparency(editor::convertDepth(astronaut, 16)))},
    };
    for (const StripCase& c : kCases)
        for (const Source& source : sources) {
            EffectHarness harness(c.effect);
            apply(harness, c.settings);
            const ImagePtr strips = renderInTiles(harness, *source.image, 16, 16);
            const ImagePtr whole = renderInTiles(harness, *source.image, 4096, 4096);
            EXPECT_NE(maxDifference(*whole, *source.image), 0u) << c.name << ", " << source.name;
            const uint32_t difference = maxDifference(*strips, *whole);
            RecordProperty(std::string(c.name) + ", " + source.name, int(difference));
            EXPECT_EQ(difference, 0u) << c.name << ", " << source.name;
        }
}

}  // namespace
