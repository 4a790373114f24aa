// The placement transform: crops an image, pins its four corners, moves, scales, rotates and
// shears it about its centre, shifts it by an anchor, and resamples it in place (nearest or
// bilinear) through the one projective matrix those settings make.
//
// The matrix carries every destination pixel centre to a position in the unit square of the
// source: pinned quad onto the unit square, minus the position, then about the square's
// centre the inverse rotation, shear and scale, then the anchor. Destination pixels whose
// position falls outside the source are cleared to 0 (alpha included).
//
// The parameter records that drive it from an effect's dialog live in fx/dve_parameters.h.
#pragma once

#include "imaging/image.h"
#include "imaging/projective_matrix.h"

// The transform's values in its own units: crop edges as fractions of the height (top,
// bottom) and width (left, right); position, anchor and corner pins as fractions of the
// image size from its centre; scale factors; angles in degrees.
struct DveSettings {
    float cropTop = 0.0f;
    float cropBottom = 1.0f;
    float cropLeft = 0.0f;
    float cropRight = 1.0f;
    PlanePoint position;
    PlanePoint anchor;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float shearX = 0.0f;
    float shearY = 0.0f;
    float rotate = 0.0f;
    PlanePoint cornerUpperLeft{-0.5, -0.5};
    PlanePoint cornerUpperRight{0.5, -0.5};
    PlanePoint cornerLowerRight{0.5, 0.5};
    PlanePoint cornerLowerLeft{-0.5, 0.5};

    friend bool operator==(const DveSettings&, const DveSettings&) = default;
};

// What a render tells the transform about sampling.
struct DveSampling {
    bool smooth = true;  // bilinear; nearest otherwise
    // The image is one field of an interlaced frame: rotate and shear in a frame of doubled height.
    bool halfHeight = false;
    // Pixel aspect factor: rotate and shear in a frame this many times wider.
    double aspect = 1.0;

    friend bool operator==(const DveSampling&, const DveSampling&) = default;
};

class DveTransform {
public:
    // Takes new settings; returns whether any value changed.
    bool update(const DveSettings& settings);
    const DveSettings& settings() const { return settings_; }

    // True when every value is its default: effects then skip the transform.
    bool isIdentity() const { return settings_ == DveSettings{}; }

    // The map from destination pixel positions to the source's unit square for an image of
    // this size and bounds, or none when the pinned corners are degenerate.
    std::optional<ProjectiveMatrix> placementMatrix(const Image& image, const DveSampling& sampling) const;

    // Crops, then resamples image in place (1, 2 or 4 channels, 8 or 16 bits). With degenerate
    // corner pins the image is left cleared. Out of memory for the copy propagates.
    void apply(Image& image, const DveSampling& sampling) const;

private:
    void crop(Image& image) const;
    DveSettings settings_;
};
