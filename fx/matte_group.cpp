#include "fx/matte_group.h"

#include "fx/matte_parameters.h"

void defineMatteGroup(Parameter* parameters, const MatteGroup& group, const MatteGroupDefaults& defaults) {
    Parameter* p = parameters;
    p[group.begin].defineGroupBegin("matte", "Matte", true);
    if (group.withExtractOn) defineExtractOnList(p[group.extractOn()], 0);
    p[group.position()].defineNumber("mattePosition", "Position", 0.0, 100.0, defaults.position);
    p[group.range()].defineNumber("matteRange", "Range", 0.0, 100.0, defaults.range);
    p[group.blur()].defineNumber("matteBlur", "Blur", 0.0, 200.0, 0.0);
    p[group.end()].defineGroupEnd();
    p[group.position()].addFlags(ParameterFlag::Percent);
    p[group.range()].addFlags(ParameterFlag::Percent);
    p[group.begin].addFlags(defaults.groupFlags);
    p[group.end()].addFlags(defaults.groupFlags);
}

// "position / 100" as the effects' render steps state it (a division, not a product by 0.01);
// the range is "x 0.02".
MatteSettings matteGroupSettings(const Effect& effect, const MatteGroup& group) {
    MatteSettings settings;
    if (group.withExtractOn) settings.extractOn = effect.listValue(group.extractOn());
    settings.position = float(effect.numberInRange(group.position()) / 100);
    settings.range = float(effect.numberInRange(group.range()) * 0.02);
    settings.blurX = float(effect.numberInRange(group.blur()));
    settings.blurY = settings.blurX;
    settings.gang = true;
    return settings;
}

ImagePtr buildGroupMatte(const Effect& effect, const MatteGroup& group, const Image& source, const PixelRect& rect,
                         const fx::Plugin::RenderInfo& info) {
    MatteExtractor extractor;
    extractor.setCacheEnabled(false);
    return buildGroupMatte(extractor, effect, group, source, rect, info);
}

ImagePtr buildGroupMatte(MatteExtractor& extractor, const Effect& effect, const MatteGroup& group,
                         const Image& source, const PixelRect& rect, const fx::Plugin::RenderInfo& info) {
    const MatteSettings settings = matteGroupSettings(effect, group);
    if (group.withExtractOn) extractor.setExtractOn(settings.extractOn);
    extractor.setPosition(settings.position);
    extractor.setRange(settings.range);
    extractor.setBlur(settings.blurX);
    extractor.applyPositionRange();
    return build(extractor, source, rect, info);
}
