#include "ui/controls/number_control.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "imaging/sample_traits.h"

namespace PSDriver {

namespace {

// The number at the start of a typed text (a unit sign after it is ignored); text that does
// not start with a number, and "nan", read as 0.
double typedNumber(const std::string& text) {
    const double value = std::strtod(text.c_str(), nullptr);
    return std::isnan(value) ? 0.0 : value;
}

ps::int32 unitsOf(const Parameter& parameter) {
    if (parameter.hasFlag(ParameterFlag::Whole)) return ps::kADMNoUnits;
    if (parameter.hasFlag(ParameterFlag::Percent)) return ps::kADMPercentUnits;
    if (parameter.hasFlag(ParameterFlag::Degrees)) return ps::kADMDegreesUnits;
    return ps::kADMNoUnits;
}

}  // namespace

NumberControl::NumberControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex)
    : LabelledControl(dialog, bounds, parameter, parameterIndex),
      slider_(addPart<ADM::Slider>(ps::kRavoControlValue, valueLineBefore(kFieldWidth))),
      field_(addPart<ADM::Edit>(ps::kRavoControlSecond, valueLineEnd(kFieldWidth))) {
    if (isWhole())
        slider_.setMinMax(truncToInt(parameter.minimum), truncToInt(parameter.maximum));
    else
        slider_.setMinMax(float(parameter.minimum), float(parameter.maximum));
    field_.setUnits(unitsOf(parameter));
    slider_.connect(ADM::kTrack, this, &NumberControl::sliderMoved);
    slider_.connect(ADM::kChanged, this, &NumberControl::sliderMoved);
    field_.connect(ADM::kChanged, this, &NumberControl::fieldChanged);
    update();
}

void NumberControl::update() {
    if (isWhole())
        slider_.setIntValue(truncToInt(parameter->number));
    else
        slider_.setFloatValue(float(parameter->number));
    showText();
}

void NumberControl::showText() { field_.setText(parameter->formatNumber().c_str()); }

void NumberControl::sliderMoved(ADM::CallbackObject&, void*) {
    const double moved = isWhole() ? double(slider_.intValue()) : double(slider_.floatValue());
    // A real slider's ends are the range's ends in single precision, which may lie just
    // outside the range (0.1 as a float is above 0.1): they are held to it.
    const NumberRange range = parameter->numberRange();
    parameter->number = std::min(std::max(moved, range.minimum), range.maximum);
    showText();
    changed();
}

void NumberControl::fieldChanged(ADM::CallbackObject&, void*) {
    parameter->number = std::min(std::max(typedNumber(field_.text()), parameter->minimum), parameter->maximum);
    update();
    changed();
}

}  // namespace PSDriver
