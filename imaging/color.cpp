#include "imaging/color.h"

#include <algorithm>
#include <cmath>

#include "imaging/sample_traits.h"

double toneAdjust(double x, double gain, double contrast, double bend) {
    // Bend: a square-root curve through (0, 0) and (1, 1).
    if (bend != 0.0) {
        const double q = (1.0 - bend) * (1.0 - bend) + 4.0 * bend * x;
        const double root = q <= 0.0 ? 0.0 : std::sqrt(q);
        x = (root - (1.0 - bend + bend * x)) / bend;
    }
    x = x * (1.0 + gain);
    if (contrast > 0.0) {
        if (1.0 - contrast <= 0.0) return x >= 0.5 ? 1.0 : 0.0;
        x = (x - 0.5) / (1.0 - contrast) + 0.5;
    } else if (contrast < 0.0) {
        x = (x - 0.5) * (contrast + 1.0) + 0.5;
    }
    if (!(x >= 0.0)) return 0.0;  // also maps a result that is not a number to 0
    if (x > 1.0) return 1.0;
    return x;
}

