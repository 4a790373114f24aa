// The shape that Light! throws its light through: the pattern file read as one grey channel in
// the render's sample size, placed by the placement transform and spread by the shape blur, in
// the file's own pixels. Making it reads a file, resamples and blurs the whole image, so it is
// kept for the tiles of a run and for the renders that follow, and made again only when the
// file, the sample size, the placement or the blur changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fx/texture_file.h"
#include "imaging/dve_transform.h"
#include "imaging/image.h"
#include "imaging/projective_matrix.h"
#include "imaging/shape_reading.h"

// Everything the placed shape is made from.
struct ShapeRecipe {
    std::string pattern;  // file name in the Textures folder; empty for none
    bool sixteenBit = false;
    DveSettings placement;
    DveSampling sampling;
    // Shape blur sizes in pixels of the shape, and the blur's extra passes.
    float blurX = 0.0f;
    float blurY = 0.0f;
    uint32_t extraPasses = 0;

    friend bool operator==(const ShapeRecipe& a, const ShapeRecipe& b) {
        return a.pattern == b.pattern && a.sixteenBit == b.sixteenBit && a.placement == b.placement &&
               a.sampling.smooth == b.sampling.smooth && a.sampling.halfHeight == b.sampling.halfHeight &&
               a.sampling.aspect == b.sampling.aspect && a.blurX == b.blurX && a.blurY == b.blurY &&
               a.extraPasses == b.extraPasses;
    }
};

class PlacedShape {
public:
    // The shape made from recipe (made now unless it is the one kept), or null when there is no
    // pattern or its file cannot be read: the shape is then 0 everywhere. Valid until the next
    // call. Out of memory escapes as the out-of-memory exception and keeps nothing.
    const Image* image(const ShapeRecipe& recipe);

    // Clears rect of matte (one channel, a block of the picture as `reading` places it) wherever
    // the picture lies outside the placed shape's area: the quad onto which the placement
    // carries the file's rectangle. A picture pixel is taken at the point of the shape it reads
    // when not displaced, (x rx, y ry), on the shape's pixel edges. With the placement at its
    // defaults the shape covers the whole picture and nothing is cleared; without a shape the
    // whole rect is cleared.
    void clearOutside(Image& matte, const PixelRect& rect, const ShapeReading& reading) const;

    // Drops what is kept.
    void clear();

private:
    fx::TextureFile file_;
    std::optional<ShapeRecipe> recipe_;
    const Image* shape_ = nullptr;
    // The placed copy, when the placement or the blur changed the file's image.
    ImagePtr placed_;
    // Shape pixel positions (pixel edges) onto the file's unit square; none when the placement
    // is the identity.
    std::optional<ProjectiveMatrix> placement_;
    bool identity_ = true;
};
