// The glow and mist looks and Faux Film through the stand-in host: a render in 16 x 16 tiles equals a render
// in one tile, on photographs at 8 and 16 bits, with and without transparency, at the defaults
// and with blurs that reach far (the matte blur and the glow blur add up).
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "tests/e2e/strip_check.h"
#include "tests/support/glow_family_members.h"

namespace {

using namespace test_support;

using Member = test_support::GlowLookKeys;

// The seven looks and Faux Film, whose grain belongs to the picture, not to the tile.
std::vector<Member> allMembers() {
    std::vector<Member> members(std::begin(kGlowLooks), std::end(kGlowLooks));
    members.push_back(kFauxFilm);
    return members;
}

// The settings of one case in a member's keys.
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

Settings settingsOf(const Member& m, const Look& look) {
    Settings s = {{"glowMode", look.mode}, {m.blend, look.blend}, {m.brightness, look.brightness},
                  {m.blurH, look.blurH},   {m.blurV, look.blurV}, {"matteBlur", look.matteBlur},
                  {"view", look.view}};
    if (m.gang) s.push_back({m.gang, std::string(look.blurH) == look.blurV ? "on" : "off"});
    return s;
}

// Every member, every look, every document: strips give the bytes of one tile.
void expectStripsEqualOneTile(const Look* looks, size_t lookCount, const std::vector<Document>& sources) {
    for (const Member& m : allMembers())
        for (size_t i = 0; i < lookCount; ++i)
            for (const Document& source : sources) {
                const Look& look = looks[i];
                SCOPED_TRACE(std::string(m.key) + ", " + look.what + ", " + source.name);
                const Settings settings = settingsOf(m, look);
                const editor::Picture strips =
                    runInTiles(source.picture, m.key, settings, kSmallTile, BufferCheck::AllReleased);
                const editor::Picture oneTile = runInTiles(source.picture, m.key, settings, kOneTile);
                EXPECT_NE(oneTile.data, source.picture.data);
                EXPECT_EQ(largestDifference(strips, oneTile), 0u);
            }
}

TEST(GlowFamilyStrips, DefaultsAndChainedBlurs) {
    const Look looks[] = {
        {"defaults", "Spread", "Screen", "75", "30", "30", "0"},
        {"matte blur then glow blur, subtle, add", "Subtle", "ADD", "250", "41", "41", "27"},
        {"spread, blurs apart", "Spread", "Screen", "400", "12.5", "57", "18.25"},
        {"matte view", "Spread", "Screen", "0", "30", "30", "35", "Matte"},
    };
    const auto sources = documents(
        {{"coffee.png", 8}, {"coffee.png", 16}, {"astronaut.png", 8, true}, {"astronaut.png", 16, true}},
        alphaRampWithBand);
    expectStripsEqualOneTile(looks, std::size(looks), sources);
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

// Blurs larger than the picture: every tile reads all of it, and the blurs run out at its
// edges. A cropped photograph keeps the number of full-picture renders small.
TEST(GlowFamilyStrips, LargestBlurs) {
    const Look looks[] = {
        {"largest, spread, screen", "Spread", "Screen", "120", "500", "500", "200"},
        {"largest, subtle, add", "Subtle", "ADD", "120", "500", "500", "200"},
        {"largest, apart, spread, add", "Spread", "ADD", "300", "500", "7", "200"},
    };
    std::vector<Document> sources;
    for (const Document& whole : documents({{"chelsea.png", 8, true}, {"chelsea.png", 16, true}}, alphaRampWithBand))
        sources.push_back(cropped(whole, 150, 100));
    expectStripsEqualOneTile(looks, std::size(looks), sources);
}

}  // namespace
