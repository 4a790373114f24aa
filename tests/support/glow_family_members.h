// The glow and mist looks with the scripting keys in which they differ, for the tests that run
// every member with the same settings: the seven without grain, and Faux Film, which adds
// grain after the glow.
#pragma once

namespace test_support {

struct GlowLookKeys {
    const char* key;
    const char* blend;
    const char* brightness;
    const char* blurH;
    const char* blurV;
    const char* gang;  // null without a gang switch
};

inline constexpr GlowLookKeys kGlowLooks[] = {
    {"BlackMist", "glowBlend", "glowBrightness", "glowBlurH", "glowBlurV", "glowBlurGang"},
    {"CoolMist", "glowBlend", "glowBrightness", "glowBlurH", "glowBlurV", "glowBlurGang"},
    {"WarmMist", "glowBlend", "glowBrightness", "glowBlurH", "glowBlurV", "glowBlurGang"},
    {"Mist", "glowBlend", "glowBrightness", "glowBlurH", "glowBlurV", "glowBlurGang"},
    {"Fog", "fogBlend", "fogLevel", "fogBlurH", "fogBlurV", "fogBlurGang"},
    {"Glow", "glowBlend", "glowBrightness", "glowHBlur", "glowVBlur", "glowGangBlur"},
    {"Streaks", "glowBlend", "glowBrightness", "glowHBlur", "glowVBlur", nullptr},
};

// Black Mist's keys with the grain group after the glow group.
inline constexpr GlowLookKeys kFauxFilm = {"FauxFilm", "glowBlend", "glowBrightness",
                                           "glowBlurH", "glowBlurV", "glowBlurGang"};

}  // namespace test_support
