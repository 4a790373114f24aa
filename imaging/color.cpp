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

Hsv rgbToHsv(float r, float g, float b) {
    const float maximum = std::max(r, std::max(g, b));
    const float minimum = std::min(r, std::min(g, b));
    const float delta = maximum - minimum;
    Hsv result;
    result.v = maximum;
    result.s = maximum != 0.0f ? delta / maximum : 0.0f;
    if (result.s == 0.0f) {
        result.h = kNoHue;
        return result;
    }
    const float rc = (maximum - r) / delta;
    const float gc = (maximum - g) / delta;
    const float bc = (maximum - b) / delta;
    float h;
    if (r == maximum)
        h = bc - gc;
    else if (g == maximum)
        h = 2.0f + rc - bc;
    else
        h = 4.0f + gc - rc;
    h = h * 60.0f;
    if (h < 0.0f) h = h + 360.0f;
    result.h = h;
    return result;
}

Rgb hsvToRgb(float h, float s, float v) {
    if (h == kNoHue || s == 0.0f) return {v, v, v};
    if (h == 360.0f) h = 0.0f;
    // The sector index uses the single-precision factor 1/60 (0.016666668); the fraction
    // within the sector is a single-precision division by 60, as the two steps are written.
    const float sector = std::floor(h * 0.016666668f);
    // Sectors past 5 fall to the first case below, so 6 stands for all of them.
    const int i = !(sector > 0.0f) ? 0 : sector >= 6.0f ? 6 : truncToInt(sector);
    const float f = h / 60.0f - float(i);
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - f * s);
    const float t = v * (1.0f - (1.0f - f) * s);
    switch (i) {
        case 1: return {q, v, p};
        case 2: return {p, v, t};
        case 3: return {p, q, v};
        case 4: return {t, p, v};
        case 5: return {v, p, q};
        default: return {v, t, p};
    }
}
