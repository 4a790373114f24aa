// 3x3 projective matrices of the plane, and the maps between quadrilaterals built from them.
//
// Matrices are row-major and apply to row vectors: [x', y', w'] = [x, y, 1] x M, the point
// being (x' / w', y' / w'). A product A * B applies A first.
#pragma once

#include <array>
#include <optional>

struct PlanePoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const PlanePoint&, const PlanePoint&) = default;
};

// Four corners in the order of the unit square's (0, 0), (1, 0), (1, 1), (0, 1): upper-left,
// upper-right, lower-right, lower-left when y grows downwards.
using Quad = std::array<PlanePoint, 4>;

struct HomogeneousPoint {
    double x;
    double y;
    double w;
};

struct ProjectiveMatrix {
    std::array<double, 9> m = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};

    static ProjectiveMatrix identity() { return {}; }
    static ProjectiveMatrix translation(double tx, double ty);
    static ProjectiveMatrix scaling(double sx, double sy);
    // Angles in degrees, converted to radians with the single-precision pi/180 in single
    // precision: cos and sin of a on the diagonal, -sin a in m[1], sin a in m[3].
    static ProjectiveMatrix rotation(float degrees);
    // tan of the x angle in m[3], tan of the y angle in m[1].
    static ProjectiveMatrix shear(float degreesX, float degreesY);

    ProjectiveMatrix operator*(const ProjectiveMatrix& other) const;
    // The adjoint: the inverse times the determinant, the same projective map without a division.
    ProjectiveMatrix adjoint() const;
    double determinant() const;

    HomogeneousPoint map(double x, double y) const {
        return {x * m[0] + y * m[3] + m[6], x * m[1] + y * m[4] + m[7], x * m[2] + y * m[5] + m[8]};
    }
};

// The map of the unit square onto the quad: affine for a parallelogram, projective otherwise.
// None when the projective solution's denominator is 0.
std::optional<ProjectiveMatrix> squareToQuad(const Quad& quad);

// The map of quad `from` onto quad `to`, directly from the rectangle when `from` is an
// axis-aligned rectangle. None when either quad is degenerate (no area).
std::optional<ProjectiveMatrix> quadToQuad(const Quad& from, const Quad& to);
