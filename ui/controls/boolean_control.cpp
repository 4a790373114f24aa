#include "ui/controls/boolean_control.h"

namespace PSDriver {

namespace {
constexpr int kCheckBoxStyle = 1;
}  // namespace

BooleanControl::BooleanControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter,
                               int parameterIndex)
    : ItemControl(dialog, parameter, parameterIndex, ps::controlItemID(parameterIndex, ps::kRavoControlWhole),
                  ps::ADMRect{bounds.left, bounds.top, bounds.right, bounds.top + kHeight}, parameter.label,
                  kCheckBoxStyle) {
    connect(ADM::kSelect, this, &BooleanControl::clicked);
    update();
}

void BooleanControl::update() { setBooleanValue(parameter->boolean); }

void BooleanControl::clicked(ADM::CallbackObject&, void*) {
    parameter->boolean = booleanValue();
    changed();
}

}  // namespace PSDriver
