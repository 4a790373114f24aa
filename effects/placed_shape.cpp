#include "effects/placed_shape.h"

#include <algorithm>

#include "imaging/blur.h"
#include "imaging/pixel_utils.h"
#include "imaging/sample_dispatch.h"

const Image* PlacedShape::image(const ShapeRecipe& recipe) {
    if (recipe_ && *recipe_ == recipe) return shape_;
    clear();
    const Image* read = file_.image(recipe.pattern.c_str(), recipe.sixteenBit);
    const bool blurred = recipe.blurX > 0.0f || recipe.blurY > 0.0f;
    DveTransform transform;
    transform.update(recipe.placement);
    ImagePtr placed;
    std::optional<ProjectiveMatrix> placement;
    if (read && (!transform.isIdentity() || blurred)) {
        placed = read->clone();
        if (!transform.isIdentity()) {
            transform.apply(*placed, recipe.sampling);
            placement = transform.placementMatrix(*placed, recipe.sampling);
        }
        if (blurred) {
            Blur blur;
            blur.setExtraPasses(recipe.extraPasses);
            blur.setSize(recipe.blurX, recipe.blurY);
            blur.apply(*placed, placed->bounds);
        }
    }
    placed_ = std::move(placed);
    shape_ = placed_ ? placed_.get() : read;
    placement_ = placement;
    identity_ = transform.isIdentity();
    recipe_ = recipe;
    return shape_;
}

void PlacedShape::clearOutside(Image& matte, const PixelRect& rect, const ShapeReading& reading) const {
    const PixelRect area = rect.intersected(matte.bounds);
    if (area.isEmpty() || (shape_ && identity_)) return;
    withSampleType(matte, [&]<class Sample>() {
        for (int32_t y = area.top; y < area.bottom; ++y) {
            Sample* row = matte.row<Sample>(y);
            const double shapeY = (double(reading.originY) + y) * reading.ratioY;
            for (int32_t x = area.left; x < area.right; ++x) {
                bool inside = false;
                if (shape_ && placement_) {
                    const HomogeneousPoint p = placement_->map((double(reading.originX) + x) * reading.ratioX, shapeY);
                    const double u = p.x / p.w;
                    const double v = p.y / p.w;
                    inside = u >= 0.0 && u < 1.0 && v >= 0.0 && v < 1.0;
                }
                if (!inside) row[x] = 0;
            }
        }
    });
}

void PlacedShape::clear() {
    recipe_.reset();
    shape_ = nullptr;
    placed_.reset();
    placement_.reset();
    identity_ = true;
}
