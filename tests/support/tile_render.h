// Renders a picture tile by tile as the host's tile loop does, for the tests that compare a
// render in narrow strips with a render in one tile.
//
// The tiles are planned by the host's own tile planner from the effect's requiredSource; each
// tile reads the original pixels of its source rectangle into a block of the planned size
// (reused from tile to tile, as the host reuses its blocks), and the output rectangle of each
// rendered block goes into the result.
#pragma once

#include <cstdint>

#include "editor/picture.h"
#include "imaging/image.h"
#include "tests/support/effect_harness.h"

// The picture as the host's four-channel blocks hold it; without transparency the fourth
// channel is 0.
ImagePtr blockImageOf(const editor::Picture& picture);

// A four-channel copy of a three-channel picture with a transparency ramp from left to right
// and a clear disc in the middle.
editor::Picture withTransparency(const editor::Picture& picture);

// The whole picture rendered through the tiles planned for a host tile of the given size.
ImagePtr renderInTiles(EffectHarness& harness, const Image& picture, int32_t tileHeight, int32_t tileWidth);
