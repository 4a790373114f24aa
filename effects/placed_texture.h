// A grey texture from the Textures folder laid over the whole picture: read by name in the
// render's sample size, moved, scaled, rotated or pinned by the placement transform, then
// stretched over the picture so that its edges meet the picture's edges.
//
// The placed texture is kept between the tiles of a run and between runs while the name, the
// sample size, the placement and its sampling and the picture's size stay the same: a second
// render with the same file neither reads nor places it again. Each tile takes the part under
// its area, which depends only on the picture position, so strips and one tile agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fx/render_info.h"
#include "fx/texture_file.h"
#include "imaging/dve_transform.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"

class PlacedTexture {
public:
    // The texture named `name` placed over the picture of this render (one channel, the
    // picture's size and the render's sample size), or null when name is null or empty. A
    // file that cannot be read places as all 0. The image stays valid until the next call.
    // In a preview the picture is the zoomed one the render sees.
    const Image* picture(const char* name, const DveTransform& placement, const fx::Plugin::RenderInfo& info);

    // The part of the placed texture under area (picture coordinates) as a new image of the
    // area's size, 0 where the area leaves the picture; null without a name.
    ImagePtr under(const char* name, const DveTransform& placement, const fx::Plugin::RenderInfo& info,
                   const PixelRect& area);

private:
    // What the placed texture depends on.
    struct Key {
        std::string name;
        bool sixteenBit;
        DveSettings placement;
        DveSampling sampling;
        int32_t width;
        int32_t height;
        friend bool operator==(const Key&, const Key&) = default;
    };

    fx::TextureFile file_;
    std::optional<Key> key_;
    ImagePtr placed_;
};
