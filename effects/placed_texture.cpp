#include "effects/placed_texture.h"

#include <algorithm>
#include <cstring>

#include "fx/dve_parameters.h"
#include "imaging/pixel_utils.h"
#include "imaging/quad_warp.h"
#include "imaging/sample_traits.h"

namespace {

// The picture as this render sees it: the document, or the zoomed document in a preview.
ImageSize pictureSize(const fx::Plugin::RenderInfo& info) {
    return {std::max(1, truncToInt(info.imageWidth * info.scaleX)),
            std::max(1, truncToInt(info.imageHeight * info.scaleY))};
}

// The texture through the placement (on a copy: the file's image is kept as read), stretched
// over a picture of this size.
ImagePtr place(const Image* texture, const DveTransform& placement, const fx::Plugin::RenderInfo& info,
               ImageSize size) {
    ImagePtr placed = ImagePtr::make(size, 1, info.is16 ? 2 : 1);
    const PixelRect whole = {0, 0, size.height, size.width};
    if (!texture) {
        clearRect(*placed, whole);
        return placed;
    }
    ImagePtr moved;
    if (!placement.isIdentity()) {
        moved = texture->clone();
        apply(placement, *moved, info);
        texture = moved.get();
    }
    const double width = size.width, height = size.height;
    const Quad corners = {{{0.0, 0.0}, {width, 0.0}, {width, height}, {0.0, height}}};
    quadWarp(*placed, *texture, whole, 0, 0, corners, 1.0, 1.0);
    return placed;
}

}  // namespace

const Image* PlacedTexture::picture(const char* name, const DveTransform& placement,
                                    const fx::Plugin::RenderInfo& info) {
    if (!name || !*name) return nullptr;
    const ImageSize size = pictureSize(info);
    Key key{name, info.is16, placement.settings(), dveSampling(info), size.width, size.height};
    if (placed_ && key_ == key) return placed_.get();
    // The old placement goes before the new one is made, so the two never take memory together.
    key_.reset();
    placed_.reset();
    placed_ = place(file_.image(name, info.is16), placement, info, size);
    key_ = std::move(key);
    return placed_.get();
}

ImagePtr PlacedTexture::under(const char* name, const DveTransform& placement, const fx::Plugin::RenderInfo& info,
                              const PixelRect& area) {
    const Image* whole = picture(name, placement, info);
    if (!whole || area.isEmpty()) return ImagePtr();
    ImagePtr window = ImagePtr::make({area.width(), area.height()}, 1, whole->bytesPerChannel);
    const PixelRect inside = area.intersected(whole->bounds);
    if (inside != area) clearRect(*window, {0, 0, area.height(), area.width()});
    if (inside.isEmpty()) return window;
    const size_t length = size_t(inside.width()) * whole->bytesPerPixel;
    for (int32_t y = inside.top; y < inside.bottom; ++y)
        std::memcpy(window->pixelBytes(inside.left - area.left, y - area.top), whole->pixelBytes(inside.left, y),
                    length);
    return window;
}
