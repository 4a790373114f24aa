// Diffusion: the mist look without a texture, the texture's blends on the whole render, the
// "Texture" view with its placement, reading each file once, and the dialog's switches.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effects/placed_texture.h"
#include "imaging/texture_blend.h"
#include "tests/support/effect_harness.h"
#include "tests/support/texture_folder.h"

namespace {

constexpr uint32_t kViewOutput = 0, kViewMatte = 1, kViewTexture = 2, kViewOriginal = 3;

void chooseTexture(EffectHarness& harness, const std::string& name) {
    harness.effect().parameter(harness.index("diffTexture")).path = name;
}

void changed(EffectHarness& harness, const char* key) {
    harness.effect().effectClass->parameterChanged(&harness.effect(), harness.index(key));
}

// A look that moves every step away from its neutral value; the Subtle glow lights the picture
// only where the matte says.
const std::vector<Setting> kBusyLook = {
    {"glowBrightness", 300}, {"glowMode", 0}, {"matteBlur", 3}, {"matteRange", 60}, {"hue", 30}, {"contrast", 20}};

// The textures the tests choose from, in a Textures folder of their own.
struct Textures {
    TextureFolderHost host;
    Textures() {
        writeGreyPng(host.textures / "black.png", 0);
        writeGreyPng(host.textures / "white.png", 255);
        writeGreyPng(host.textures / "halves.png", {255, 255, 0, 0}, 2);  // white left, black right
    }
};

ImagePtr renderDiffusion(const Image& source, const std::vector<Setting>& settings, const std::string& texture = "") {
    EffectHarness harness("Diffusion");
    harness.apply(settings);
    chooseTexture(harness, texture);
    return harness.render(source);
}

TEST(Diffusion, WithoutTextureRendersAsMistWithBlurOf20) {
    struct Case {
        uint32_t diffusionView, mistView;
    };
    for (const Case& c : {Case{kViewOutput, 0}, Case{kViewMatte, 1}, Case{kViewOriginal, 2}})
        for (const std::vector<Setting>& look : {std::vector<Setting>{}, kBusyLook})
            for (uint32_t bytes : {1u, 2u}) {
                SCOPED_TRACE("view " + std::to_string(c.diffusionView) + (bytes == 2 ? " 16-bit" : " 8-bit"));
                const ImagePtr source = makeHighlightPicture(bytes);
                std::vector<Setting> diffusion = look, mist = look;
                diffusion.push_back({"view", double(c.diffusionView)});
                mist.insert(mist.end(), {{"view", double(c.mistView)}, {"glowBlurH", 20}, {"glowBlurV", 20}});
                EffectHarness mistLook("Mist");
                mistLook.apply(mist);
                EXPECT_EQ(maxDifference(*renderDiffusion(*source, diffusion), *mistLook.render(*source)), 0u);
            }
}

// Textures that leave the matte as built, and those that take all of it away: then the output
// is the colour-corrected picture, as with no glow at all.
TEST(Diffusion, TextureBlendsOnTheWholeRender) {
    enum Expected { AsBuilt, NoGlow, Neither };
    struct Case {
        const char* file;
        TextureBlend blend;
        Expected expected;
    };
    const Case cases[] = {
        {"white.png", TextureBlend::Multiply, AsBuilt},    {"white.png", TextureBlend::Darken, AsBuilt},
        {"black.png", TextureBlend::Screen, AsBuilt},      {"black.png", TextureBlend::Difference, AsBuilt},
        {"black.png", TextureBlend::TextureOnly, NoGlow},  {"missing.png", TextureBlend::TextureOnly, NoGlow},
        {"black.png", TextureBlend::Subtract, NoGlow},     {"white.png", TextureBlend::TextureOnly, Neither},
    };
    Textures textures;
    for (uint32_t bytes : {1u, 2u}) {
        const ImagePtr source = makeHighlightPicture(bytes);
        const ImagePtr asBuilt = renderDiffusion(*source, kBusyLook);
        std::vector<Setting> dark = kBusyLook;
        dark.push_back({"glowBrightness", 0});
        const ImagePtr noGlow = renderDiffusion(*source, dark);
        ASSERT_GT(maxDifference(*asBuilt, *noGlow), 0u);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.file) + " blend " + std::to_string(uint32_t(c.blend)) + " bytes " +
                         std::to_string(bytes));
            std::vector<Setting> look = kBusyLook;
            look.push_back({"diffTexBlend", double(c.blend)});
            const ImagePtr output = renderDiffusion(*source, look, c.file);
            EXPECT_EQ(maxDifference(*output, *asBuilt) == 0, c.expected == AsBuilt);
            EXPECT_EQ(maxDifference(*output, *noGlow) == 0, c.expected == NoGlow);
        }
    }
}

// The "Texture" view shows the placed texture in grey over opaque alpha, and black without
// one; "Texture Only" makes the matte the texture itself.
TEST(Diffusion, TextureViewShowsThePlacedTexture) {
    struct Case {
        const char* file;
        double rotate;
        int32_t x;
        uint32_t level8;
    };
    const Case cases[] = {{"", 0, 5, 0},         {"missing.png", 0, 5, 0},  {"halves.png", 0, 2, 255},
                          {"halves.png", 0, 38, 0}, {"halves.png", 180, 2, 0}, {"halves.png", 180, 38, 255}};
    Textures textures;
    for (const Case& c : cases)
        for (uint32_t bytes : {1u, 2u}) {
            SCOPED_TRACE(std::string(c.file) + " rotate " + std::to_string(c.rotate) + (bytes == 2 ? " 16" : " 8"));
            const ImagePtr source = makeHighlightPicture(bytes);
            const std::vector<Setting> placed = {{"dveRotate", c.rotate}, {"diffTexBlend", 0}};
            std::vector<Setting> texture = placed, matte = placed;
            texture.push_back({"view", kViewTexture});
            matte.push_back({"view", kViewMatte});
            const ImagePtr shown = renderDiffusion(*source, texture, c.file);
            const uint32_t level = bytes == 2 ? (c.level8 == 255 ? 32768u : c.level8) : c.level8;
            for (uint32_t channel = 0; channel < 3; ++channel) EXPECT_EQ(sampleAt(*shown, c.x, 18, channel), level);
            EXPECT_EQ(sampleAt(*shown, c.x, 18, 3), fullScale(bytes));
            if (*c.file) {
                EXPECT_EQ(maxDifference(*shown, *renderDiffusion(*source, matte, c.file)), 0u);
            }
        }
}

TEST(Diffusion, ReadsEachFileOncePerSampleSize) {
    Textures textures;
    const ImagePtr source8 = makeHighlightPicture(1);
    const ImagePtr source16 = makeHighlightPicture(2);
    EffectHarness harness("Diffusion");
    chooseTexture(harness, "halves.png");
    struct Step {
        const Image& source;
        double view;
        double rotate;
        int lookups;
    };
    // Another view or placement reuses the file; another depth reads it again.
    const Step steps[] = {{*source8, kViewOutput, 0, 1},    {*source8, kViewOutput, 0, 1},
                          {*source8, kViewTexture, 90, 1},  {*source16, kViewOutput, 90, 2},
                          {*source16, kViewMatte, 90, 2},   {*source8, kViewOutput, 0, 3}};
    for (const Step& step : steps) {
        harness.apply({{"view", step.view}, {"dveRotate", step.rotate}});
        harness.render(step.source);
        EXPECT_EQ(textures.host.lookups, step.lookups);
    }
}

// The placed texture is kept while nothing it depends on changes; the part under an area that
// leaves the picture is 0 there.
TEST(PlacedTexture, KeptBetweenRendersAndCutToTheArea) {
    Textures textures;
    PlacedTexture texture;
    fx::Plugin::RenderInfo info;
    info.imageWidth = 40;
    info.imageHeight = 10;
    const Image* first = texture.picture("halves.png", DveTransform(), info);
    ASSERT_TRUE(first && first->width == 40 && first->height == 10);
    const ImagePtr window = texture.under("halves.png", DveTransform(), info, {8, -2, 12, 38});
    EXPECT_EQ(texture.picture("halves.png", DveTransform(), info), first);
    EXPECT_EQ(textures.host.lookups, 1);
    ASSERT_TRUE(window && window->width == 40 && window->height == 4);
    for (const auto& [x, y, level] : {std::tuple{0, 0, 0u}, {2, 0, 255u}, {2, 1, 255u}, {2, 2, 0u}, {39, 1, 0u}})
        EXPECT_EQ(sampleAt(*window, x, y, 0), level) << x << "," << y;
}

// The blend is enabled exactly while a file is chosen; the placement's records reach its gang.
TEST(Diffusion, DialogSwitches) {
    EffectHarness harness("Diffusion");
    const Parameter& blend = harness.effect().parameter(harness.index("diffTexBlend"));
    for (const char* name : {"net.png", "", "grass.png"}) {
        chooseTexture(harness, name);
        changed(harness, "diffTexture");
        EXPECT_EQ(blend.isEnabled(), *name != 0) << name;
    }
    harness.setBoolean("dveScaleGang", false);
    changed(harness, "dveScaleGang");
    EXPECT_TRUE(harness.effect().parameter(harness.index("dveScaleY")).isEnabled());
}

}  // namespace
