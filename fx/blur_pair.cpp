#include "fx/blur_pair.h"

using namespace BlurPairParameter;

void defineBlurPair(Parameter* parameters, uint32_t first, const BlurPairDefinition& definition) {
    Parameter* pair = parameters + first;
    pair[kHorizontal].defineNumber(definition.horizontalKey, definition.horizontalLabel, 0.0, definition.maximum,
                                   definition.defaultSize);
    pair[kVertical].defineNumber(definition.verticalKey, definition.verticalLabel, 0.0, definition.maximum,
                                 definition.defaultSize);
    pair[kGang].defineBoolean(definition.gangKey, definition.gangLabel, definition.ganged);
    pair[kHorizontal].addFlags(definition.sizeFlags);
    pair[kVertical].addFlags(definition.sizeFlags);
    pair[kGang].addFlags(ParameterFlag::NotifyOnChange);
}

BlurSizes blurPairSizes(const Parameter* parameters, uint32_t first) {
    const Parameter* pair = parameters + first;
    const double horizontal = pair[kHorizontal].numberInRange();
    return {horizontal, pair[kGang].boolean ? horizontal : pair[kVertical].numberInRange()};
}

void blurPairChanged(Parameter* parameters, uint32_t first, uint32_t changed) {
    Parameter* pair = parameters + first;
    if (changed == first + kHorizontal && pair[kGang].boolean) {
        pair[kVertical].number = pair[kHorizontal].number;
        pair[kVertical].addFlags(ParameterFlag::NeedsRefresh);
    }
    blurGangChanged(parameters, first, changed);
}

void blurGangChanged(Parameter* parameters, uint32_t first, uint32_t changed) {
    Parameter* pair = parameters + first;
    if (changed == first + kGang) pair[kVertical].setEnabled(!pair[kGang].boolean);
}

void prepareBlur(Blur& blur, const BlurSizes& sizes, const fx::Plugin::RenderInfo& info) {
    blur.setExtraPasses(info.extraBlurPasses());
    blur.setSize(float(sizes.horizontal * info.scaleX), float(sizes.vertical * info.scaleY));
}
