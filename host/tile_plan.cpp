#include "host/tile_plan.h"

#include <algorithm>

namespace {

int32_t ceilDiv(int32_t a, int32_t b) { return b > 0 ? (a + b - 1) / b : 0; }

}  // namespace

TilePlan planTiles(const PixelRect& filter, ImageSize image, const PixelRect& hostTile, const PixelRect& required) {
    TilePlan plan;
    plan.filter = filter;
    plan.marginTop = hostTile.top - required.top;
    plan.marginLeft = hostTile.left - required.left;
    plan.marginBottom = required.bottom - hostTile.bottom;
    plan.marginRight = required.right - hostTile.right;
    const int32_t filterHeight = std::max(0, filter.height());
    const int32_t filterWidth = std::max(0, filter.width());
    int32_t tileHeight = hostTile.height() > 0 ? hostTile.height() : filterHeight;
    int32_t tileWidth = hostTile.width() > 0 ? hostTile.width() : filterWidth;
    if (!plan.hasMargins()) {
        plan.rows = ceilDiv(filterHeight, tileHeight);
        plan.columns = ceilDiv(filterWidth, tileWidth);
    } else {
        plan.columns = filterWidth > 0 ? 1 : 0;
        tileWidth = std::min(filterWidth, image.width);
        tileHeight = std::min(tileHeight, image.height);
        plan.rows = ceilDiv(filterHeight, tileHeight);
    }
    plan.tileHeight = tileHeight;
    plan.tileWidth = tileWidth;
    plan.blockHeight = std::min(tileHeight + plan.marginTop + plan.marginBottom, image.height);
    plan.blockWidth = std::min(tileWidth + plan.marginLeft + plan.marginRight, image.width);
    return plan;
}

PixelRect TilePlan::outputRect(int32_t row, int32_t column) const {
    PixelRect output;
    output.top = filter.top + row * tileHeight;
    output.left = filter.left + column * tileWidth;
    output.bottom = std::min(output.top + tileHeight, filter.bottom);
    output.right = std::min(output.left + tileWidth, filter.right);
    return output;
}

PixelRect TilePlan::sourceRect(const PixelRect& output) const {
    return {std::max(output.top - marginTop, 0), std::max(output.left - marginLeft, 0),
            std::min(output.bottom + marginBottom, filter.bottom), std::min(output.right + marginRight, filter.right)};
}
