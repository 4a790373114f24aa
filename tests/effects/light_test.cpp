// Light!: the shape's blend into the matte, the shape read through the displacement, the
// shadow, what a missing or unreadable pattern gives, and the dialog's enabling rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fx/host.h"
#include "imaging/shadow.h"
#include "imaging/shape_blend.h"
#include "imaging/shape_reading.h"
#include "tests/support/effect_harness.h"
#include "tests/support/encoded_files.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr const char* kKey = "Light";
constexpr uint32_t kViewShape = 2, kViewMatte = 3;
constexpr uint32_t kPattern = 21, kShapeInput = 22, kFirstShapeControl = 23, kScaleY = 43, kShapeBlurY = 26;
constexpr uint32_t kShapeControlsEnd = 51;

// The Textures folder: a temporary folder holding grey PNG patterns written by the test.
class Textures : public fx::Host {
public:
    bool resourcePath(const char*, const char*, const char* fileName, char* out) override {
        return std::snprintf(out, kPathSize, "%s", (folder / (fileName ? fileName : "")).c_str()) > 0;
    }
    // A grey 8-bit pattern whose sample at (x, y) is level(x, y).
    template <class Level>
    void add(const std::string& name, uint32_t width, uint32_t height, Level level) {
        encoded::RawPng raw;
        raw.width = width;
        raw.height = height;
        raw.colorType = PNG_COLOR_TYPE_GRAY;
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) raw.rows.push_back(uint8_t(level(x, y)));
        const std::vector<uint8_t> bytes = encoded::png(raw);
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    TempFolder folder;
};

void choosePattern(EffectHarness& harness, const char* name) {
    harness.effect().setImageFilePath(kPattern, name);
    harness.effect().effectClass->parameterChanged(&harness.effect(), kPattern);
}

// Every row of the blend table at levels where the truncations show, at both depths. Subtract
// takes the shape out of the matte (M - S'), not the matte out of the shape.
TEST(Light, ShapeBlendTable) {
    struct Case {
        ShapeBlend blend;
        double opacity;
        uint32_t bytes, matte, shape, expected;
    };
    using B = ShapeBlend;
    const Case cases[] = {
        {B::ShapeOnly, 1.0, 1, 200, 77, 77},        {B::ShapeOnly, 0.5, 1, 200, 77, 38},
        {B::Add, 1.0, 1, 100, 50, 150},             {B::Add, 0.5, 1, 200, 200, 255},
        {B::Subtract, 1.0, 1, 200, 50, 150},        {B::Subtract, 1.0, 1, 100, 150, 0},
        {B::Multiply, 0.5, 1, 200, 201, 78},        {B::Screen, 1.0, 1, 100, 100, 161},
        {B::Difference, 1.0, 1, 100, 130, 129},     {B::Darken, 0.5, 1, 90, 200, 90},
        {B::Darken, 0.5, 1, 120, 200, 99},          {B::Lighten, 0.5, 1, 90, 200, 99},
        {B::ShapeOnly, 0.5, 2, 9, 10001, 5000},     {B::Add, 1.0, 2, 30000, 5000, 32768},
        {B::Subtract, 0.3, 2, 10000, 20000, 4001},  {B::Multiply, 0.25, 2, 16384, 20000, 2500},
        {B::Screen, 1.0, 2, 16384, 16384, 24576},   {B::Difference, 1.0, 2, 16384, 16384, 16384},
        {B::Lighten, 0.3, 2, 5000, 20000, 5999},    {B::Darken, 0.0, 2, 5000, 20000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("blend " + std::to_string(uint32_t(c.blend)) + " opacity " + std::to_string(c.opacity) +
                     (c.bytes == 2 ? " 16-bit" : " 8-bit"));
        const ImagePtr matte = makeImage(3, 2, 1, c.bytes, {c.matte});
        blendShape(*matte, *makeImage(3, 2, 1, c.bytes, {c.shape}), {0, 1, 2, 3}, c.blend, c.opacity);
        EXPECT_EQ(sampleAt(*matte, 1, 1, 0), c.expected);
        EXPECT_EQ(sampleAt(*matte, 0, 1, 0), c.matte) << "outside the rect";
    }
}

// A ramp shape over a grey picture of its own width: picture pixel x reads the shape at
// x + d x shift (no shift down), d = (grey - half) / half; samples past the shape's edge count
// as 0.
TEST(Light, ShapeIsDisplacedByLuminance) {
    struct Case {
        uint32_t grey8, grey16;  // the picture's level (a grey's luminance is itself)
        double shift;            // pixels
        int32_t x;
        uint32_t expected8, expected16;  // ramp 2x at 8 bits, 300x at 16
    };
    const Case cases[] = {
        {255, 32768, 10, 20, 60, 9000},   {0, 0, 10, 20, 20, 3000},        {0, 0, 10, 5, 0, 0},
        {255, 32768, -10, 20, 20, 3000},  {255, 32768, 5.5, 20, 51, 7650}, {191, 24576, 20, 20, 59, 9000},
        {255, 32768, 10, 89, 198, 29700}, {255, 32768, 10, 90, 0, 0},      {255, 32768, 9.5, 90, 99, 14850},
        {128, 16384, 0, 37, 74, 11100},
    };
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE("grey " + std::to_string(c.grey8) + " shift " + std::to_string(c.shift) + " x " +
                         std::to_string(c.x) + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const uint32_t step = bytes == 2 ? 300 : 2, grey = bytes == 2 ? c.grey16 : c.grey8;
            const ImagePtr ramp = makeImage(100, 3, 1, bytes, {0});
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < 100; ++x) setSample(*ramp, x, y, 0, uint32_t(x) * step);
            const ImagePtr picture = makeImage(100, 3, 4, bytes, {grey, grey, grey, 0});
            const ImagePtr out = makeImage(100, 3, 1, bytes, {7});
            readShape(ramp.get(), *picture, *out, out->bounds, {0, 0, 1.0, 1.0, c.shift, 0.0});
            EXPECT_EQ(sampleAt(*out, c.x, 0, 0), bytes == 2 ? c.expected16 : c.expected8);
        }
}

TEST(Light, ShadowDarkensWhereNoLightFalls) {
    struct Case {
        uint32_t bytes, level, light;
        double strength;
        uint32_t expected;
    };
    const Case cases[] = {{1, 200, 55, 0.5, 100}, {1, 200, 255, 1.0, 200}, {1, 30, 0, 0.2, 0},
                          {1, 90, 0, 0.0, 90},    {2, 20000, 8768, 0.75, 2000}, {2, 100, 32768, 1.0, 100}};
    for (const Case& c : cases) {
        const ImagePtr image = makeImage(2, 2, 4, c.bytes, {c.level, c.level, c.level, 9});
        darkenUnlit(*image, *makeImage(2, 2, 4, c.bytes, {c.light, c.light, c.light, c.light}), image->bounds,
                    c.strength);
        EXPECT_EQ(sampleAt(*image, 1, 1, 2), c.expected) << c.level << " under " << c.light;
        EXPECT_EQ(sampleAt(*image, 1, 1, 3), 9u) << "alpha";
    }
}

// Without light and shadow the picture passes through whatever the shape and matte.
TEST(Light, NoBrightnessAndNoShadowIsTheSource) {
    Textures textures;
    textures.add("dots.png", 16, 12, [](uint32_t x, uint32_t y) { return (x * 37 + y * 91) % 256; });
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = makeHighlightPicture(bytes);
        EffectHarness harness(kKey);
        choosePattern(harness, "dots.png");
        harness.apply({{"lBrightness", 0}, {"sBrightness", 0}, {"lDisplacement", 30}, {"compositeFunc", 4}});
        EXPECT_EQ(maxDifference(*harness.render(*source), *source), 0u);
    }
}

// With the default "Add" at opacity 100, a black pattern, placed or not, adds nothing: the Matte
// view shows the extractor's matte at position 100 and range 80.
TEST(Light, BlackPatternLeavesTheMatte) {
    Textures textures;
    textures.add("black.png", 20, 20, [](uint32_t, uint32_t) { return 0; });
    for (uint32_t bytes : {1u, 2u})
        for (double rotate : {0.0, 30.0}) {
            const ImagePtr source = makeHighlightPicture(bytes);
            EffectHarness harness(kKey);
            choosePattern(harness, "black.png");
            harness.apply({{"view", kViewMatte}, {"dveRotate", rotate}, {"sBlurX", 3}, {"lDisplacement", -40}});
            EXPECT_EQ(maxDifference(*harness.render(*source), *matteAsShown(*source, 1.0f, 1.6f, 0.0f)), 0u);
        }
}

// No pattern, a missing file and a file that is no picture all give a shape of 0 everywhere:
// the Shape view is opaque black and "Shape Only" lets no light through.
TEST(Light, MissingOrUnreadablePatternIsAnEmptyShape) {
    Textures textures;
    std::ofstream(textures.folder / "broken.png") << "not a picture";
    for (const char* pattern : {"", "missing.png", "broken.png", "../broken.png"})
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(std::string("pattern \"") + pattern + "\"" + (bytes == 2 ? " 16-bit" : " 8-bit"));
            const ImagePtr source = makeHighlightPicture(bytes);
            EffectHarness shown(kKey), lit(kKey);
            choosePattern(shown, pattern);
            choosePattern(lit, pattern);
            shown.apply({{"view", kViewShape}, {"dvePosition", 0}, {"sBlurX", 4}});
            lit.apply({{"compositeFunc", 0}, {"lBrightness", 300}});
            const ImagePtr shape = shown.render(*source);
            EXPECT_TRUE(isUniform(*shape));
            EXPECT_EQ(sampleAt(*shape, 3, 3, 0), 0u);
            EXPECT_EQ(sampleAt(*shape, 3, 3, 3), fullScale(bytes));
            EXPECT_EQ(maxDifference(*lit.render(*source), *source), 0u);
        }
}

// "Multiply" and "Darken" let light through only inside the placed shape's quad, even where the
// shape blur spreads the shape beyond it, as "Shape Only" shows.
TEST(Light, MultiplyAndDarkenKeepToThePlacedShape) {
    Textures textures;
    textures.add("white.png", 40, 40, [](uint32_t, uint32_t) { return 255; });
    struct Case {
        uint32_t blend;
        bool lightOutside;
    };
    for (const Case c : {Case{3, false}, Case{6, false}, Case{0, true}}) {
        const ImagePtr source = makeImage(40, 40, 4, 1, {255, 255, 255, 255});
        EffectHarness harness(kKey);
        choosePattern(harness, "white.png");
        harness.apply({{"view", kViewMatte}, {"compositeFunc", double(c.blend)}, {"dveScaleX", 50}, {"sBlurX", 8},
                       {"mattePosition", 100}, {"matteRange", 100}});
        const ImagePtr matte = harness.render(*source);
        EXPECT_EQ(sampleAt(*matte, 20, 20, 0), 255u) << "the quad's middle, blend " << c.blend;
        // Column 8 lies outside the quad (10 .. 30), within the blur's reach.
        EXPECT_EQ(sampleAt(*matte, 8, 20, 0) > 0u, c.lightOutside) << "blend " << c.blend;
    }
}

// A pattern enables the shape's controls and greys out the second input; the vertical sizes
// stay greyed out while their gangs are on. Without a pattern the controls are greyed out.
TEST(Light, ChoosingAPatternEnablesTheShapeControls) {
    EffectHarness harness(kKey);
    Effect& effect = harness.effect();
    choosePattern(harness, "brick.png");
    EXPECT_FALSE(effect.parameter(kShapeInput).isEnabled());
    for (uint32_t i = kFirstShapeControl; i < kShapeControlsEnd; ++i)
        EXPECT_EQ(effect.parameter(i).isEnabled(), i != kScaleY && i != kShapeBlurY) << "record " << i;
    choosePattern(harness, nullptr);
    for (uint32_t i = kFirstShapeControl; i < kShapeControlsEnd; ++i) EXPECT_FALSE(effect.parameter(i).isEnabled());
    EXPECT_FALSE(effect.parameter(kShapeInput).isEnabled());
}

}  // namespace
