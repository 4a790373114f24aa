// The tone function and the RGB/HSV conversions shared by the colour effects.
#pragma once

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

// r, g, b in 0..1, all arithmetic in single precision.
Hsv rgbToHsv(float r, float g, float b);
// The inverse; a hue of kNoHue or a saturation of 0 gives the grey (v, v, v).
Rgb hsvToRgb(float h, float s, float v);
