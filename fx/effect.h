// The effect instance header, its class table of 15 operations, and the typed
// accessors to its parameter records.
//
// Effects are plain records: each effect type derives from Effect, holds its
// parameter array and its own state, and is driven through its EffectClass.
#pragma once

#include <array>
#include <cstdint>

#include "fx/parameter.h"
#include "fx/render_info.h"
#include "imaging/pixel_rect.h"

struct Effect;

struct EffectClass {
    Effect* (*create)();
    Effect* (*clone)(const Effect* source);
    void (*destroy)(Effect* effect);
    const char* (*title)();
    const char* (*category)();
    const char* (*group)();
    const char* (*hostTag)();
    const char* (*description)();
    const uint8_t* (*classId)();
    void (*version)(int32_t* major, int32_t* minor, int32_t* patch);
    bool (*isActive)(Effect* effect, const fx::Plugin::RenderInfo* info);
    void (*beginRender)(Effect* effect, const fx::Plugin::RenderInfo* info);
    void (*render)(Effect* effect, const fx::Plugin::RenderInfo* info);
    void (*parameterChanged)(Effect* effect, uint32_t index);
    void (*requiredSource)(Effect* effect, const fx::Plugin::RenderInfo* info, PixelRect* rect);
};

// Bits of Effect::effectFlags. Every effect starts with Initial and its constructor ORs in
// its own bits. Nothing in the framework, the host glue or the dialog acts on them: they are
// carried in the header as each effect defines them. Bits whose meaning is not known are named
// by their value, with the effects that set them.
namespace EffectFlag {
constexpr uint32_t Initial = 0x2020;
// Set by every effect of the suite.
constexpr uint32_t Standard = 8;
// Set by the colour and tone effects, whose output pixel depends on its own source pixel
// alone (they ask for no source margin).
constexpr uint32_t PixelLocal = 2;
// Set only by Fast Blur, the one effect without a menu command.
constexpr uint32_t NoMenuCommand = 0x8000;
// Glow, Streaks, Faux Film, Grain, Night Vision, Diffusion, Light! and Matte Generator.
constexpr uint32_t Mark1 = 1;
// Matte Generator.
constexpr uint32_t Mark4 = 4;
// Defocus, Fast Blur and Matte Generator.
constexpr uint32_t Mark16 = 16;
}  // namespace EffectFlag

struct Effect {
    const EffectClass* effectClass = nullptr;
    Parameter* parameters = nullptr;
    uint32_t parameterCount = 0;
    uint32_t inputCount = 0;
    uint32_t effectFlags = EffectFlag::Initial;
    uint32_t reserved = 0;

    void init(const EffectClass* cls);
    void initCopy(const Effect& source);
    void addFlags(uint32_t bits) { effectFlags |= bits; }
    // Attaches the parameter array and counts its Input records.
    void setParameters(Parameter* array, uint32_t count);

    Parameter& parameter(uint32_t i) { return parameters[i]; }
    const Parameter& parameter(uint32_t i) const { return parameters[i]; }
    double numberValue(uint32_t i) const { return parameters[i].number; }
    // The number held to its record's range, so that a damaged stored value stays usable.
    double numberInRange(uint32_t i) const { return parameters[i].numberInRange(); }
    uint32_t listValue(uint32_t i) const { return parameters[i].listIndex; }
    bool booleanValue(uint32_t i) const { return parameters[i].boolean; }
    ImagePtr inputImage(uint32_t i) const { return parameters[i].image; }
    RGBValue colorValue(uint32_t i) const { return parameters[i].color; }
    // Red, green, blue as trunc(single-precision value x 255), alpha 255.
    std::array<uint8_t, 4> color8(uint32_t i) const;
    // Red, green, blue as trunc(single-precision value x 32768), alpha 32768.
    std::array<uint16_t, 4> color16(uint32_t i) const;
    PointValue pointValue(uint32_t i) const { return parameters[i].point; }
    // Whole pixel coordinates of a point parameter on an image of the given size.
    std::array<int32_t, 2> pointPixel(uint32_t i, int32_t width, int32_t height) const;
    // The chosen file name, or null when none is chosen.
    const char* imageFilePath(uint32_t i) const;
    // Null or empty clears the file name; otherwise keeps a private copy.
    void setImageFilePath(uint32_t i, const char* text);
    void resetToDefaults();

    const char* title() const { return effectClass->title(); }
};

// The texts and identity shared by every effect class.
namespace EffectDefaults {
const char* category();
const char* group();
const char* hostTag();
const uint8_t* classId();
void version(int32_t* major, int32_t* minor, int32_t* patch);
bool isActive(Effect*, const fx::Plugin::RenderInfo*);
void beginRender(Effect*, const fx::Plugin::RenderInfo*);
void render(Effect*, const fx::Plugin::RenderInfo*);
void parameterChanged(Effect*, uint32_t);
void requiredSource(Effect*, const fx::Plugin::RenderInfo*, PixelRect*);
}  // namespace EffectDefaults
