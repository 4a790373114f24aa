// The preview render of the dialog, driven against the stand-in host's document.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "editor/filter_host.h"
#include "fx/effect_registry.h"
#include "host/pixel_block.h"
#include "host/render_context.h"

namespace {

using EffectPtr = std::unique_ptr<Effect, EffectDeleter>;

editor::Picture pattern(int32_t width, int32_t height, int depth) {
    editor::Picture picture = editor::Picture::blank(width, height, 3, depth);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(c);
                const uint32_t value = uint32_t(x * 3 + y * 5 + c * 40) % 256;
                if (depth == 16)
                    picture.samples16()[i] = editor::widen8To16(uint8_t(value));
                else
                    picture.data[i] = uint8_t(value);
            }
    return picture;
}

uint32_t documentSample(const editor::Picture& picture, int32_t x, int32_t y, int c) {
    const size_t i = (size_t(y) * size_t(picture.width) + size_t(x)) * 3 + size_t(c);
    return picture.depth == 16 ? picture.samples16()[i] : picture.data[i];
}

uint8_t blockSample(const PixelBlock& block, int32_t x, int32_t y, int c) {
    return block.pixels[size_t(y) * block.rowBytes + size_t(x) * block.bytesPerPixel + size_t(c)];
}

struct PreviewSetup {
    explicit PreviewSetup(int depth) : picture(pattern(100, 80, depth)), host(picture, editor::HostOptions{}),
                                       channels(&host.record()), effect(EffectRegistry::instance().create("WarmCool")) {
        effect->parameter(2).number = 50;
    }
    editor::Picture picture;
    editor::FilterHost host;
    ChannelSet channels;
    EffectPtr effect;
};

// The whole picture at half size: the host resamples (2x2 means) and the effect renders 8-bit pixels.
TEST(RenderPreview, WholePictureRendersTheScaledCopyInEightBits) {
    for (int depth : {8, 16}) {
        PreviewSetup setup(depth);
        RenderContext context(setup.channels, setup.effect.get(), true);
        BlockGuard destination(setup.channels, setup.channels.makeBlock({0, 0, 40, 50}, 4, 1, 3));
        ASSERT_TRUE(context.renderPreview({0, 0, 40, 50}, 0.5, *destination, false));
        EXPECT_EQ(context.info().scaleX, 0.5);
        EXPECT_TRUE(context.info().isPreview);
        EXPECT_FALSE(context.info().is16);
        for (auto [x, y] : {std::pair{0, 0}, std::pair{49, 39}, std::pair{17, 23}}) {
            uint32_t sum = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) sum += documentSample(setup.picture, 2 * x + dx, 2 * y + dy, 1);
            uint32_t green = (sum + 2) / 4;
            if (depth == 16) green = editor::narrow16To8(uint16_t(green));
            EXPECT_EQ(blockSample(*destination, x, y, 1), green) << depth << " " << x << "," << y;
        }
        // A second frame at the same size reuses the cached copy.
        const uint32_t scaledReads = setup.host.ports().scaledReads;
        ASSERT_TRUE(context.renderPreview({0, 0, 40, 50}, 0.5, *destination, false));
        EXPECT_EQ(setup.host.ports().scaledReads, scaledReads);
    }
}

// Zoomed in: only the visible area is read (enlarged by the host) and rendered.
TEST(RenderPreview, ZoomedInAreaIsReadAndRendered) {
    PreviewSetup setup(8);
    RenderContext context(setup.channels, setup.effect.get(), true);
    BlockGuard destination(setup.channels, setup.channels.makeBlock({0, 0, 40, 50}, 4, 1, 3));
    ASSERT_TRUE(context.renderPreview({10, 20, 50, 70}, 2.0, *destination, false));
    BlockGuard original(setup.channels, setup.channels.makeBlock({0, 0, 40, 50}, 4, 1, 3));
    ASSERT_TRUE(context.renderPreview({10, 20, 50, 70}, 2.0, *original, true));
    for (auto [x, y] : {std::pair{0, 0}, std::pair{49, 39}, std::pair{13, 7}}) {
        const uint32_t red = documentSample(setup.picture, (20 + x) / 2, (10 + y) / 2, 0);
        const uint32_t blue = documentSample(setup.picture, (20 + x) / 2, (10 + y) / 2, 2);
        EXPECT_EQ(blockSample(*original, x, y, 0), red);
        EXPECT_EQ(blockSample(*destination, x, y, 0), uint32_t(std::max(0, int(red) - 127)));
        EXPECT_EQ(blockSample(*destination, x, y, 2), uint32_t(std::min(255, int(blue) + 127)));
    }
    EXPECT_EQ(setup.host.liveBuffers(), 2u);  // the two preview blocks of this test, nothing left behind
}

TEST(RenderPreview, InactiveEffectShowsTheSource) {
    PreviewSetup setup(8);
    setup.effect->parameter(1).listIndex = 1;  // View: Original
    RenderContext context(setup.channels, setup.effect.get(), true);
    BlockGuard destination(setup.channels, setup.channels.makeBlock({0, 0, 80, 100}, 4, 1, 3));
    ASSERT_TRUE(context.renderPreview({0, 0, 80, 100}, 1.0, *destination, false));
    for (auto [x, y] : {std::pair{0, 0}, std::pair{99, 79}, std::pair{31, 41}})
        for (int c = 0; c < 3; ++c) EXPECT_EQ(blockSample(*destination, x, y, c), documentSample(setup.picture, x, y, c));
}

}  // namespace
