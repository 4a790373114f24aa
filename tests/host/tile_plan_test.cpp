#include <gtest/gtest.h>

#include "host/tile_plan.h"

namespace {

TEST(TilePlan, MarginFreeEffectUsesHostTiles) {
    const PixelRect filter = {0, 0, 700, 1000};
    const PixelRect hostTile = {0, 0, 256, 256};
    const TilePlan plan = planTiles(filter, {1000, 700}, hostTile, hostTile);
    EXPECT_EQ(plan.rows, 3);
    EXPECT_EQ(plan.columns, 4);
    EXPECT_EQ(plan.total(), 12);
    EXPECT_EQ(plan.outputRect(2, 3), (PixelRect{512, 768, 700, 1000}));
    EXPECT_EQ(plan.blockHeight, 256);
    EXPECT_EQ(plan.blockWidth, 256);
    EXPECT_EQ(plan.sourceRect(plan.outputRect(1, 1)), plan.outputRect(1, 1));
}

TEST(TilePlan, MarginsGiveWholeWidthStrips) {
    const PixelRect filter = {0, 0, 700, 1000};
    const PixelRect hostTile = {0, 0, 256, 256};
    const PixelRect needed = hostTile.grown(300, 10);
    const TilePlan plan = planTiles(filter, {1000, 700}, hostTile, needed);
    EXPECT_EQ(plan.columns, 1);
    EXPECT_EQ(plan.rows, 3);
    EXPECT_EQ(plan.tileWidth, 1000);
    EXPECT_EQ(plan.blockWidth, 1000);
    EXPECT_EQ(plan.blockHeight, 700);
    // The first strip's source starts at row 0 even though the margin is larger than its top.
    EXPECT_EQ(plan.sourceRect(plan.outputRect(0, 0)), (PixelRect{0, 0, 556, 1000}));
    EXPECT_EQ(plan.sourceRect(plan.outputRect(2, 0)), (PixelRect{212, 0, 700, 1000}));
}

TEST(TilePlan, SourcesNeverReachBelowTheSelection) {
    const PixelRect filter = {100, 50, 400, 600};  // a selection above the image bottom
    const PixelRect hostTile = {0, 0, 128, 128};
    const TilePlan plan = planTiles(filter, {800, 700}, hostTile, hostTile.grown(20, 20));
    for (int32_t row = 0; row < plan.rows; ++row) {
        const PixelRect output = plan.outputRect(row, 0);
        const PixelRect source = plan.sourceRect(output);
        EXPECT_LE(source.bottom, filter.bottom);
        EXPECT_LE(source.right, filter.right);
        EXPECT_GE(source.top, 0);
        EXPECT_LE(source.top, output.top);
        EXPECT_LE(output.bottom, filter.bottom);
    }
    EXPECT_EQ(plan.outputRect(plan.rows - 1, 0).bottom, 400);
}

TEST(TilePlan, TinyTilesOnLargePicturesCountBeyondSixteenBits) {
    const TilePlan plan = planTiles({0, 0, 700, 1000}, {1000, 700}, {0, 0, 1, 1}, {0, 0, 1, 1});
    EXPECT_EQ(plan.total(), 700000);
}

TEST(TilePlan, MissingHostTileSizeMeansOneTile) {
    const TilePlan plan = planTiles({0, 0, 30, 40}, {40, 30}, {0, 0, 0, 0}, {0, 0, 0, 0});
    EXPECT_EQ(plan.total(), 1);
    EXPECT_EQ(plan.outputRect(0, 0), (PixelRect{0, 0, 30, 40}));
}

}  // namespace
