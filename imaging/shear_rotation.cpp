#include "imaging/shear_rotation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "imaging/portable_math.h"
#include "imaging/sample_dispatch.h"
#include "imaging/sample_traits.h"

namespace {

// The angles in radians as single-precision products: angle x pi x (1/360) for the half angle,
// angle x pi x (1/180) for the whole one, each product rounded to a float.
constexpr float kPi = 3.14159265358979f;
constexpr float kOneOver360 = 1.0f / 360.0f;
constexpr float kOneOver180 = 1.0f / 180.0f;

float radiansOf(float degrees, float perDegree) {
    const float turned = degrees * kPi;
    const float radians = turned * perDegree;
    return radians;
}

void checkLayout(const Image& image) {
    if (image.channels != 1 || (image.bytesPerChannel != 1 && image.bytesPerChannel != 2) || !image.data)
        throw std::invalid_argument("shear rotation: the image must have one channel of 8 or 16 bits");
}

}  // namespace

ShearRotation::ShearRotation(float degrees, double centreX, double centreY)
    : skew_(-portable::tan(double(radiansOf(degrees, kOneOver360)))),
      lean_(portable::sin(double(radiansOf(degrees, kOneOver180)))),
      centreX_(centreX),
      centreY_(centreY) {
    // Each truncated shift lies less than 1 from the exact one. Carried through the later
    // shears, a point lands less than 1 + |lean| (down) and 2 + |skew| (1 + |lean|) (across)
    // from where the exact rotation takes it; two points, twice that from each other.
    slack_ = int32_t(std::ceil(2.0 * (2.0 + std::abs(skew_) * (1.0 + std::abs(lean_)))));
}

// The distance from the centre is measured to the middle of the row or column.
int32_t ShearRotation::rowShift(int32_t y) const { return truncToInt(skew_ * (double(y) + 0.5 - centreY_)); }
int32_t ShearRotation::columnShift(int32_t x) const { return truncToInt(lean_ * (double(x) + 0.5 - centreX_)); }

PixelPoint ShearRotation::forward(PixelPoint p) const {
    const int32_t x1 = p.x + rowShift(p.y);
    const int32_t y1 = p.y + columnShift(x1);
    return {x1 + rowShift(y1), y1};
}

PixelPoint ShearRotation::backward(PixelPoint p) const {
    const int32_t x1 = p.x - rowShift(p.y);
    const int32_t y1 = p.y - columnShift(x1);
    return {x1 - rowShift(y1), y1};
}

int64_t ShearRotation::reachBack(int64_t distance) const {
    const double turned = double(distance) * std::max(std::abs(lean_), std::sqrt(std::max(0.0, 1.0 - lean_ * lean_)));
    return int64_t(std::ceil(turned)) + slack_;
}

// Every target pixel from the source pixel that lands on it: the three shears undone in reverse
// order. A target row undoes the last shear by one shift; the vertical shear's shifts are
// monotone across the columns, so the columns whose pixels come from the source's rows form
// one run, found by bisection, and the rest of the row is 0.
template <class Sample>
void ShearRotation::gather(const Image& source, const PixelRect& from, Image& target, const PixelRect& to) const {
    std::vector<int32_t> sourceRowShifts(size_t(from.height()));
    for (int32_t y = from.top; y < from.bottom; ++y) sourceRowShifts[size_t(y - from.top)] = rowShift(y);
    const int32_t firstShift = rowShift(to.top), lastShift = rowShift(to.bottom - 1);
    const int32_t columnBase = to.left - std::max(firstShift, lastShift);
    const int32_t columnEnd = to.right - std::min(firstShift, lastShift);
    std::vector<int32_t> columnShifts(size_t(columnEnd - columnBase));
    for (int32_t x = columnBase; x < columnEnd; ++x) columnShifts[size_t(x - columnBase)] = columnShift(x);
    const bool rising = lean_ >= 0.0;

    for (int32_t y = to.top; y < to.bottom; ++y) {
        Sample* out = target.row<Sample>(y - to.top);
        const int32_t shift = rowShift(y);
        // Columns x1 = x - shift whose source row y - columnShift(x1) lies in from: lowest <
        // columnShift(x1) <= highest.
        const int32_t lowest = y - from.bottom, highest = y - from.top;
        const auto begin = columnShifts.begin() + (to.left - shift - columnBase);
        const auto end = begin + to.width();
        auto first = rising ? std::partition_point(begin, end, [&](int32_t s) { return s <= lowest; })
                            : std::partition_point(begin, end, [&](int32_t s) { return s > highest; });
        auto last = rising ? std::partition_point(first, end, [&](int32_t s) { return s <= highest; })
                           : std::partition_point(first, end, [&](int32_t s) { return s > lowest; });
        std::fill(out, out + (first - begin), Sample(0));
        std::fill(out + (last - begin), out + to.width(), Sample(0));
        for (auto at = first; at != last; ++at) {
            const int32_t column = int32_t(at - begin);
            const int32_t x1 = to.left + column - shift;
            const int32_t sourceRow = y - *at;
            const int32_t x0 = x1 - sourceRowShifts[size_t(sourceRow - from.top)] - from.left;
            out[column] = x0 >= 0 && x0 < from.width() ? source.row<Sample>(sourceRow - from.top)[x0] : Sample(0);
        }
    }
}

// The corners' places bound every pixel's place within the truncations' slack.
PixelRect ShearRotation::turnedArea(const PixelRect& area) const {
    if (area.isEmpty()) return {};
    const PixelPoint corners[4] = {forward({area.left, area.top}), forward({area.right - 1, area.top}),
                                   forward({area.right - 1, area.bottom - 1}), forward({area.left, area.bottom - 1})};
    PixelRect held = {corners[0].y, corners[0].x, corners[0].y + 1, corners[0].x + 1};
    for (const PixelPoint& corner : corners) {
        held.top = std::min(held.top, corner.y);
        held.left = std::min(held.left, corner.x);
        held.bottom = std::max(held.bottom, corner.y + 1);
        held.right = std::max(held.right, corner.x + 1);
    }
    return held.grown(slack_, slack_);
}

PlacedImage ShearRotation::rotate(const PlacedImage& source, int32_t border) const {
    checkLayout(*source.image);
    const PixelRect from = source.area();
    if (from.isEmpty()) throw std::invalid_argument("shear rotation: the image is empty");
    const int32_t margin = std::max(border, 0);
    const PixelRect to = turnedArea(from).grown(margin, margin);
    PlacedImage rotated{ImagePtr::make({to.width(), to.height()}, 1, source.image->bytesPerChannel), to.left, to.top};
    withSampleType(*source.image, [&]<class Sample>() { gather<Sample>(*source.image, from, *rotated.image, to); });
    return rotated;
}

void ShearRotation::rotateInto(const PlacedImage& source, const PlacedImage& target) const {
    checkLayout(*source.image);
    checkLayout(*target.image);
    if (source.image->bytesPerChannel != target.image->bytesPerChannel)
        throw std::invalid_argument("shear rotation: source and target differ in sample size");
    const PixelRect from = source.area(), to = target.area();
    if (to.isEmpty()) return;
    if (from.isEmpty()) {
        withSampleType(*target.image, [&]<class Sample>() {
            for (int32_t y = 0; y < to.height(); ++y) std::fill_n(target.image->row<Sample>(y), to.width(), Sample(0));
        });
        return;
    }
    withSampleType(*source.image, [&]<class Sample>() { gather<Sample>(*source.image, from, *target.image, to); });
}

ShearShifts::ShearShifts(const ShearRotation& rotation, const PixelRect& source) {
    const PixelRect turned = rotation.turnedArea(source);
    const int32_t top = std::min(source.top, turned.top), bottom = std::max(source.bottom, turned.bottom);
    // Rows shift monotonically: the widest shift is at one end.
    const int32_t widestShift = std::max(std::abs(rotation.rowShift(top)), std::abs(rotation.rowShift(bottom - 1)));
    const int32_t left = std::min(source.left, turned.left) - widestShift;
    const int32_t right = std::max(source.right, turned.right) + widestShift;
    top_ = top;
    left_ = left;
    rows_.resize(size_t(bottom - top));
    for (int32_t y = top; y < bottom; ++y) rows_[size_t(y - top)] = rotation.rowShift(y);
    columns_.resize(size_t(right - left));
    for (int32_t x = left; x < right; ++x) columns_[size_t(x - left)] = rotation.columnShift(x);
}
