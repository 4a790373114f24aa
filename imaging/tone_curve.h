// A control-point tone curve over 0..1: linear or natural-cubic-spline
// interpolation between at most 10 points, with four preset shapes.
//
// The curve is a value type. Its second derivatives are solved lazily, on the
// first spline evaluation after the points change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One control point as callers give it.
struct CurvePoint {
    double x = 0.0;
    double y = 0.0;
};

class ToneCurve {
public:
    // The spline solver's working storage holds this many points; more are refused.
    static constexpr size_t kMaxPoints = 10;

    enum Interpolation : uint32_t {
        Linear = 0,
        Spline = 1,
        // Any other value makes evaluate return its input unchanged.
    };

    // A stored control point with the spline's second derivative there.
    struct ControlPoint {
        double x = 0.0;
        double y = 0.0;
        double secondDerivative = 0.0;
    };

    // No points (evaluate returns its input, clamped), linear, clamped.
    ToneCurve() = default;
    // As setPoints. Throws std::length_error for more than kMaxPoints points.
    ToneCurve(const CurvePoint* points, size_t count);

    static ToneCurve identity();
    static ToneCurve shadows();
    static ToneCurve midtones();
    static ToneCurve highlights();

    // Replaces the points (second derivatives 0); spline for more than two points,
    // linear otherwise; clamping on. Throws std::length_error for more than kMaxPoints
    // points and leaves the curve unchanged.
    void setPoints(const CurvePoint* points, size_t count);

    // True only for exactly the two points (0, 0) and (1, 1).
    bool isIdentity() const;

    double evaluate(double x);

    size_t pointCount() const { return points_.size(); }
    const ControlPoint& point(size_t i) const { return points_[i]; }
    uint32_t interpolation() const { return interpolation_; }
    void setInterpolation(uint32_t interpolation) { interpolation_ = interpolation; }
    bool clampOutput() const { return clampOutput_; }
    void setClampOutput(bool on) { clampOutput_ = on; }

private:
    double interpolateLinear(double x) const;
    double interpolateSpline(double x);
    void solveSecondDerivatives();

    std::vector<ControlPoint> points_;
    uint32_t interpolation_ = Linear;
    bool splineDirty_ = false;
    bool clampOutput_ = true;
};
