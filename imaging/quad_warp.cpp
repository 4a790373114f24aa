#include "imaging/quad_warp.h"

#include <optional>
#include <stdexcept>

#include "imaging/pixel_utils.h"
#include "imaging/point_sampling.h"

namespace {

// A position held to 0..1; NaN (a pixel on the map's vanishing line) counts as 0.
double unitRange(double value) {
    if (!(value > 0.0)) return 0.0;
    return value > 1.0 ? 1.0 : value;
}

template <class Sample>
void warp(Image& destination, const Image& source, const PixelRect& rect, int32_t originX, int32_t originY,
          const ProjectiveMatrix& map, double divisor) {
    const double width = source.width;
    const double height = source.height;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        Sample* out = destination.row<Sample>(y);
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const HomogeneousPoint p = map.map(double(x) + originX, double(y) + originY);
            const double u = unitRange(p.x / p.w);
            const double v = unitRange(p.y / p.w);
            point_sampling::sampleBilinear(source, u * width / divisor, v * height / divisor, out + x);
        }
    }
}

}  // namespace

void quadWarp(Image& destination, const Image& source, const PixelRect& rect, int32_t originX, int32_t originY,
              const Quad& quad, double scale, double divisor) {
    if (destination.channels != 1 || source.channels != 1 || destination.bytesPerChannel != source.bytesPerChannel ||
        (source.bytesPerChannel != 1 && source.bytesPerChannel != 2))
        throw std::invalid_argument("quadWarp takes one-channel images of one sample size");
    const PixelRect area = rect.intersected({0, 0, destination.height, destination.width});
    if (area.isEmpty()) return;
    const double c = (1.0 - scale) * 0.5;
    const Quad square = {{{-c, -c}, {1.0 + c, -c}, {1.0 + c, 1.0 + c}, {-c, 1.0 + c}}};
    const std::optional<ProjectiveMatrix> map = quadToQuad(quad, square);
    if (!map || source.width < 1 || source.height < 1 || !(divisor > 0.0)) {
        clearRect(destination, area);
        return;
    }
    if (source.is16())
        warp<uint16_t>(destination, source, area, originX, originY, *map, divisor);
    else
        warp<uint8_t>(destination, source, area, originX, originY, *map, divisor);
}
