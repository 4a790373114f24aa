// Grain, Star, Night Vision and the glow looks through the stand-in host: each works from the
// whole picture (the grain is numbered along the picture's rows, the star's diagonal cross is
// turned about the picture's centre, the glow's matte blur and glow blur add up), so a render in
// narrow 16 x 16 tiles must give exactly what one tile gives, on photographs at 8 and 16 bits with
// and without transparency. Two runs with the same settings give the same grain, and the host
// holds no buffer the plug-in allocated once a run is over.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/strip_check.h"
#include "tests/support/glow_family_members.h"

namespace {

using namespace test_support;

struct StripCase {
    std::string key, what;
    Settings settings;
    bool changesThePicture = true;
    bool largestBlurs = false;  // on a cropped photograph, which keeps the full-picture renders few
};

const StripCase kCases[] = {
    {"Grain", "defaults", {}},
    {"Grain", "largest cells", {{"grainRSize", "10"}, {"grainGSize", "10"}, {"grainBSize", "10"}}},
    {"Grain", "mixed cells, strong",
     {{"grainRSize", "7"}, {"grainGSize", "2"}, {"grainBSize", "4"}, {"grainRAmount", "100"}, {"grainGAmount", "60"},
      {"grainBAmount", "35"}}},
    {"Grain", "one channel, shifted response",
     {{"grainRSize", "3"}, {"grainRAmount", "0"}, {"grainGAmount", "0"}, {"grainBAmount", "90"}, {"grainPos", "20"},
      {"grainRange", "35"}, {"grainMin", "5"}}},
    {"Grain", "flat response", {{"grainGSize", "5"}, {"grainRange", "0"}, {"grainMin", "70"}}},
    {"Grain", "no amounts", {{"grainRAmount", "0"}, {"grainGAmount", "0"}, {"grainBAmount", "0"}}, false},
    {"Star", "defaults", {}},
    {"Star", "largest sizes", {{"StarSize", "500"}, {"matteBlur", "200"}}},
    {"Star", "odd size, wide window, coloured",
     {{"StarSize", "37.5"}, {"matteRange", "60"}, {"mattePosition", "70"}, {"StarColor", "0.9,0.4,0.2"},
      {"StarBrightness", "650"}}},
    {"Star", "stars view", {{"view", "Stars"}, {"StarSize", "23"}, {"matteBlur", "7"}}},
    {"Star", "matte view", {{"view", "Matte"}, {"matteBlur", "11"}}},
    {"NightVision", "defaults", {}},
    // The matte blur and the glow blur add up.
    {"NightVision", "largest blurs",
     {{"glowBlurH", "500"}, {"matteBlur", "200"}, {"glowMode", "Subtle"}, {"glowBlend", "ADD"},
      {"glowBrightness", "400"}}},
    {"NightVision", "blurs apart",
     {{"glowBlurGang", "off"}, {"glowBlurH", "12.5"}, {"glowBlurV", "57"}, {"matteBlur", "18.25"}}},
    {"NightVision", "finest grain, strong", {{"GrainSize", "0.5"}, {"GrainAmount", "100"}}},
    {"NightVision", "grain 2", {{"GrainSize", "2"}}},
    {"NightVision", "grain 3.7, HLS",
     {{"GrainSize", "3.7"}, {"GrainAmount", "60"}, {"tintMode", "HLS"}, {"highlights", "40"}}},
    {"NightVision", "coarsest grain, replace", {{"GrainSize", "10"}, {"tintMode", "Replace"}}},
    {"NightVision", "red, toned", {{"filter", "Red"}, {"brightness", "20"}, {"contrast", "35"}, {"gamma", "-15"}}},
    {"NightVision", "green", {{"filter", "Green"}}},
    {"NightVision", "blue", {{"filter", "Blue"}}},
    {"NightVision", "yellow", {{"filter", "Yellow"}}},
    {"NightVision", "orange, no glow", {{"filter", "Orange"}, {"glowBrightness", "0"}}},
    {"NightVision", "matte view", {{"view", "Matte"}, {"matteBlur", "35"}, {"glowBrightness", "0"}}},
};

// The settings of one glow look in a member's keys.
struct Look {
    const char* what;
    const char* mode;  // glowMode item
    const char* blend;
    const char* brightness;
    const char* blurH;
    const char* blurV;  // apart from the horizontal size: the gang goes off
    const char* matteBlur;
    const char* view = "Output";
};

const Look kLooks[] = {
    {"defaults", "Spread", "Screen", "75", "30", "30", "0"},
    {"matte blur then glow blur, subtle, add", "Subtle", "ADD", "250", "41", "41", "27"},
    {"spread, blurs apart", "Spread", "Screen", "400", "12.5", "57", "18.25"},
    {"matte view", "Spread", "Screen", "0", "30", "30", "35", "Matte"},
};

// Blurs larger than the picture: every tile reads all of it, and the blurs run out at its edges.
const Look kLargestLooks[] = {
    {"largest, spread, screen", "Spread", "Screen", "120", "500", "500", "200"},
    {"largest, subtle, add", "Subtle", "ADD", "120", "500", "500", "200"},
    {"largest, apart, spread, add", "Spread", "ADD", "300", "500", "7", "200"},
};

// The table's cases, then every look for the seven glow looks and Faux Film.
std::vector<StripCase> allCases() {
    std::vector<StripCase> cases(std::begin(kCases), std::end(kCases));
    std::vector<GlowLookKeys> members(std::begin(kGlowLooks), std::end(kGlowLooks));
    members.push_back(kFauxFilm);
    for (const GlowLookKeys& m : members) {
        auto add = [&](const Look& look, bool largest) {
            Settings s = {{"glowMode", look.mode}, {m.blend, look.blend}, {m.brightness, look.brightness},
                          {m.blurH, look.blurH},   {m.blurV, look.blurV}, {"matteBlur", look.matteBlur},
                          {"view", look.view}};
            if (m.gang) s.push_back({m.gang, std::string(look.blurH) == look.blurV ? "on" : "off"});
            cases.push_back({m.key, look.what, s, true, largest});
        };
        for (const Look& look : kLooks) add(look, false);
        for (const Look& look : kLargestLooks) add(look, true);
    }
    return cases;
}

// The top-left width x height pixels of a document.
Document cropped(const Document& document, int32_t width, int32_t height) {
    const editor::Picture& from = document.picture;
    editor::Picture picture = editor::Picture::blank(width, height, from.channels, from.depth);
    const size_t pixelBytes = size_t(from.channels) * size_t(from.depth / 8);
    for (int32_t y = 0; y < height; ++y)
        std::copy_n(from.data.begin() + ptrdiff_t(size_t(y) * size_t(from.width) * pixelBytes),
                    size_t(width) * pixelBytes, picture.data.begin() + ptrdiff_t(size_t(y) * size_t(width) * pixelBytes));
    return {document.name + " cropped", std::move(picture)};
}

TEST(WholePictureStrips, NarrowTilesMatchOneTile) {
    const auto sources = documents(
        {{"coffee.png", 8}, {"coffee.png", 16}, {"astronaut.png", 8, true}, {"astronaut.png", 16, true}},
        alphaRampWithBand);
    std::vector<Document> croppedSources;
    for (const Document& whole : documents({{"chelsea.png", 8, true}, {"chelsea.png", 16, true}}, alphaRampWithBand))
        croppedSources.push_back(cropped(whole, 150, 100));
    for (const StripCase& c : allCases())
        for (const Document& source : c.largestBlurs ? croppedSources : sources) {
            SCOPED_TRACE(c.key + ", " + c.what + ", " + source.name);
            const editor::Picture strips =
                runInTiles(source.picture, c.key, c.settings, kSmallTile, BufferCheck::AllReleased);
            const editor::Picture oneTile = runInTiles(source.picture, c.key, c.settings, kOneTile);
            EXPECT_EQ(oneTile.data != source.picture.data, c.changesThePicture);
            EXPECT_EQ(largestDifference(strips, oneTile), 0u);
            EXPECT_EQ(largestDifference(runInTiles(source.picture, c.key, c.settings, kOneTile), oneTile), 0u);
        }
}

}  // namespace
