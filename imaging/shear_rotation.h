// Rotation of a one-channel image by three shears: a horizontal shear by -tan(angle / 2), a
// vertical shear by sin(angle) and the horizontal shear again. Each shear moves a whole row (or
// column) by its distance from the centre times the shear factor, truncated toward zero to
// whole pixels, so every pass is a permutation of the pixel grid and nothing is resampled:
// the rotated image holds exactly the source's samples, with 0 where no pixel lands.
//
// Positions are whole-pixel coordinates on a plane shared by the source and the result. The
// shifts depend only on a row's or column's place on that plane, never on the image being
// rotated, so the pixels of a part of a picture land where they land when the whole picture
// is rotated; a tile of a picture rotates like the picture. Truncation toward zero is odd,
// so a rotation by -angle about the same centre undoes a rotation by angle exactly.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/image.h"
#include "imaging/pixel_rect.h"

// An image laid on the plane: its pixel (0, 0) lies at (left, top).
struct PlacedImage {
    ImagePtr image;
    int32_t left = 0;
    int32_t top = 0;

    // The plane's pixels the image covers.
    PixelRect area() const { return {top, left, top + image->height, left + image->width}; }
};

// A whole pixel of the plane.
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

class ShearRotation {
public:
    // angle in degrees, turning the plane's x axis toward its y axis (clockwise on a picture
    // whose rows run downward); the centre in plane coordinates, where pixel (x, y) covers
    // [x, x + 1) x [y, y + 1): the centre of a w x h picture at the origin is (w / 2, h / 2).
    ShearRotation(float degrees, double centreX, double centreY);

    // Where the pixel at p lands.
    PixelPoint forward(PixelPoint p) const;
    // The pixel that lands at p: forward(backward(p)) == p for every p.
    PixelPoint backward(PixelPoint p) const;

    // The source (one channel, 8 or 16 bits) rotated into a new image that holds every one of
    // its pixels, with `border` rows and columns of 0 around them. Throws std::invalid_argument
    // for another layout, std::bad_alloc when the image cannot be had.
    PlacedImage rotate(const PlacedImage& source, int32_t border) const;
    // The part of the rotated source that lies over target's area, written into target: each
    // target pixel takes the source pixel that lands on it, or 0. Source and target have the
    // same layout (one channel, 8 or 16 bits); throws std::invalid_argument otherwise.
    void rotateInto(const PlacedImage& source, const PlacedImage& target) const;

    // The rectangle of the plane that holds every pixel of `area` once turned.
    PixelRect turnedArea(const PixelRect& area) const;
    // Whether the shears shift neighbouring rows and columns by at most one pixel from each
    // other, as they do for angles from -90 to 90 degrees: then along every row or column of
    // the turned frame both coordinates of the pixels' sources change monotonically.
    bool keepsLinesInOrder() const { return std::abs(skew_) <= 1.0; }

    // How far apart two pixels can lie, at most, along either axis of the plane when their
    // rotated places lie `distance` apart along a row or a column: the distance turned back
    // by the angle, and the truncations of the shifts of both.
    int64_t reachBack(int64_t distance) const;

    // Shift of row y by the horizontal shears, of column x by the vertical shear.
    int32_t rowShift(int32_t y) const;
    int32_t columnShift(int32_t x) const;

private:
    template <class Sample>
    void gather(const Image& source, const PixelRect& from, Image& target, const PixelRect& to) const;

    double skew_;  // -tan(angle / 2)
    double lean_;  // sin(angle)
    double centreX_;
    double centreY_;
    // How far apart, at most, the places of two pixels lie from where the exact rotation puts them.
    int32_t slack_ = 0;
};

// The shifts of the rows and columns around an area, computed once and looked up: for mapping
// every pixel of an image. The area holds the source pixels and their turned places; every
// point mapped to or from them, and every step between, lies within the tables.
class ShearShifts {
public:
    ShearShifts(const ShearRotation& rotation, const PixelRect& source);

    int32_t row(int32_t y) const { return rows_[size_t(y - top_)]; }
    int32_t column(int32_t x) const { return columns_[size_t(x - left_)]; }
    // As ShearRotation::forward for a pixel of the source area, and backward for a place where
    // one of them lands.
    PixelPoint forward(PixelPoint p) const {
        const int32_t x1 = p.x + row(p.y);
        const int32_t y1 = p.y + column(x1);
        return {x1 + row(y1), y1};
    }
    PixelPoint backward(PixelPoint p) const {
        const int32_t x1 = p.x - row(p.y);
        const int32_t y1 = p.y - column(x1);
        return {x1 - row(y1), y1};
    }

private:
    int32_t top_ = 0;
    int32_t left_ = 0;
    std::vector<int32_t> rows_;
    std::vector<int32_t> columns_;
};
