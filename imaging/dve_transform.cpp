#include "imaging/dve_transform.h"

#include <cmath>
#include <stdexcept>
#include <utility>

#include "imaging/pixel_utils.h"
#include "imaging/point_sampling.h"
#include "imaging/sample_traits.h"

using point_sampling::clampIndex;
using point_sampling::snapToWhole;

namespace {

// trunc(size x fraction), the product in single precision as the edge is a 32-bit float,
// held to 0..size.
int32_t cropEdge(int32_t size, float fraction) {
    const float edge = float(size) * fraction;
    if (!(edge > 0.0f)) return 0;
    if (edge >= float(size)) return size;
    return truncToInt(edge);
}

// A point given as a fraction of the image size from its centre, in pixels of the bounds.
PlanePoint pixelPosition(const PlanePoint& point, const Image& image) {
    return {(point.x + 0.5) * image.width + image.bounds.left, (point.y + 0.5) * image.height + image.bounds.top};
}

// Every destination pixel is taken at its centre, (x + 0.5, y + 0.5): with the bilinear
// sampler's own half-pixel offset the identity then reads each pixel exactly, and a quarter
// turn of a square image is an exact quarter turn (pixel corners would shift both by half a
// pixel and drop a row of the turned image). The destination arrives cleared; pixels whose
// position falls outside the source stay 0.
template <class Sample>
void resample(const Image& source, Image& destination, const ProjectiveMatrix& map, bool smooth) {
    const uint32_t channels = destination.channels;
    const double sourceWidth = source.width;
    const double sourceHeight = source.height;
    for (int32_t row = 0; row < destination.height; ++row) {
        Sample* out = destination.row<Sample>(row);
        const double y = destination.bounds.top + row + 0.5;
        for (int32_t column = 0; column < destination.width; ++column, out += channels) {
            const HomogeneousPoint p = map.map(destination.bounds.left + column + 0.5, y);
            const double u = p.x / p.w;
            const double v = p.y / p.w;
            if (smooth) {
                const double sx = u * sourceWidth - 0.5;
                const double sy = v * sourceHeight - 0.5;
                if (sx >= -1.0 && sx <= sourceWidth && sy >= -1.0 && sy <= sourceHeight)
                    point_sampling::sampleBilinear(source, sx, sy, out);
            } else if (u >= 0.0 && u < 1.0 && v >= 0.0 && v < 1.0) {
                const int32_t sx = clampIndex(int32_t(std::floor(snapToWhole(u * sourceWidth))), source.width);
                const int32_t sy = clampIndex(int32_t(std::floor(snapToWhole(v * sourceHeight))), source.height);
                const Sample* in = source.row<Sample>(sy) + size_t(sx) * channels;
                for (uint32_t c = 0; c < channels; ++c) out[c] = in[c];
            }
        }
    }
}

}  // namespace

bool DveTransform::update(const DveSettings& settings) {
    if (settings == settings_) return false;
    settings_ = settings;
    return true;
}

std::optional<ProjectiveMatrix> DveTransform::placementMatrix(const Image& image, const DveSampling& sampling) const {
    using M = ProjectiveMatrix;
    const DveSettings& s = settings_;
    const Quad pinned = {pixelPosition(s.cornerUpperLeft, image), pixelPosition(s.cornerUpperRight, image),
                         pixelPosition(s.cornerLowerRight, image), pixelPosition(s.cornerLowerLeft, image)};
    const Quad unitSquare = {{{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}}};
    const std::optional<M> pinnedToSquare = quadToQuad(pinned, unitSquare);
    if (!pinnedToSquare) return std::nullopt;

    const PlanePoint position = pixelPosition(s.position, image);
    const double centreX = (double(image.bounds.left) + image.bounds.right) / 2.0;
    const double centreY = (double(image.bounds.top) + image.bounds.bottom) / 2.0;
    M map = *pinnedToSquare * M::translation(-((position.x - centreX) / image.width),
                                             -((position.y - centreY) / image.height));

    const bool rotated = s.rotate != 0.0f;
    const bool sheared = s.shearX != 0.0f || s.shearY != 0.0f;
    const bool scaled = s.scaleX != 1.0f || s.scaleY != 1.0f;
    if (s.scaleX != 0.0f && s.scaleY != 0.0f && (rotated || scaled || sheared)) {
        map = map * M::translation(-0.5, -0.5);
        if (rotated || sheared) {
            if (sampling.halfHeight) map = map * M::scaling(1.0, 2.0);
            if (sampling.aspect != 1.0) map = map * M::scaling(sampling.aspect, 1.0);
            if (rotated) map = map * M::rotation(s.rotate);
            if (sheared) map = map * M::shear(s.shearX, s.shearY);
            if (sampling.aspect != 1.0) map = map * M::scaling(1.0 / sampling.aspect, 1.0);
            if (sampling.halfHeight) map = map * M::scaling(1.0, 0.5);
        }
        // The reciprocals of the 32-bit scale fields are taken in single precision.
        if (scaled) map = map * M::scaling(double(1.0f / s.scaleX), double(1.0f / s.scaleY));
        map = map * M::translation(0.5, 0.5);
    }
    if (s.anchor.x != 0.0 || s.anchor.y != 0.0)
        map = map * M::translation(double(image.bounds.width()) / image.width * s.anchor.x,
                                   double(image.bounds.height()) / image.height * s.anchor.y);
    return map;
}

void DveTransform::crop(Image& image) const {
    const DveSettings& s = settings_;
    if (s.cropTop == 0.0f && s.cropBottom == 1.0f && s.cropLeft == 0.0f && s.cropRight == 1.0f) return;
    int32_t top = cropEdge(image.height, s.cropTop);
    int32_t bottom = cropEdge(image.height, s.cropBottom);
    int32_t left = cropEdge(image.width, s.cropLeft);
    int32_t right = cropEdge(image.width, s.cropRight);
    if (top > bottom) std::swap(top, bottom);
    if (left > right) std::swap(left, right);
    clearRect(image, {0, 0, top, image.width});
    clearRect(image, {bottom, 0, image.height, image.width});
    clearRect(image, {top, 0, bottom, left});
    clearRect(image, {top, right, bottom, image.width});
}

void DveTransform::apply(Image& image, const DveSampling& sampling) const {
    if (!image.data || image.width < 1 || image.height < 1) return;
    if (image.bytesPerChannel != 1 && image.bytesPerChannel != 2)
        throw std::invalid_argument("the placement transform takes 8 or 16-bit images");
    crop(image);
    const ImagePtr source = image.clone();
    clearRect(image, {0, 0, image.height, image.width});
    const std::optional<ProjectiveMatrix> map = placementMatrix(image, sampling);
    if (!map) return;
    if (image.is16())
        resample<uint16_t>(*source, image, *map, sampling.smooth);
    else
        resample<uint8_t>(*source, image, *map, sampling.smooth);
}
