#include "fx/effect.h"

#include <algorithm>
#include <limits>

#include "imaging/sample_traits.h"

void Effect::init(const EffectClass* cls) {
    effectClass = cls;
    parameters = nullptr;
    parameterCount = 0;
    inputCount = 0;
    effectFlags = EffectFlag::Initial;
}

void Effect::initCopy(const Effect& source) {
    effectClass = source.effectClass;
    effectFlags = source.effectFlags;
    parameters = nullptr;
    parameterCount = 0;
    inputCount = 0;
}

void Effect::setParameters(Parameter* array, uint32_t count) {
    parameters = array;
    parameterCount = count;
    inputCount = 0;
    for (uint32_t i = 0; i < count; ++i)
        if (array[i].kind == ParameterKind::Input) ++inputCount;
}

std::array<uint8_t, 4> Effect::color8(uint32_t i) const {
    const RGBValue& c = parameters[i].color;
    return {uint8_t(truncToInt(float(c.red) * 255.0f)), uint8_t(truncToInt(float(c.green) * 255.0f)),
            uint8_t(truncToInt(float(c.blue) * 255.0f)), 255};
}

std::array<uint16_t, 4> Effect::color16(uint32_t i) const {
    const RGBValue& c = parameters[i].color;
    return {uint16_t(truncToInt(float(c.red) * 32768.0f)), uint16_t(truncToInt(float(c.green) * 32768.0f)),
            uint16_t(truncToInt(float(c.blue) * 32768.0f)), 32768};
}

namespace {

// trunc(position), or the nearest 32-bit coordinate for a point so far outside the picture
// that its pixel is beyond them.
int32_t pixelCoordinate(double position) {
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return truncToInt(std::min(std::max(position, lowest), highest));
}

}  // namespace

std::array<int32_t, 2> Effect::pointPixel(uint32_t i, int32_t width, int32_t height) const {
    const PointValue& p = parameters[i].point;
    return {pixelCoordinate((p.x + 0.5) * width), pixelCoordinate((p.y + 0.5) * height)};
}

const char* Effect::imageFilePath(uint32_t i) const {
    const std::string& path = parameters[i].path;
    return path.empty() ? nullptr : path.c_str();
}

void Effect::setImageFilePath(uint32_t i, const char* text) {
    if (!text || !*text)
        parameters[i].path.clear();
    else
        parameters[i].path = text;
}

void Effect::resetToDefaults() {
    for (uint32_t i = 0; i < parameterCount; ++i) parameters[i].resetToDefault();
}

namespace EffectDefaults {

const char* category() { return "Tessarine"; }
const char* group() { return "QEL Ravo"; }
const char* hostTag() { return "Ravo PS"; }

const uint8_t* classId() {
    // One identifier for the whole suite; nothing reads it.
    static const uint8_t id[16] = {0x52, 0x61, 0x76, 0x6f, 0x2d, 0x46, 0x58, 0x2d,
                                   0x30, 0x33, 0x2d, 0x30, 0x30, 0x2d, 0x30, 0x30};
    return id;
}

void version(int32_t* major, int32_t* minor, int32_t* patch) {
    *major = 3;
    *minor = 0;
    *patch = 0;
}

bool isActive(Effect*, const fx::Plugin::RenderInfo*) { return true; }
void beginRender(Effect*, const fx::Plugin::RenderInfo*) {}
void render(Effect*, const fx::Plugin::RenderInfo*) {}
void parameterChanged(Effect*, uint32_t) {}
void requiredSource(Effect*, const fx::Plugin::RenderInfo*, PixelRect*) {}

}  // namespace EffectDefaults
