// What an effect's hooks receive for one render: the output image, the area to
// compute, the scale of a preview, the image and tile geometry.
#pragma once

#include <cstdint>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

namespace fx {
namespace Plugin {

class RenderInfo {
public:
    virtual ~RenderInfo() = default;
    // Four host queries kept for binary shape; the framework gives them fixed answers.
    virtual bool reservedQuery() { return false; }
    virtual bool reservedCheckA(int32_t, int32_t) { return true; }
    virtual bool reservedCheckB(int32_t, int32_t) { return true; }
    virtual void reservedNotify(int32_t, int32_t) {}

    int32_t spare0 = 0;
    Image* outputImage = nullptr;
    // The area of outputImage to compute, in block coordinates.
    PixelRect renderRect;
    int32_t spare1 = 0;
    // 0.0 from the host. Non-zero lets a matte kept from an earlier render stand in for a new
    // extraction (allowsCachedMatte).
    double reservedZero = 0.0;
    double reservedOne = 1.0;
    // 1.0 for the final render; the zoom factor in a preview.
    double scaleX = 1.0;
    double scaleY = 1.0;
    // 1 from the host: the extra passes of every blur of the render (extraBlurPasses).
    uint32_t reservedWord1 = 1;
    uint32_t reservedWord2 = 2;
    bool is16 = false;
    double reservedOne2 = 1.0;
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    // The tile's output rectangle in document coordinates (the visible area in a preview).
    PixelRect outputRect;
    int32_t tileCount = 0;
    int32_t tileIndex = -1;
    bool isPreview = false;

    // Every Blur of the render runs extraBlurPasses() + 1 times in each direction.
    uint32_t extraBlurPasses() const { return reservedWord1; }
    // Whether the matte extractor may hand back the matte it kept instead of extracting again.
    bool allowsCachedMatte() const { return reservedZero != 0.0; }
};

}  // namespace Plugin
}  // namespace fx
