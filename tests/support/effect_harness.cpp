#include "tests/support/effect_harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "imaging/blur.h"
#include "imaging/matte_extractor.h"
#include "imaging/pixel_utils.h"

EffectHarness::EffectHarness(const char* key) : effect_(EffectRegistry::instance().create(key)) {
    if (!effect_) throw std::runtime_error(std::string("effect not registered: ") + key);
}

uint32_t EffectHarness::index(const char* key) const {
    for (uint32_t i = 0; i < effect_->parameterCount; ++i) {
        const char* name = effect_->parameter(i).name;
        if (name && std::strcmp(name, key) == 0) return i;
    }
    ADD_FAILURE() << "no parameter " << key;
    throw std::runtime_error(std::string("no parameter ") + key);
}

void EffectHarness::setNumber(const char* key, double value) { effect_->parameter(index(key)).number = value; }
void EffectHarness::setList(const char* key, uint32_t value) { effect_->parameter(index(key)).listIndex = value; }
void EffectHarness::setBoolean(const char* key, bool value) { effect_->parameter(index(key)).boolean = value; }
void EffectHarness::setPoint(const char* key, double x, double y) { effect_->parameter(index(key)).point = {x, y}; }
void EffectHarness::setColor(const char* key, const RGBValue& color) { effect_->parameter(index(key)).color = color; }

void EffectHarness::set(const char* key, double value) {
    switch (effect_->parameter(index(key)).kind) {
        case ParameterKind::List: setList(key, uint32_t(value)); break;
        case ParameterKind::Boolean: setBoolean(key, value != 0.0); break;
        default: setNumber(key, value); break;
    }
}

void EffectHarness::apply(const std::vector<Setting>& settings) {
    for (const Setting& s : settings) set(s.key, s.value);
}

void EffectHarness::prepare(const Image& source, Image& output, double scale) {
    info_ = fx::Plugin::RenderInfo();
    info_.scaleX = info_.scaleY = scale;
    info_.is16 = source.is16();
    info_.imageWidth = source.width;
    info_.imageHeight = source.height;
    info_.outputImage = &output;
    info_.renderRect = {0, 0, source.height, source.width};
    info_.outputRect = {0, 0, source.height, source.width};
    info_.isPreview = scale != 1.0;
    effect_->parameter(0).image = ImagePtr(const_cast<Image*>(&source));
    ++const_cast<Image&>(source).refCount;  // the caller owns the record; keep the handle from freeing it
}

ImagePtr EffectHarness::render(const Image& source, double scale) {
    ImagePtr output = source.clone();
    prepare(source, *output, scale);
    renderPrepared(source);
    return output;
}

void EffectHarness::renderInto(const Image& source, Image& output, const PixelRect& renderRect, int32_t imageWidth,
                               int32_t imageHeight, double scale) {
    prepare(source, output, scale);
    info_.imageWidth = imageWidth;
    info_.imageHeight = imageHeight;
    info_.renderRect = renderRect;
    renderPrepared(source);
}

void EffectHarness::renderPrepared(const Image& source) {
    effect_->effectClass->beginRender(effect_.get(), &info_);
    info_.tileCount = 1;
    info_.tileIndex = 0;
    effect_->effectClass->render(effect_.get(), &info_);
    effect_->parameter(0).image.reset();
    --const_cast<Image&>(source).refCount;
}

ImagePtr EffectHarness::renderTile(const Image& source, const PixelRect& sourceRect, const PixelRect& outputRect,
                                   int32_t imageWidth, int32_t imageHeight) {
    ImagePtr output = source.clone();
    prepare(source, *output, 1.0);
    info_.imageWidth = imageWidth;
    info_.imageHeight = imageHeight;
    info_.renderRect = {0, 0, sourceRect.height(), sourceRect.width()};
    info_.outputRect = outputRect;
    renderPrepared(source);
    return output;
}

bool EffectHarness::isActive(const Image& source) {
    Image output(source.width, source.height, source.channels, source.bytesPerChannel, 0, source.data);
    prepare(source, output, 1.0);
    // The host asks after the prepare step, as the tile loop does.
    effect_->effectClass->beginRender(effect_.get(), &info_);
    const bool active = effect_->effectClass->isActive(effect_.get(), &info_);
    effect_->parameter(0).image.reset();
    --const_cast<Image&>(source).refCount;
    return active;
}

PixelRect EffectHarness::requiredSource(const PixelRect& rect, int32_t imageWidth, int32_t imageHeight,
                                        double scale) {
    info_ = fx::Plugin::RenderInfo();
    info_.scaleX = info_.scaleY = scale;
    info_.imageWidth = imageWidth;
    info_.imageHeight = imageHeight;
    PixelRect grown = rect;
    effect_->effectClass->requiredSource(effect_.get(), &info_, &grown);
    return grown;
}

ImagePtr makeImage(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel,
                   std::initializer_list<uint32_t> pixel) {
    ImagePtr image = ImagePtr::make({width, height}, channels, bytesPerChannel);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            uint32_t c = 0;
            for (uint32_t v : pixel) setSample(*image, x, y, c++, v);
        }
    return image;
}

ImagePtr makeNoiseImage(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel, uint32_t seed) {
    ImagePtr image = ImagePtr::make({width, height}, channels, bytesPerChannel);
    const uint32_t full = bytesPerChannel == 2 ? 32768 : 255;
    uint32_t state = seed * 2654435761u + 1;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (uint32_t c = 0; c < channels; ++c) {
                state = state * 1664525u + 1013904223u;
                const uint32_t value = (channels == 4 && c == 3) ? full : (state >> 8) % (full + 1);
                setSample(*image, x, y, c, value);
            }
    return image;
}

ImagePtr makeRandomImage(int32_t width, int32_t height, uint32_t channels, uint32_t bytesPerChannel, uint32_t seed) {
    ImagePtr image = ImagePtr::make({width, height}, channels, bytesPerChannel);
    uint32_t state = seed * 2654435761u + 12345u;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (uint32_t c = 0; c < channels; ++c) {
                state = state * 1664525u + 1013904223u;
                setSample(*image, x, y, c, (state >> 8) % (fullScale(bytesPerChannel) + 1));
            }
    return image;
}

ImagePtr makeTransparentNoiseImage(int32_t width, int32_t height, uint32_t bytesPerChannel, uint32_t seed) {
    ImagePtr image = makeNoiseImage(width, height, 4, bytesPerChannel, seed);
    const uint32_t full = bytesPerChannel == 2 ? 32768 : 255;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) setSample(*image, x, y, 3, uint32_t(x * 37 + y * 11) % (full + 1));
    return image;
}

ImagePtr makeHighlightPicture(uint32_t bytesPerChannel, int32_t width, int32_t height) {
    const uint32_t full = bytesPerChannel == 2 ? 32768 : 255;
    ImagePtr image = makeNoiseImage(width, height, 4, bytesPerChannel, 3);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            if (x >= 12 && x < 22 && y >= 10 && y < 20)
                for (uint32_t c = 0; c < 3; ++c) setSample(*image, x, y, c, full - c * (full / 40));
            setSample(*image, x, y, 3, full - uint32_t(x) * (full / 64));
        }
    return image;
}

ImagePtr matteAsShown(const Image& source, float position, float range, float blur) {
    MatteExtractor extractor;
    extractor.setCacheEnabled(false);
    extractor.setPosition(position);
    extractor.setRange(range);
    extractor.setBlur(blur);
    extractor.applyPositionRange();
    const ImagePtr matte = extractor.build(source, source.bounds, MatteBuildContext{});
    ImagePtr shown = source.clone();
    expandGrayToRGBA(*matte, *shown, shown->bounds);
    return shown;
}

ImagePtr blurred(const Image& source, const PixelRect& rect, float horizontal, float vertical, uint32_t extraPasses) {
    ImagePtr copy = source.clone();
    Blur blur;
    blur.setExtraPasses(extraPasses);
    blur.setSize(horizontal, vertical);
    blur.apply(*copy, rect);
    return copy;
}

uint32_t sampleAt(const Image& image, int32_t x, int32_t y, uint32_t c) {
    const size_t offset = size_t(x) * image.channels + c;
    return image.is16() ? image.row<uint16_t>(y)[offset] : image.row<uint8_t>(y)[offset];
}

std::vector<uint32_t> pixelAt(const Image& image, int32_t x, int32_t y) {
    std::vector<uint32_t> pixel;
    for (uint32_t c = 0; c < image.channels; ++c) pixel.push_back(sampleAt(image, x, y, c));
    return pixel;
}

void setSample(Image& image, int32_t x, int32_t y, uint32_t c, uint32_t value) {
    const size_t offset = size_t(x) * image.channels + c;
    if (image.is16())
        image.row<uint16_t>(y)[offset] = uint16_t(value);
    else
        image.row<uint8_t>(y)[offset] = uint8_t(value);
}

uint32_t maxDifference(const Image& a, const Image& b) {
    uint32_t worst = 0;
    for (int32_t y = 0; y < a.height; ++y)
        for (int32_t x = 0; x < a.width; ++x)
            for (uint32_t c = 0; c < a.channels; ++c) {
                const int32_t d = int32_t(sampleAt(a, x, y, c)) - int32_t(sampleAt(b, x, y, c));
                worst = std::max(worst, uint32_t(std::abs(d)));
            }
    return worst;
}

TileChanges tileChanges(const Image& output, const Image& source, int32_t rows, int32_t columns) {
    TileChanges changes;
    for (int32_t y = 0; y < source.height; ++y)
        for (int32_t x = 0; x < source.width; ++x)
            for (uint32_t c = 0; c < source.channels; ++c)
                if (sampleAt(output, x, y, c) != sampleAt(source, x, y, c))
                    ++(y < rows && x < columns ? changes.inside : changes.outside);
    return changes;
}

bool isUniform(const Image& image) {
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x)
            for (uint32_t c = 0; c < image.channels; ++c)
                if (sampleAt(image, x, y, c) != sampleAt(image, 0, 0, c)) return false;
    return true;
}

ImagePtr widenTo16(const Image& image8) {
    ImagePtr image16 = ImagePtr::make({image8.width, image8.height}, image8.channels, 2);
    for (int32_t y = 0; y < image8.height; ++y)
        for (int32_t x = 0; x < image8.width; ++x)
            for (uint32_t c = 0; c < image8.channels; ++c)
                setSample(*image16, x, y, c, (sampleAt(image8, x, y, c) * 32768 + 127) / 255);
    return image16;
}

uint32_t depthDifference(const Image& result8, const Image& result16, uint32_t channels) {
    uint32_t worst = 0;
    for (int32_t y = 0; y < result8.height; ++y)
        for (int32_t x = 0; x < result8.width; ++x)
            for (uint32_t c = 0; c < channels; ++c) {
                const int32_t narrowed = int32_t((sampleAt(result16, x, y, c) * 255 + 16384) / 32768);
                worst = std::max(worst, uint32_t(std::abs(narrowed - int32_t(sampleAt(result8, x, y, c)))));
            }
    return worst;
}

uint32_t renderDepthDifference(const char* key, const std::vector<Setting>& settings, const Image& source8,
                               uint32_t channels) {
    EffectHarness eight(key), sixteen(key);
    eight.apply(settings);
    sixteen.apply(settings);
    return depthDifference(*eight.render(source8), *sixteen.render(*widenTo16(source8)), channels);
}
