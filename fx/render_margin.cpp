#include "fx/render_margin.h"

#include <algorithm>
#include <cmath>

#include "imaging/blur.h"
#include "imaging/matte_morphology.h"

namespace {

int64_t roundedUp(double scaled) {
    if (!(scaled > 0.0)) return 0;
    return int64_t(std::min(std::ceil(scaled), double(kLargestSourceMargin)));
}

// The blur halves its 32-bit float size: the scaled size is taken as one.
int64_t blurReach(double size, double scale, const fx::Plugin::RenderInfo& info) {
    const double scaled = size * scale;
    return std::max(roundedUp(scaled), int64_t(Blur::margin(float(scaled), info.extraBlurPasses() + 1)));
}

}  // namespace

SourceMargin blurMargin(const BlurSizes& sizes, const fx::Plugin::RenderInfo& info) {
    return {blurReach(sizes.horizontal, info.scaleX, info), blurReach(sizes.vertical, info.scaleY, info)};
}

SourceMargin matteMargin(const MatteSettings& settings, const fx::Plugin::RenderInfo& info) {
    const double shrinkGrow = double(settings.shrinkGrow);
    const SourceMargin adjust = {shrinkGrowMargin(shrinkGrow * info.scaleX), shrinkGrowMargin(shrinkGrow * info.scaleY)};
    const float vertical = settings.gang ? settings.blurX : settings.blurY;
    return adjust + blurMargin({double(settings.blurX), double(vertical)}, info);
}

SourceMargin scaledSizeMargin(const BlurSizes& sizes, const fx::Plugin::RenderInfo& info) {
    return {roundedUp(sizes.horizontal * info.scaleX), roundedUp(sizes.vertical * info.scaleY)};
}
