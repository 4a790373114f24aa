// startRender: what is left to draw, and when the source is already in the output.
#include "effects/render_area.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/effect_harness.h"

namespace {

struct Case {
    const char* what;
    uint32_t sourceChannels, outputChannels, sourceBytes;
    PixelRect renderRect;
    bool showsOriginal;
    OutputStart start;
    bool draws;   // an area is left to draw
    bool copied;  // the output holds the source over the rect
};

const Case kCases[] = {
    {"RGBA, copy first", 4, 4, 1, {1, 2, 5, 7}, false, OutputStart::CopyOfSource, true, true},
    {"RGBA, output as given", 4, 4, 2, {1, 2, 5, 7}, false, OutputStart::AsGiven, true, false},
    {"original view", 4, 4, 2, {1, 2, 5, 7}, true, OutputStart::AsGiven, false, true},
    {"grey passes through", 1, 1, 1, {0, 0, 6, 9}, false, OutputStart::AsGiven, false, true},
    {"layouts differ", 4, 1, 1, {0, 0, 6, 9}, false, OutputStart::CopyOfSource, false, false},
    {"empty rect", 4, 4, 1, {3, 3, 3, 8}, true, OutputStart::CopyOfSource, false, false},
    {"rect outside the block", 4, 4, 1, {10, 0, 20, 9}, true, OutputStart::CopyOfSource, false, false},
};

TEST(RenderArea, StartRender) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        Effect effect;
        Parameter input;
        input.defineInput("input", "Input", 0);
        effect.setParameters(&input, 1);
        ImagePtr source = makeNoiseImage(9, 6, c.sourceChannels, c.sourceBytes, 3);
        ImagePtr output = ImagePtr::make({9, 6}, c.outputChannels, c.sourceBytes);
        std::fill(output->data, output->data + output->byteCount(), uint8_t(0));
        input.image = source;
        fx::Plugin::RenderInfo info;
        info.outputImage = output.get();
        info.renderRect = c.renderRect;

        const auto area = startRender(effect, info, {0, c.showsOriginal, c.start});
        ASSERT_EQ(area.has_value(), c.draws);
        if (area) {
            EXPECT_EQ(area->rect, c.renderRect);
        }
        const PixelRect inside = c.renderRect.intersected(output->bounds);
        bool copied = !inside.isEmpty();
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 9; ++x)
                for (uint32_t ch = 0; ch < c.outputChannels; ++ch) {
                    const bool within = y >= inside.top && y < inside.bottom && x >= inside.left && x < inside.right;
                    const uint32_t value = sampleAt(*output, x, y, ch);
                    if (!within)
                        EXPECT_EQ(value, 0u);
                    else if (value != sampleAt(*source, x, y, ch))
                        copied = false;
                }
        EXPECT_EQ(copied, c.copied);
    }
}

}  // namespace
