// The measures of a pixel that effects select on ("Extract On"): luminance, hue, saturation,
// the average, one channel or the mean of two. Each gives a level 0..full of the sample type,
// in integer arithmetic except hue and saturation:
//
//   Luminance  luma (8-bit (76 R + 150 G + 29 B) / 255, 16-bit (9798 R + 19235 G + 3735 B) / 32768)
//   Hue        h / 360 of full scale: h from rgbToHsv of the levels scaled by the 32-bit float
//              1 / full, then trunc(h x (1/360) x full) in single precision, at most full
//   Saturation trunc((max - min) / max x full), a double quotient; 0 for black
//   Average    (R + G + B) / 3
//   Red, Green, Blue                 the channel
//   Cyan, Magenta, Yellow            (G + B) / 2, (R + B) / 2, (R + G) / 2
//
// A grey has no hue; what hue measures for it is the caller's rule (GreyHue). A one-channel
// pixel is a grey: every measure sees R = G = B.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

#include "imaging/color.h"
#include "imaging/luma.h"
#include "imaging/sample_traits.h"

// In the order of the effects' "Extract On" lists.
enum class PixelMeasure : uint32_t {
    Luminance = 0,
    Hue = 1,
    Saturation = 2,
    Average = 3,
    Red = 4,
    Green = 5,
    Blue = 6,
    Cyan = 7,
    Magenta = 8,
    Yellow = 9,
};
constexpr uint32_t kPixelMeasureCount = 10;

// The list items, one per measure in order.
inline constexpr const char* kPixelMeasureNames[kPixelMeasureCount] = {
    "Luminance", "Hue", "Saturation", "Average", "Red", "Green", "Blue", "Cyan", "Magenta", "Yellow"};

// What Hue measures for a grey pixel.
enum class GreyHue {
    Zero,        // level 0, the hue of red
    Unmeasured,  // kUnmeasured: no level at all
};
constexpr int32_t kUnmeasured = -1;

// The measure `kind` of pixels of `Channels` (1 or 4) samples of type Sample, as a function object.
template <class Sample, uint32_t Channels, PixelMeasure kind, GreyHue grey = GreyHue::Zero>
struct MeasureOf {
    static constexpr int32_t full = SampleTraits<Sample>::full;
    static constexpr uint32_t kGreen = Channels == 4 ? 1 : 0;
    static constexpr uint32_t kBlue = Channels == 4 ? 2 : 0;

    int32_t operator()(const Sample* p) const {
        const int32_t r = p[0], g = p[kGreen], b = p[kBlue];
        if constexpr (kind == PixelMeasure::Hue) {
            constexpr float scale = 1.0f / float(full);
            const Hsv hsv = rgbToHsv(float(r) * scale, float(g) * scale, float(b) * scale);
            if (hsv.s == 0.0f) return grey == GreyHue::Zero ? 0 : kUnmeasured;
            // A hue that rounded up to 360 stays within the scale.
            return std::min(truncToInt(hsv.h * (1.0f / 360.0f) * float(full)), full);
        } else if constexpr (kind == PixelMeasure::Saturation) {
            const int32_t maximum = std::max({r, g, b});
            if (maximum == 0) return 0;
            const int32_t minimum = std::min({r, g, b});
            return truncToInt(double(maximum - minimum) / double(maximum) * full);
        } else if constexpr (kind == PixelMeasure::Average) {
            return (r + g + b) / 3;
        } else if constexpr (kind == PixelMeasure::Red) {
            return r;
        } else if constexpr (kind == PixelMeasure::Green) {
            return g;
        } else if constexpr (kind == PixelMeasure::Blue) {
            return b;
        } else if constexpr (kind == PixelMeasure::Cyan) {
            return (g + b) / 2;
        } else if constexpr (kind == PixelMeasure::Magenta) {
            return (r + b) / 2;
        } else if constexpr (kind == PixelMeasure::Yellow) {
            return (r + g) / 2;
        } else if constexpr (Channels == 4) {
            return luma(p);
        } else {
            return r;  // a grey is its own luminance (the weights sum to full)
        }
    }
};

// Calls body(measure) with the function object of measure index `index` (an index past the
// list measures luminance), so that the body's pixel loop is made once per measure and the
// choice is taken once per call, not per pixel.
template <class Sample, uint32_t Channels, GreyHue grey, class Body>
decltype(auto) withPixelMeasure(uint32_t index, Body&& body) {
    auto with = [&]<PixelMeasure kind>() -> decltype(auto) {
        return std::forward<Body>(body)(MeasureOf<Sample, Channels, kind, grey>());
    };
    switch (PixelMeasure(index)) {
        case PixelMeasure::Hue: return with.template operator()<PixelMeasure::Hue>();
        case PixelMeasure::Saturation: return with.template operator()<PixelMeasure::Saturation>();
        case PixelMeasure::Average: return with.template operator()<PixelMeasure::Average>();
        case PixelMeasure::Red: return with.template operator()<PixelMeasure::Red>();
        case PixelMeasure::Green: return with.template operator()<PixelMeasure::Green>();
        case PixelMeasure::Blue: return with.template operator()<PixelMeasure::Blue>();
        case PixelMeasure::Cyan: return with.template operator()<PixelMeasure::Cyan>();
        case PixelMeasure::Magenta: return with.template operator()<PixelMeasure::Magenta>();
        case PixelMeasure::Yellow: return with.template operator()<PixelMeasure::Yellow>();
        default: return with.template operator()<PixelMeasure::Luminance>();
    }
}
