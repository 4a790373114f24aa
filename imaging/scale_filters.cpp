#include "imaging/scale_filters.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "imaging/portable_math.h"

namespace fx {
namespace {

constexpr double kPi = 3.14159265358979323846;

double pointKernel(double x) { return (x >= -0.5 && x < 0.5) ? 1.0 : 0.0; }

double triangleKernel(double x) {
    const double a = std::fabs(x);
    return a < 1.0 ? 1.0 - a : 0.0;
}

double quadraticKernel(double x) {
    const double a = std::fabs(x);
    if (a < 0.5) return 0.75 - x * x;
    if (a < 1.5) return 0.5 * (a - 1.5) * (a - 1.5);
    return 0.0;
}

double cubicKernel(double x) {
    const double a = std::fabs(x);
    if (a < 1.0) return (3.0 * a * a * a - 6.0 * x * x + 4.0) / 6.0;
    if (a < 2.0) return (2.0 - a) * (2.0 - a) * (2.0 - a) / 6.0;
    return 0.0;
}

double catromKernel(double x) {
    const double a = std::fabs(x);
    if (a < 1.0) return (3.0 * a * a * a - 5.0 * x * x + 2.0) / 2.0;
    if (a < 2.0) return (-a * a * a + 5.0 * x * x - 8.0 * a + 4.0) / 2.0;
    return 0.0;
}

// The Mitchell-Netravali cubic with B = C = 1/3, its coefficients worked out once.
struct MitchellCoefficients {
    double p0, p1, p2, q0, q1, q2, q3;
    MitchellCoefficients() {
        const double b = 1.0 / 3.0;
        const double c = 1.0 / 3.0;
        p0 = (6.0 - 2.0 * b) / 6.0;
        p1 = (-18.0 + 12.0 * b + 6.0 * c) / 6.0;
        p2 = (12.0 - 9.0 * b - 6.0 * c) / 6.0;
        q0 = (8.0 * b + 24.0 * c) / 6.0;
        q1 = (-12.0 * b - 48.0 * c) / 6.0;
        q2 = (6.0 * b + 30.0 * c) / 6.0;
        q3 = (-b - 6.0 * c) / 6.0;
    }
};

double mitchellKernel(double x) {
    static const MitchellCoefficients k;
    const double a = std::fabs(x);
    if (a < 1.0) return k.p0 + x * x * (k.p1 + a * k.p2);
    if (a < 2.0) return k.q0 + a * (k.q1 + a * (k.q2 + a * k.q3));
    return 0.0;
}

double gaussianKernel(double x) {
    static const double norm = std::sqrt(2.0 / kPi);
    return portable::exp(-2.0 * x * x) * norm;
}

double sincKernel(double x) {
    if (x == 0.0) return 1.0;
    const double t = kPi * x;
    return portable::sin(t) / t;
}

// Listed for completeness; nothing selects it.
double besselKernel(double) { return 0.0; }

double hanningKernel(double x) { return 0.5 + 0.5 * portable::cos(kPi * x); }
double hammingKernel(double x) { return 0.54 + 0.46 * portable::cos(kPi * x); }
double blackmanKernel(double x) {
    return 0.42 + 0.5 * portable::cos(kPi * x) + 0.08 * portable::cos(2.0 * kPi * x);
}

// The modified Bessel function of the first kind, order 0, by its power series.
double besselI0(double y) {
    const double quarterSquare = y * y / 4.0;
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1;; ++k) {
        term = term * quarterSquare / (double(k) * double(k));
        sum += term;
        if (term < 1e-7) break;
    }
    return sum;
}

double kaiserKernel(double x) {
    constexpr double alpha = 6.5;
    static const double inverseI0Alpha = 1.0 / besselI0(alpha);
    const double inside = 1.0 - x * x;
    if (inside < 0.0) return 0.0;
    return besselI0(alpha * std::sqrt(inside)) * inverseI0Alpha;
}

const ScaleFilter kFilters[] = {
    {"point", pointKernel, 0.0, 1.0, false, true, true},
    {"box", pointKernel, 0.5, 1.0, false, true, true},
    {"triangle", triangleKernel, 1.0, 1.0, false, true, true},
    {"quadratic", quadraticKernel, 1.5, 1.0, false, false, true},
    {"cubic", cubicKernel, 2.0, 1.0, false, false, true},
    {"catrom", catromKernel, 2.0, 1.0, false, true, false},
    {"mitchell", mitchellKernel, 2.0, 1.0, false, false, false},
    {"gaussian", gaussianKernel, 1.25, 1.0, false, false, true},
    {"sinc", sincKernel, 4.0, 1.0, true, true, false},
    {"bessel", besselKernel, 3.2383, 1.0, true, false, false},
    {"hanning", hanningKernel, 1.0, 1.0, false, true, true},
    {"hamming", hammingKernel, 1.0, 1.0, false, true, true},
    {"blackman", blackmanKernel, 1.0, 1.0, false, true, true},
    {"kaiser", kaiserKernel, 1.0, 1.0, false, true, true},
};

}  // namespace

const ScaleFilter* findFilter(const char* name) {
    if (!name) return nullptr;
    for (const ScaleFilter& filter : kFilters)
        if (std::strcmp(filter.name, name) == 0) return &filter;
    return nullptr;
}

const ScaleFilter* scaleFilters() { return kFilters; }
size_t scaleFilterCount() { return std::size(kFilters); }

}  // namespace fx
