#include "ui/controls/color_control.h"

#include <algorithm>

#include "imaging/sample_traits.h"

namespace PSDriver {

namespace {

constexpr double kComponentFull = 65535.0;

ps::uint16 component(double value) {
    // A value outside 0..1 (or not a number) set in code shows as the nearest end.
    const double held = value > 0.0 ? std::min(value, 1.0) : 0.0;
    return ps::uint16(truncToInt(held * kComponentFull));
}

double fraction(ps::uint16 component) { return component * (1.0 / kComponentFull); }

}  // namespace

ColorControl::ColorControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex)
    : LabelledControl(dialog, bounds, parameter, parameterIndex),
      swatch_(addPart<ADM::ColorPot>(ps::kRavoControlValue, valueLineStart(kSwatchWidth))) {
    swatch_.connect(ADM::kChanged, this, &ColorControl::picked);
    update();
}

void ColorControl::update() {
    const RGBValue& c = parameter->color;
    swatch_.setColor({component(c.red), component(c.green), component(c.blue)});
}

void ColorControl::picked(ADM::CallbackObject&, void*) {
    const ps::ADMRGBColor& c = swatch_.color();
    parameter->color = {fraction(c.red), fraction(c.green), fraction(c.blue)};
    changed();
}

}  // namespace PSDriver
