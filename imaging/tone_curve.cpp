#include "imaging/tone_curve.h"

#include <array>
#include <stdexcept>

namespace {

constexpr CurvePoint kIdentityPoints[] = {{0.0, 0.0}, {1.0, 1.0}};
constexpr CurvePoint kShadowPoints[] = {{0.0, 1.0}, {0.05, 0.85}, {1.0, 0.0}};
constexpr CurvePoint kMidtonePoints[] = {{0.1111, 0.0}, {0.3888, 0.5}, {0.5, 1.0}, {0.6111, 0.5}, {0.8888, 0.0}};
constexpr CurvePoint kHighlightPoints[] = {{0.0, 0.0}, {0.95, 0.85}, {1.0, 1.0}};

// Limits a result to 0..1; a result that is not a number (points that share an x
// can produce one) becomes 0 so that tables built from it stay in range.
double clampUnit(double y) {
    if (!(y >= 0.0)) return 0.0;
    if (y > 1.0) return 1.0;
    return y;
}

}  // namespace

ToneCurve::ToneCurve(const CurvePoint* points, size_t count) { setPoints(points, count); }

ToneCurve ToneCurve::identity() { return ToneCurve(kIdentityPoints, std::size(kIdentityPoints)); }
ToneCurve ToneCurve::shadows() { return ToneCurve(kShadowPoints, std::size(kShadowPoints)); }
ToneCurve ToneCurve::midtones() { return ToneCurve(kMidtonePoints, std::size(kMidtonePoints)); }
ToneCurve ToneCurve::highlights() { return ToneCurve(kHighlightPoints, std::size(kHighlightPoints)); }

void ToneCurve::setPoints(const CurvePoint* points, size_t count) {
    if (count > kMaxPoints) throw std::length_error("a tone curve holds at most 10 points");
    points_.resize(count);
    for (size_t i = 0; i < count; ++i) points_[i] = {points[i].x, points[i].y, 0.0};
    interpolation_ = count > 2 ? Spline : Linear;
    splineDirty_ = true;
    clampOutput_ = true;
}

bool ToneCurve::isIdentity() const {
    return points_.size() == 2 && points_[0].x == 0.0 && points_[0].y == 0.0 && points_[1].x == 1.0 &&
           points_[1].y == 1.0;
}

double ToneCurve::evaluate(double x) {
    double y = x;
    if (!points_.empty()) {
        if (x <= points_.front().x) {
            y = points_.front().y;
        } else if (x >= points_.back().x) {
            y = points_.back().y;
        } else if (interpolation_ == Linear || (interpolation_ == Spline && points_.size() == 2)) {
            y = interpolateLinear(x);
        } else if (interpolation_ == Spline) {
            y = interpolateSpline(x);
        } else {
            return x;  // an unknown interpolation passes the input through, unclamped
        }
    }
    return clampOutput_ ? clampUnit(y) : y;
}

// x lies strictly between the first and the last point.
double ToneCurve::interpolateLinear(double x) const {
    size_t k = 1;
    while (k < points_.size() - 1 && points_[k].x < x) ++k;
    const ControlPoint& p1 = points_[k];
    if (p1.x == x) return p1.y;
    const ControlPoint& p0 = points_[k - 1];
    // The same expression as the spline segment with both second derivatives 0.
    return p0.y + (x - p0.x) * ((p1.y - p0.y) / (p1.x - p0.x));
}

// x lies strictly between the first and the last point; there are at least three points.
double ToneCurve::interpolateSpline(double x) {
    if (splineDirty_) solveSecondDerivatives();
    size_t k = 0;
    while (k + 1 < points_.size() && !(points_[k].x <= x && x < points_[k + 1].x)) ++k;
    // Unsorted points can leave x in no segment: the curve then holds the last point's level.
    if (k + 1 >= points_.size()) return points_.back().y;
    const ControlPoint& p0 = points_[k];
    const ControlPoint& p1 = points_[k + 1];
    const double h = p1.x - p0.x;
    const double t = x - p0.x;
    const double b = (p1.y - p0.y) / h - (2.0 * p0.secondDerivative + p1.secondDerivative) * h / 6.0;
    const double c = p0.secondDerivative / 2.0;
    const double e = (p1.secondDerivative - p0.secondDerivative) / (6.0 * h);
    return p0.y + t * (b + t * (c + e * t));
}

// Natural spline: second derivative 0 at both ends; the interior rows
//   h[i-1] d[i-1] + 2 (h[i-1] + h[i]) d[i] + h[i] d[i+1] = 6 (slope[i] - slope[i-1])
// form a tridiagonal system, solved by forward elimination and back substitution.
void ToneCurve::solveSecondDerivatives() {
    const size_t n = points_.size();
    for (ControlPoint& p : points_) p.secondDerivative = 0.0;
    if (n >= 3) {
        std::array<double, kMaxPoints> h{};
        std::array<double, kMaxPoints> slope{};
        std::array<double, kMaxPoints> diagonal{};
        std::array<double, kMaxPoints> rhs{};
        for (size_t i = 0; i + 1 < n; ++i) {
            h[i] = points_[i + 1].x - points_[i].x;
            slope[i] = (points_[i + 1].y - points_[i].y) / h[i];
        }
        for (size_t i = 1; i + 1 < n; ++i) {
            diagonal[i] = 2.0 * (h[i - 1] + h[i]);
            rhs[i] = 6.0 * (slope[i] - slope[i - 1]);
        }
        for (size_t i = 2; i + 1 < n; ++i) {
            const double factor = h[i - 1] / diagonal[i - 1];
            diagonal[i] = diagonal[i] - factor * h[i - 1];
            rhs[i] = rhs[i] - factor * rhs[i - 1];
        }
        points_[n - 2].secondDerivative = rhs[n - 2] / diagonal[n - 2];
        for (size_t i = n - 2; i-- > 1;)
            points_[i].secondDerivative = (rhs[i] - h[i] * points_[i + 1].secondDerivative) / diagonal[i];
    }
    splineDirty_ = false;
}
