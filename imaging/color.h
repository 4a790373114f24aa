// The tone function and the RGB/HSV conversions shared by the colour effects.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "imaging/sample_traits.h"

// Bends, brightens and contrasts a level x in 0..1 and returns the result in 0..1.
// bend in (-1, 1) lifts (positive) or lowers the middle levels while keeping 0 and 1;
// gain scales by 1 + gain; contrast stretches (positive, 1 or more is a hard threshold
// at 0.5) or flattens (negative) around 0.5.
double toneAdjust(double x, double gain, double contrast, double bend);

// Hue of a pixel without one (a grey).
constexpr float kNoHue = -1.0f;

struct Hsv {
    float h = 0.0f;  // degrees in 0..360, or kNoHue
    float s = 0.0f;  // 0..1
    float v = 0.0f;  // 0..1
};

struct Rgb {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

// floor of a float, exactly as std::floor gives it, without a call into the maths library
// where the range of a 32-bit integer allows (the baseline x86-64 has no rounding instruction).
inline float floorOfLevel(float x) {
    if (!(std::fabs(x) < 2147483648.0f)) return std::floor(x);
    const float truncated = float(int32_t(x));
    return truncated > x ? truncated - 1.0f : truncated;
}

// The conversions run once per pixel in the colour effects, so they are inline.

// r, g, b in 0..1, all arithmetic in single precision.
inline Hsv rgbToHsv(float r, float g, float b) {
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

// The inverse; a hue of kNoHue or a saturation of 0 gives the grey (v, v, v).
inline Rgb hsvToRgb(float h, float s, float v) {
    if (h == kNoHue || s == 0.0f) return {v, v, v};
    if (h == 360.0f) h = 0.0f;
    // The sector index uses the single-precision factor 1/60 (0.016666668); the fraction
    // within the sector is a single-precision division by 60, as the two steps are written.
    const float sector = floorOfLevel(h * 0.016666668f);
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

