#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>

#include "imaging/portable_math.h"

namespace {

using Function = double (*)(double);

// Distance in representable doubles (0 for two NaNs).
uint64_t ulpDistance(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return 0;
    auto ordered = [](double v) {
        const int64_t bits = std::bit_cast<int64_t>(v);
        return bits < 0 ? std::numeric_limits<int64_t>::min() - bits : bits;
    };
    const int64_t d = ordered(a) - ordered(b);
    return d < 0 ? uint64_t(-d) : uint64_t(d);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Angles as the effects make them: degrees times the single-precision pi/180, in single precision.
constexpr double kDegree90 = double(90.0f * 0.017453292f);
constexpr double kDegree45 = double(45.0f * 0.017453292f);

struct SpecialPoint {
    const char* name;
    Function function;
    double x;
    double expected;  // the correctly rounded value
};

// sign bit included: -0 must stay -0.
TEST(PortableMath, SpecialPointsGiveTheCorrectlyRoundedValue) {
    const SpecialPoint points[] = {
        {"sin 0", portable::sin, 0.0, 0.0},
        {"sin -0", portable::sin, -0.0, -0.0},
        {"cos 0", portable::cos, 0.0, 1.0},
        {"cos -0", portable::cos, -0.0, 1.0},
        {"tan 0", portable::tan, 0.0, 0.0},
        {"tan -0", portable::tan, -0.0, -0.0},
        {"sin pi/2", portable::sin, 0x1.921fb54442d18p+0, 1.0},
        {"cos pi/2", portable::cos, 0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54},
        {"tan pi/2", portable::tan, 0x1.921fb54442d18p+0, 0x1.d02967c31cdb5p+53},
        {"sin pi", portable::sin, 0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53},
        {"cos pi", portable::cos, 0x1.921fb54442d18p+1, -1.0},
        {"tan pi", portable::tan, 0x1.921fb54442d18p+1, -0x1.1a62633145c07p-53},
        {"sin 3pi/2", portable::sin, 0x1.2d97c7f3321d2p+2, -1.0},
        {"cos 3pi/2", portable::cos, 0x1.2d97c7f3321d2p+2, -0x1.a79394c9e8a0ap-53},
        {"tan 3pi/2", portable::tan, 0x1.2d97c7f3321d2p+2, 0x1.3570efd768923p+52},
        {"sin 2pi", portable::sin, 0x1.921fb54442d18p+2, -0x1.1a62633145c07p-52},
        {"cos 2pi", portable::cos, 0x1.921fb54442d18p+2, 1.0},
        {"sin pi/4", portable::sin, 0x1.921fb54442d18p-1, 0x1.6a09e667f3bccp-1},
        {"cos pi/4", portable::cos, 0x1.921fb54442d18p-1, 0x1.6a09e667f3bcdp-1},
        {"tan pi/4", portable::tan, 0x1.921fb54442d18p-1, 0x1.fffffffffffffp-1},
        {"sin 90 deg", portable::sin, kDegree90, 0x1.ffffffffffff7p-1},
        {"cos 90 deg", portable::cos, kDegree90, -0x1.777a5cf72ceccp-25},
        {"tan 90 deg", portable::tan, kDegree90, -0x1.5d14946dc9897p+24},
        {"tan 45 deg", portable::tan, kDegree45, 0x1.000000bbbd2ecp+0},
        {"sin -1", portable::sin, -1.0, -0x1.aed548f090ceep-1},
        {"cos 100", portable::cos, 100.0, 0x1.b981dbf665fdfp-1},
        {"sin tiny", portable::sin, 0x1p-30, 0x1p-30},
        {"cos tiny", portable::cos, 0x1p-30, 1.0},
        {"sin 1e22", portable::sin, 1e22, -0x1.b453ab76bf397p-1},
        {"cos 1e22", portable::cos, 1e22, 0x1.0be2cef01c8f4p-1},
        {"tan 1e22", portable::tan, 1e22, -0x1.a0f79c1b6b257p+0},
        {"sin max", portable::sin, std::numeric_limits<double>::max(), 0x1.452fc98b34e97p-8},
        {"cos max", portable::cos, std::numeric_limits<double>::max(), -0x1.fffe62ecfab75p-1},
        {"exp 0", portable::exp, 0.0, 1.0},
        {"exp -0", portable::exp, -0.0, 1.0},
        {"exp 1", portable::exp, 1.0, 0x1.5bf0a8b145769p+1},
        {"exp -1", portable::exp, -1.0, 0x1.78b56362cef38p-2},
        {"exp 0.5", portable::exp, 0.5, 0x1.a61298e1e069cp+0},
        {"exp -3.125", portable::exp, -3.125, 0x1.67ee6d9ff847cp-5},
        {"exp tiny", portable::exp, 1e-300, 1.0},
        {"exp largest finite", portable::exp, 0x1.62e42fefa39efp+9, 0x1.fffffffffff2ap+1023},
        {"exp overflow", portable::exp, 709.79, kInf},
        {"exp subnormal", portable::exp, -708.5, 0x0.e6cf6d08897acp-1022},
        {"exp smallest subnormal", portable::exp, -745.13, 0x0.0000000000001p-1022},
        {"exp underflow", portable::exp, -745.14, 0.0},
        {"exp inf", portable::exp, kInf, kInf},
        {"exp -inf", portable::exp, -kInf, 0.0},
    };
    for (const SpecialPoint& p : points) {
        const double result = p.function(p.x);
        EXPECT_EQ(std::bit_cast<uint64_t>(result), std::bit_cast<uint64_t>(p.expected))
            << p.name << ": " << std::hexfloat << result << " instead of " << p.expected;
    }
}

TEST(PortableMath, InfinitiesAndNaNGiveNaN) {
    for (Function f : {portable::sin, portable::cos, portable::tan}) {
        EXPECT_TRUE(std::isnan(f(kInf)));
        EXPECT_TRUE(std::isnan(f(-kInf)));
        EXPECT_TRUE(std::isnan(f(kNaN)));
    }
    EXPECT_TRUE(std::isnan(portable::exp(kNaN)));
}

struct SampledRange {
    const char* name;
    Function ours;
    Function runtime;
    double low;
    double high;
};

// Against the C runtime of this build (glibc, whose results are within an ulp of the exact
// value): at most one ulp apart everywhere, and identical in all but a small fraction.
TEST(PortableMath, AgreesWithTheRuntimeWithinOneUlp) {
    constexpr int kSamples = 200000;
    const SampledRange ranges[] = {
        {"sin, four turns", portable::sin, [](double x) { return std::sin(x); }, -25.2, 25.2},
        {"cos, four turns", portable::cos, [](double x) { return std::cos(x); }, -25.2, 25.2},
        {"tan, shear range", portable::tan, [](double x) { return std::tan(x); }, -0.9, 0.9},
        {"tan, four turns", portable::tan, [](double x) { return std::tan(x); }, -25.2, 25.2},
        {"sin, large", portable::sin, [](double x) { return std::sin(x); }, -1e15, 1e15},
        {"cos, huge", portable::cos, [](double x) { return std::cos(x); }, -1e300, 1e300},
        {"exp, kernel range", portable::exp, [](double x) { return std::exp(x); }, -3.2, 0.0},
        {"exp, whole range", portable::exp, [](double x) { return std::exp(x); }, -745.0, 709.7},
        {"exp, subnormal results", portable::exp, [](double x) { return std::exp(x); }, -745.0, -708.4},
    };
    std::mt19937_64 random(20240611);
    for (const SampledRange& range : ranges) {
        std::uniform_real_distribution<double> argument(range.low, range.high);
        int differing = 0;
        uint64_t worst = 0;
        double worstAt = 0.0;
        for (int i = 0; i < kSamples; ++i) {
            const double x = argument(random);
            const uint64_t distance = ulpDistance(range.ours(x), range.runtime(x));
            if (distance != 0) ++differing;
            if (distance > worst) {
                worst = distance;
                worstAt = x;
            }
        }
        std::printf("  %-24s %6.3f %% of %d arguments differ, by at most %llu ulp\n", range.name,
                    100.0 * differing / kSamples, kSamples, static_cast<unsigned long long>(worst));
        EXPECT_LE(worst, 1u) << range.name << " at " << std::hexfloat << worstAt;
        EXPECT_LT(differing, kSamples / 100) << range.name;
    }
}

// Every whole and quarter degree of four turns either way, converted as the effects convert.
TEST(PortableMath, DegreeAnglesAgreeWithTheRuntimeWithinOneUlp) {
    for (int quarter = -4 * 1440; quarter <= 4 * 1440; ++quarter) {
        const double radians = double(float(quarter) * 0.25f * 0.017453292f);
        EXPECT_LE(ulpDistance(portable::sin(radians), std::sin(radians)), 1u) << quarter;
        EXPECT_LE(ulpDistance(portable::cos(radians), std::cos(radians)), 1u) << quarter;
        EXPECT_LE(ulpDistance(portable::tan(radians), std::tan(radians)), 1u) << quarter;
    }
}

TEST(PortableMath, OddAndEvenSymmetryIsExact) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> argument(0.0, 100.0);
    for (int i = 0; i < 10000; ++i) {
        const double x = argument(random);
        ASSERT_EQ(portable::sin(-x), -portable::sin(x)) << x;
        ASSERT_EQ(portable::cos(-x), portable::cos(x)) << x;
        ASSERT_EQ(portable::tan(-x), -portable::tan(x)) << x;
    }
}

}  // namespace
