#include "imaging/projective_matrix.h"

#include "imaging/portable_math.h"

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;

// Degrees to radians: the angle fields are 32-bit floats and so is the constant, so the
// product is taken in single precision.
double radians(float degrees) { return double(degrees * kRadiansPerDegree); }

bool isAxisAlignedRectangle(const Quad& q) {
    return q[0].y == q[1].y && q[2].y == q[3].y && q[0].x == q[3].x && q[1].x == q[2].x;
}

}  // namespace

ProjectiveMatrix ProjectiveMatrix::translation(double tx, double ty) {
    ProjectiveMatrix t;
    t.m[6] = tx;
    t.m[7] = ty;
    return t;
}

ProjectiveMatrix ProjectiveMatrix::scaling(double sx, double sy) {
    ProjectiveMatrix s;
    s.m[0] = sx;
    s.m[4] = sy;
    return s;
}

ProjectiveMatrix ProjectiveMatrix::rotation(float degrees) {
    ProjectiveMatrix r;
    if (degrees == 0.0f) return r;
    const double a = radians(degrees);
    const double c = portable::cos(a);
    const double s = portable::sin(a);
    r.m[0] = c;
    r.m[1] = -s;
    r.m[3] = s;
    r.m[4] = c;
    return r;
}

ProjectiveMatrix ProjectiveMatrix::shear(float degreesX, float degreesY) {
    ProjectiveMatrix s;
    s.m[3] = portable::tan(radians(degreesX));
    s.m[1] = portable::tan(radians(degreesY));
    return s;
}

ProjectiveMatrix ProjectiveMatrix::operator*(const ProjectiveMatrix& other) const {
    ProjectiveMatrix product;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            product.m[row * 3 + column] = m[row * 3] * other.m[column] + m[row * 3 + 1] * other.m[3 + column] +
                                          m[row * 3 + 2] * other.m[6 + column];
    return product;
}

ProjectiveMatrix ProjectiveMatrix::adjoint() const {
    const std::array<double, 9>& a = m;
    ProjectiveMatrix adj;
    adj.m = {a[4] * a[8] - a[5] * a[7], a[2] * a[7] - a[1] * a[8], a[1] * a[5] - a[2] * a[4],
             a[5] * a[6] - a[3] * a[8], a[0] * a[8] - a[2] * a[6], a[2] * a[3] - a[0] * a[5],
             a[3] * a[7] - a[4] * a[6], a[1] * a[6] - a[0] * a[7], a[0] * a[4] - a[1] * a[3]};
    return adj;
}

double ProjectiveMatrix::determinant() const {
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

std::optional<ProjectiveMatrix> squareToQuad(const Quad& quad) {
    const double x0 = quad[0].x, y0 = quad[0].y, x1 = quad[1].x, y1 = quad[1].y;
    const double x2 = quad[2].x, y2 = quad[2].y, x3 = quad[3].x, y3 = quad[3].y;
    const double sx = x0 - x1 + x2 - x3;
    const double sy = y0 - y1 + y2 - y3;
    ProjectiveMatrix map;
    if (sx == 0.0 && sy == 0.0) {
        // A parallelogram: (u, v) -> p0 + u (p1 - p0) + v (p2 - p1).
        map.m = {x1 - x0, y1 - y0, 0.0, x2 - x1, y2 - y1, 0.0, x0, y0, 1.0};
        return map;
    }
    const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
    const double denominator = dx1 * dy2 - dx2 * dy1;
    if (denominator == 0.0) return std::nullopt;
    const double g = (sx * dy2 - dx2 * sy) / denominator;
    const double h = (dx1 * sy - sx * dy1) / denominator;
    map.m = {x1 - x0 + g * x1, y1 - y0 + g * y1, g, x3 - x0 + h * x3, y3 - y0 + h * y3, h, x0, y0, 1.0};
    return map;
}

std::optional<ProjectiveMatrix> quadToQuad(const Quad& from, const Quad& to) {
    const std::optional<ProjectiveMatrix> squareToTarget = squareToQuad(to);
    if (!squareToTarget || squareToTarget->determinant() == 0.0) return std::nullopt;
    if (isAxisAlignedRectangle(from)) {
        const double width = from[1].x - from[0].x;
        const double height = from[3].y - from[0].y;
        if (width == 0.0 || height == 0.0) return std::nullopt;
        return ProjectiveMatrix::translation(-from[0].x, -from[0].y) *
               ProjectiveMatrix::scaling(1.0 / width, 1.0 / height) * *squareToTarget;
    }
    const std::optional<ProjectiveMatrix> squareToSource = squareToQuad(from);
    if (!squareToSource || squareToSource->determinant() == 0.0) return std::nullopt;
    return squareToSource->adjoint() * *squareToTarget;
}
