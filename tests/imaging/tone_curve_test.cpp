#include "imaging/tone_curve.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

struct PresetCase {
    const char* name;
    ToneCurve (*make)();
    double x;
    double expected;
};

TEST(ToneCurve, PresetsGiveTheLevelAtTheControlPointsAndBeyond) {
    const PresetCase cases[] = {
        PresetCase{"identity", &ToneCurve::identity, 0.0, 0.0}, PresetCase{"identity", &ToneCurve::identity, 0.25, 0.25},
        PresetCase{"identity", &ToneCurve::identity, 1.0, 1.0}, PresetCase{"identity", &ToneCurve::identity, 1.5, 1.0},
        PresetCase{"midtones", &ToneCurve::midtones, 0.5, 1.0}, PresetCase{"midtones", &ToneCurve::midtones, 0.3888, 0.5},
        PresetCase{"midtones", &ToneCurve::midtones, 0.6111, 0.5}, PresetCase{"midtones", &ToneCurve::midtones, 0.1111, 0.0},
        PresetCase{"midtones", &ToneCurve::midtones, 0.05, 0.0}, PresetCase{"midtones", &ToneCurve::midtones, 0.0, 0.0},
        PresetCase{"midtones", &ToneCurve::midtones, 0.8888, 0.0}, PresetCase{"midtones", &ToneCurve::midtones, 0.95, 0.0},
        PresetCase{"midtones", &ToneCurve::midtones, 1.0, 0.0}, PresetCase{"shadows", &ToneCurve::shadows, 0.0, 1.0},
        PresetCase{"shadows", &ToneCurve::shadows, 0.05, 0.85}, PresetCase{"shadows", &ToneCurve::shadows, 1.0, 0.0},
        PresetCase{"highlights", &ToneCurve::highlights, 0.0, 0.0},
        PresetCase{"highlights", &ToneCurve::highlights, 0.95, 0.85},
        PresetCase{"highlights", &ToneCurve::highlights, 1.0, 1.0}};
    for (const PresetCase& c : cases) EXPECT_EQ(c.make().evaluate(c.x), c.expected) << c.name << " at " << c.x;
}

TEST(ToneCurve, NaturalSplineThroughThreePointsMatchesTheHandSolution) {
    // Interior second derivative: 2 (0.5 + 0.5) d = 6 (-2 - 2), so d = -12; at x = 0.25 the
    // segment polynomial is 0.25 (3 + 0.25 (0 - 4 x 0.25)) = 0.6875.
    const CurvePoint points[] = {{0.0, 0.0}, {0.5, 1.0}, {1.0, 0.0}};
    ToneCurve curve(points, 3);
    EXPECT_EQ(curve.interpolation(), ToneCurve::Spline);
    EXPECT_DOUBLE_EQ(curve.evaluate(0.25), 0.6875);
    EXPECT_DOUBLE_EQ(curve.point(1).secondDerivative, -12.0);
    EXPECT_DOUBLE_EQ(curve.evaluate(0.75), 0.6875);
    EXPECT_EQ(curve.evaluate(0.5), 1.0);
}

TEST(ToneCurve, SplineThroughCollinearPointsIsTheLine) {
    const CurvePoint points[] = {{0.0, 0.1}, {0.2, 0.2}, {0.6, 0.4}, {1.0, 0.6}};
    ToneCurve curve(points, 4);
    for (double x = 0.05; x < 1.0; x += 0.1) EXPECT_NEAR(curve.evaluate(x), 0.1 + 0.5 * x, 1e-15) << x;
}

TEST(ToneCurve, LinearInterpolationAndEndsHeldFlat) {
    const CurvePoint points[] = {{0.0, 0.0}, {0.5, 1.0}, {1.0, 0.0}};
    ToneCurve curve(points, 3);
    curve.setInterpolation(ToneCurve::Linear);
    EXPECT_DOUBLE_EQ(curve.evaluate(0.25), 0.5);
    EXPECT_EQ(curve.evaluate(0.5), 1.0);
    EXPECT_DOUBLE_EQ(curve.evaluate(0.875), 0.25);

    const CurvePoint ramp[] = {{0.2, 0.3}, {0.6, 0.7}};
    ToneCurve two(ramp, 2);
    EXPECT_EQ(two.interpolation(), ToneCurve::Linear);
    EXPECT_EQ(two.evaluate(0.0), 0.3);
    EXPECT_EQ(two.evaluate(0.9), 0.7);
    EXPECT_DOUBLE_EQ(two.evaluate(0.4), 0.5);
    // A two-point spline is the same straight line.
    two.setInterpolation(ToneCurve::Spline);
    EXPECT_DOUBLE_EQ(two.evaluate(0.4), 0.5);
}

TEST(ToneCurve, ClampingLimitsTheSplineOvershoot) {
    const CurvePoint points[] = {{0.0, 0.0}, {0.4, 1.0}, {0.6, 1.0}, {1.0, 0.0}};
    ToneCurve curve(points, 4);
    EXPECT_TRUE(curve.clampOutput());
    EXPECT_EQ(curve.evaluate(0.5), 1.0);
    curve.setClampOutput(false);
    EXPECT_GT(curve.evaluate(0.5), 1.0);
}

TEST(ToneCurve, WithoutPointsTheInputPassesClamped) {
    ToneCurve curve;
    EXPECT_EQ(curve.evaluate(0.3), 0.3);
    EXPECT_EQ(curve.evaluate(1.5), 1.0);
    EXPECT_EQ(curve.evaluate(-0.2), 0.0);
}

TEST(ToneCurve, UnknownInterpolationReturnsTheInput) {
    ToneCurve curve = ToneCurve::midtones();
    curve.setInterpolation(7);
    EXPECT_EQ(curve.evaluate(0.3), 0.3);
    EXPECT_EQ(curve.evaluate(0.95), 0.0);  // beyond the last point the end level still holds
}

TEST(ToneCurve, PointsSharingOneAbscissaGiveTheEndLevels) {
    // A zero-width window: every point at the same x.
    const CurvePoint points[] = {{0.5, 0.0}, {0.5, 0.2}, {0.5, 1.0}, {0.5, 0.2}, {0.5, 0.0}};
    ToneCurve curve(points, 5);
    for (double x : {0.0, 0.4999, 0.5, 0.5001, 1.0}) EXPECT_EQ(curve.evaluate(x), 0.0) << x;
}

TEST(ToneCurve, IsIdentityOnlyForExactlyTheTwoCorners) {
    const CurvePoint nearly[] = {{0.0, 0.0}, {1.0, 0.99}};
    const CurvePoint three[] = {{0.0, 0.0}, {0.5, 0.5}, {1.0, 1.0}};
    EXPECT_TRUE(ToneCurve::identity().isIdentity());
    EXPECT_FALSE(ToneCurve(nearly, 2).isIdentity());
    EXPECT_FALSE(ToneCurve(three, 3).isIdentity());
    EXPECT_FALSE(ToneCurve().isIdentity());
}

TEST(ToneCurve, SetPointsResetsInterpolationAndClamping) {
    ToneCurve curve;
    curve.setClampOutput(false);
    const CurvePoint three[] = {{0.0, 0.0}, {0.5, 0.8}, {1.0, 1.0}};
    curve.setPoints(three, 3);
    EXPECT_EQ(curve.interpolation(), ToneCurve::Spline);
    EXPECT_TRUE(curve.clampOutput());
    EXPECT_EQ(curve.point(1).secondDerivative, 0.0);
    curve.setPoints(three, 2);
    EXPECT_EQ(curve.interpolation(), ToneCurve::Linear);
    EXPECT_EQ(curve.pointCount(), 2u);
}

TEST(ToneCurve, RefusesMoreThanTenPointsAndKeepsItsCurve) {
    std::vector<CurvePoint> points;
    for (int i = 0; i < 11; ++i) points.push_back({i / 10.0, i / 10.0});
    EXPECT_THROW(ToneCurve(points.data(), points.size()), std::length_error);

    ToneCurve curve = ToneCurve::midtones();
    EXPECT_THROW(curve.setPoints(points.data(), points.size()), std::length_error);
    EXPECT_EQ(curve.pointCount(), 5u);
    EXPECT_EQ(curve.evaluate(0.5), 1.0);

    EXPECT_NO_THROW(curve.setPoints(points.data(), 10));
    EXPECT_DOUBLE_EQ(curve.evaluate(0.45), 0.45);
}

}  // namespace
