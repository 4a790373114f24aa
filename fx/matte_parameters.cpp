#include "fx/matte_parameters.h"

#include <algorithm>
#include <iterator>

using namespace MatteParameter;

namespace {

constexpr uint16_t kListMark = 4;
constexpr uint16_t kSliderMarks = ParameterFlag::Open | ParameterFlag::Percent;

}  // namespace

void defineMeasureList(Parameter& record, const char* key, uint32_t defaultIndex) {
    record.defineList(key, "Extract On", kPixelMeasureNames, kPixelMeasureCount, defaultIndex);
}

void defineExtractOnList(Parameter& record, uint32_t defaultIndex) {
    defineMeasureList(record, "extractOn", defaultIndex);
    record.addFlags(kListMark);
}

void defineParameters(const MatteExtractor& extractor, Parameter* parameters, uint32_t firstIndex) {
    Parameter* group = parameters + firstIndex;
    defineExtractOnList(group[kExtractOn], extractor.extractOn());
    // The defaults are products of 32-bit float fields, so they are taken in single precision.
    group[kPosition].defineNumber("position", "Position", 0.0, 100.0, double(extractor.position() * 100.0f));
    group[kRange].defineNumber("range", "Range", 0.0, 100.0, double(extractor.range() * 50.0f));
    group[kClipGroup].defineGroupBegin("clip", "Clip", true);
    group[kClipBlack].defineNumber("clipBlack", "Clip Black", 0.0, 100.0, 0.0);
    group[kClipWhite].defineNumber("clipWhite", "Clip White", 0.0, 100.0, 0.0);
    group[kClipGroupEnd].defineGroupEnd();
    group[kMatteAdjust].defineNumber("matteAdjust", "Shrink/Grow", -50.0, 50.0, 0.0);
    group[kMatteBlurX].defineNumber("matteBlurX", "Horizontal Blur", 0.0, 500.0, double(extractor.blurX()));
    group[kMatteBlurY].defineNumber("matteBlurY", "Vertical Blur", 0.0, 500.0, double(extractor.blurY()));
    group[kMatteBlurGang].defineBoolean("matteBlurGang", "Gang Blur", extractor.gang());
    group[kInvert].defineBoolean("invert", "Invert", false);

    group[kPosition].addFlags(kSliderMarks);
    group[kRange].addFlags(kSliderMarks);
    group[kClipBlack].addFlags(kSliderMarks);
    group[kClipWhite].addFlags(kSliderMarks);
    group[kMatteBlurGang].addFlags(ParameterFlag::NotifyOnChange);
    // "Vertical Blur" follows the gang from the start, not only once the dialog reports the switch.
    group[kMatteBlurY].setEnabled(!extractor.gang());
}

void onParameterChanged(MatteExtractor&, Parameter* group, uint32_t index) {
    if (index == kMatteBlurGang) group[kMatteBlurY].setEnabled(!group[kMatteBlurGang].boolean);
}

MatteSettings matteSettings(const Parameter* group) {
    MatteSettings settings;
    settings.extractOn = group[kExtractOn].listIndex;
    settings.position = float(group[kPosition].numberInRange() * 0.01);
    settings.range = float(group[kRange].numberInRange() * 0.02);
    settings.clipBlack = float(group[kClipBlack].numberInRange() * 0.01);
    settings.clipWhite = float(group[kClipWhite].numberInRange() * 0.01);
    settings.shrinkGrow = float(group[kMatteAdjust].numberInRange());
    settings.blurX = float(group[kMatteBlurX].numberInRange());
    settings.blurY = float(group[kMatteBlurY].numberInRange());
    settings.gang = group[kMatteBlurGang].boolean;
    settings.invert = group[kInvert].boolean;
    return settings;
}

bool update(MatteExtractor& extractor, const Parameter* group, const fx::Plugin::RenderInfo& renderInfo) {
    return extractor.update(matteSettings(group), renderInfo.is16 ? 2 : 1);
}

MatteBuildContext matteBuildContext(const fx::Plugin::RenderInfo& renderInfo) {
    MatteBuildContext context;
    context.scaleX = renderInfo.scaleX;
    context.scaleY = renderInfo.scaleY;
    context.extraBlurPasses = renderInfo.extraBlurPasses();
    context.reuseCached = renderInfo.allowsCachedMatte();
    return context;
}

ImagePtr build(MatteExtractor& extractor, const Image& source, const PixelRect& rect,
               const fx::Plugin::RenderInfo& renderInfo) {
    return extractor.build(source, rect, matteBuildContext(renderInfo));
}
