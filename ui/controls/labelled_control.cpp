#include "ui/controls/labelled_control.h"

#include <algorithm>

namespace PSDriver {

namespace {
ps::ADMRect controlBounds(const ps::ADMRect& bounds) {
    return {bounds.left, bounds.top, bounds.right, bounds.top + LabelledControl::kHeight};
}
}  // namespace

LabelledControl::LabelledControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter,
                                 int parameterIndex)
    : ItemControl(dialog, parameter, parameterIndex, ps::controlItemID(parameterIndex, ps::kRavoControlWhole),
                  controlBounds(bounds)) {
    const ps::ADMRect line = valueLine();
    addPart<ADM::Label>(ps::kRavoControlLabel, {line.left, bounds.top, line.right, line.top}, parameter.label);
}

ps::ADMRect LabelledControl::valueLine() const {
    const ps::ADMRect b = bounds();
    return {b.left, b.top + kLabelHeight, b.right - kRightInset, b.bottom};
}

ps::ADMRect LabelledControl::valueLineStart(ps::int32 width) const {
    ps::ADMRect line = valueLine();
    line.right = std::min(line.right, line.left + width);
    return line;
}

ps::ADMRect LabelledControl::valueLineEnd(ps::int32 width) const {
    ps::ADMRect line = valueLine();
    line.left = line.right - width;
    return line;
}

ps::ADMRect LabelledControl::valueLineBefore(ps::int32 width) const {
    ps::ADMRect line = valueLine();
    line.right -= width + kGap;
    return line;
}

}  // namespace PSDriver
