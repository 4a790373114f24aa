// What the strip tests share: the sample documents (bundled photographs at 8 and 16 bits, with
// and without transparency), one run of an effect through the stand-in host in tiles of a given
// size, and the largest difference between two pictures. Each test renders a document in small
// tiles and in one tile and compares the two.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "editor/picture.h"

namespace test_support {

// A tile small enough to cut every sample picture into many strips, and one larger than any.
constexpr int32_t kSmallTile = 16;
constexpr int32_t kOneTile = 4096;

// Values by scripting key, as text, the way the command line takes them.
using Settings = std::vector<std::pair<std::string, std::string>>;

// The alpha at (x, y) of a width x height picture whose full scale is `full`.
using AlphaPattern = uint32_t (*)(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full);

// The picture's colour channels with a fourth channel drawn from `alpha` at the picture's depth.
editor::Picture withTransparency(const editor::Picture& picture, AlphaPattern alpha);

// A bundled sample picture (samples/FILE) at 8 or 16 bits.
editor::Picture samplePicture(const char* file, int depth);

struct DocumentRecipe {
    const char* file;
    int depth;
    bool transparent = false;
};

struct Document {
    std::string name;  // "coffee.png 16-bit with transparency"
    editor::Picture picture;
};

// The documents in the order given; those with transparency take their alpha from `alpha`.
std::vector<Document> documents(std::initializer_list<DocumentRecipe> recipes, AlphaPattern alpha);

// A transparency ramp from top to bottom with a clear band across the middle.
uint32_t alphaRampWithBand(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t full);

enum class BufferCheck { None, AllReleased };

// The document after one run of the effect with registry key `key` through the stand-in host in
// tiles of tile x tile pixels. The run must succeed; with BufferCheck::AllReleased the host must
// also hold no buffer the plug-in allocated once it is over.
editor::Picture runInTiles(const editor::Picture& document, const std::string& key, const Settings& settings,
                           int32_t tile, BufferCheck bufferCheck = BufferCheck::None);

// The largest difference between two samples at the same place, over every channel.
uint32_t largestDifference(const editor::Picture& a, const editor::Picture& b);

}  // namespace test_support
