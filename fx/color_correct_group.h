// The colour-correct group that the glow family, the graduated filters and Polarizer apply to
// the whole picture: hue shift, saturation, brightness, contrast, gamma, the red, green and blue
// amounts and the warm/cool shift.
//
//   begin       "density" GroupBegin, open
//   hue         "hue" "Hue" -360..360 (degrees)
//   saturation  "saturation" "Saturation" -100..100, percent
//   brightness  "brightness" "Brightness" -100..100, percent
//   contrast    "contrast" "Contrast" -100..100, percent
//   gamma       "gamma" "Gamma" -100..100, percent
//   red, green, blue  "red" "Red", "green" "Green", "blue" "Blue" -100..100
//   warmCool    "Warm/Cool" -50..50 (key set by the effect)
//   end         GroupEnd
#pragma once

#include <cstdint>

#include "fx/effect.h"
#include "imaging/image.h"
#include "imaging/pixel_rect.h"

struct ColorCorrectGroup {
    uint32_t begin;

    constexpr uint32_t hue() const { return begin + 1; }
    constexpr uint32_t saturation() const { return begin + 2; }
    constexpr uint32_t brightness() const { return begin + 3; }
    constexpr uint32_t contrast() const { return begin + 4; }
    constexpr uint32_t gamma() const { return begin + 5; }
    constexpr uint32_t red() const { return begin + 6; }
    constexpr uint32_t green() const { return begin + 7; }
    constexpr uint32_t blue() const { return begin + 8; }
    constexpr uint32_t warmCool() const { return begin + 9; }
    constexpr uint32_t end() const { return begin + 10; }
    constexpr uint32_t count() const { return 11; }
};

struct ColorCorrectGroupDefaults {
    const char* label = "Color Correct";
    double saturation = 0.0;
    double brightness = 0.0;
    const char* warmCoolKey = "warmCool";
    // Bits ORed into the begin and end records (FramedGroup in some effects).
    uint16_t groupFlags = 0;
};

void defineColorCorrectGroup(Parameter* parameters, const ColorCorrectGroup& group,
                             const ColorCorrectGroupDefaults& defaults);

// How a percentage becomes a fraction. The two readings differ in the last bit for some
// values (7 x 0.01 is 0.07000000000000001, 7 / 100 is 0.07), and the tone tables built from
// them can differ by a level, so each effect keeps the reading it was made with.
enum class PercentReading {
    TimesOneHundredth,  // value x 0.01: the graduated filters and Polarizer
    OverOneHundred,     // value / 100: the glow and mist looks
};

// The colour-correct pass with the group's values (hue in degrees, the others as fractions, no
// multiply) over rect of an RGBA picture, then the warm/cool shift by its value as a fraction.
void applyColorCorrectGroup(const Effect& effect, const ColorCorrectGroup& group, PercentReading reading,
                            Image& image, const PixelRect& rect);
