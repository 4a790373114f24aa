#include "fx/glow_parameters.h"

#include <iterator>

namespace {

constexpr const char* kGlowModeItems[] = {"Subtle", "Spread"};
constexpr const char* kBlendItems[] = {"Screen", "ADD"};

}  // namespace

void defineGlowModeList(Parameter& record, uint32_t defaultIndex) {
    record.defineList("glowMode", "Glow", kGlowModeItems, uint32_t(std::size(kGlowModeItems)), defaultIndex);
}

void defineBlendList(Parameter& record, const char* key, const char* label, uint32_t defaultIndex) {
    record.defineList(key, label, kBlendItems, uint32_t(std::size(kBlendItems)), defaultIndex);
}
