// Runs one effect outside any host: creates it through the registry, feeds it a
// source image the way the tile loop does (the output starts as a copy of the
// source) and returns what the effect rendered.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "fx/effect.h"
#include "fx/effect_registry.h"
#include "fx/render_info.h"
#include "imaging/image.h"

// A value by scripting key, set by the kind of the record: a Number's value, a List's index, a
// Boolean's state (non-zero is on).
struct Setting {
    const char* key;
    double value;
};

class EffectHarness {
public:
    explicit EffectHarness(const char* key);

    Effect& effect() { return *effect_; }
    // Index of the parameter with this scripting key (the first one); fails the test when missing.
    uint32_t index(const char* key) const;
    void setNumber(const char* key, double value);
    void setList(const char* key, uint32_t value);
    void setBoolean(const char* key, bool value);
    void setPoint(const char* key, double x, double y);
    void setColor(const char* key, const RGBValue& color);
    // By the record's kind, as Setting describes.
    void set(const char* key, double value);
    void apply(const std::vector<Setting>& settings);

    // Renders the whole image as one tile at the given preview scale.
    ImagePtr render(const Image& source, double scale = 1.0);
    // Renders an area of a larger document: source holds the document pixels of sourceRect,
    // the output rectangle of the tile is outputRect (document coordinates).
    ImagePtr renderTile(const Image& source, const PixelRect& sourceRect, const PixelRect& outputRect,
                        int32_t imageWidth, int32_t imageHeight);
    // Renders into output (source's size) over renderRect alone, as part of a document of
    // imageWidth x imageHeight seen at a preview scale.
    void renderInto(const Image& source, Image& output, const PixelRect& renderRect, int32_t imageWidth,
                    int32_t imageHeight, double scale = 1.0);
    bool isActive(const Image& source);
    // The source rectangle the effect asks for around rect, at a preview scale.
    PixelRect requiredSource(const PixelRect& rect, int32_t imageWidth, int32_t imageHeight, double scale = 1.0);

private:
    void prepare(const Image& source, Image& output, double scale);
    // Renders the prepared run as one tile.
    void renderPrepared(const Image& source);
    std::unique_ptr<Effect, EffectDeleter> effect_;
    fx::Plugin::RenderInfo info_;
};

// The layouts an image may have: one or four channels of 8 or 16 bits.
struct Layout {
    uint32_t channels, bytes;
};
inline constexpr Layout kLayouts[] = {{1, 1}, {4, 1}, {1, 2}, {4, 2}};

// The full-scale sample: 255 at 8 bits, 32768 at 16.
constexpr uint32_t fullScale(uint32_t bytesPerChannel) { return bytesPerChannel == 2 ? 32768u : 255u; }

// A new image filled with one pixel value (one sample per channel).
ImagePtr makeImage(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel,
                   std::initializer_list<uint32_t> pixel);
// A new image whose samples are a fixed pseudo-random pattern (alpha opaque when 4 channels).
ImagePtr makeNoiseImage(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel, uint32_t seed = 1);
// A new image whose every sample, alpha included, is a fixed pseudo-random value in 0..full.
ImagePtr makeRandomImage(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel, uint32_t seed);
// Four-channel noise whose alpha varies across the picture, both ends of the scale included.
ImagePtr makeTransparentNoiseImage(int32_t width, int32_t height, uint32_t bytesPerChannel, uint32_t seed = 7);
// A noise picture (seed 3) with a bright square at (12, 10) to (22, 20), so that every matte
// window finds light, and alpha falling from left to right.
ImagePtr makeHighlightPicture(uint32_t bytesPerChannel, int32_t width = 41, int32_t height = 37);
// What a "Matte" view shows: the luminance matte of the extractor at this position, range and
// blur, built from source over its bounds, in grey over source's alpha.
ImagePtr matteAsShown(const Image& source, float position, float range, float blur);
// A copy of source with rect blurred at these sizes, each direction extraPasses + 1 times.
ImagePtr blurred(const Image& source, const PixelRect& rect, float horizontal, float vertical,
                 uint32_t extraPasses = 0);
// Sample c of pixel (x, y), whatever the sample size.
uint32_t sampleAt(const Image& image, int32_t x, int32_t y, uint32_t c);
// Every sample of pixel (x, y).
std::vector<uint32_t> pixelAt(const Image& image, int32_t x, int32_t y);
void setSample(Image& image, int32_t x, int32_t y, uint32_t c, uint32_t value);
// The largest absolute difference between two images of the same shape.
uint32_t maxDifference(const Image& a, const Image& b);

// How many samples of output differ from source inside the top-left rows x columns of the
// block and outside it: a tile rendered into a larger block must leave the outside alone.
struct TileChanges {
    uint32_t inside = 0, outside = 0;
};
TileChanges tileChanges(const Image& output, const Image& source, int32_t rows, int32_t columns);

// Whether every pixel equals the first one.
bool isUniform(const Image& image);

// The same 8-bit picture at 16 bits: every sample v becomes (v x 32768 + 127) / 255.
ImagePtr widenTo16(const Image& image8);
// How far an 8-bit and a 16-bit result of the same scene disagree: the largest difference on
// the 8-bit scale (16-bit samples brought to it with rounding) over the first `channels`
// channels of every pixel.
uint32_t depthDifference(const Image& result8, const Image& result16, uint32_t channels = 4);
// Renders the effect with these settings on source8 and on widenTo16(source8), a fresh
// instance for each, and returns depthDifference of the two results.
uint32_t renderDepthDifference(const char* key, const std::vector<Setting>& settings, const Image& source8,
                               uint32_t channels = 4);
