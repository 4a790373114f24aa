// How one filter run cuts the filter rectangle into tiles: host-sized tiles when
// the effect needs no margins, whole-width strips when it does.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

struct TilePlan {
    PixelRect filter;
    int32_t tileHeight = 0;
    int32_t tileWidth = 0;
    // Counted in 32 bits: small host tiles on a large picture exceed 16-bit counts.
    int32_t rows = 0;
    int32_t columns = 0;
    int32_t marginTop = 0;
    int32_t marginLeft = 0;
    int32_t marginBottom = 0;
    int32_t marginRight = 0;
    int32_t blockHeight = 0;
    int32_t blockWidth = 0;

    int32_t total() const { return rows * columns; }
    bool hasMargins() const { return marginTop || marginLeft || marginBottom || marginRight; }
    // The output rectangle of tile (row, column), in document coordinates.
    PixelRect outputRect(int32_t row, int32_t column) const;
    // The source rectangle read for an output rectangle: grown by the margins, never above or
    // left of the document, never below or right of the filter rectangle.
    PixelRect sourceRect(const PixelRect& output) const;
};

// hostTile is the host's tile placed at its origin; required is what the effect needs to produce it.
// A tile size of 0 (not given by the host) means the whole filter extent.
TilePlan planTiles(const PixelRect& filter, ImageSize image, const PixelRect& hostTile, const PixelRect& required);
