#include "ui/controls/group_controls.h"

namespace PSDriver {

GroupControl::GroupControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex)
    : ItemControl(dialog, parameter, parameterIndex, ps::controlItemID(parameterIndex, ps::kRavoControlWhole), bounds) {
    if (parameter.label) setText(parameter.label);
}

void GroupControl::setBottom(ps::int32 bottom) {
    ps::ADMRect b = bounds();
    b.bottom = bottom;
    setBounds(b);
}

GroupButton::GroupButton(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex)
    : ItemControl(dialog, parameter, parameterIndex, ps::controlItemID(parameterIndex, ps::kRavoControlWhole), bounds,
                  parameter.label) {
    update();
}

void GroupButton::update() { setBooleanValue(isOpen()); }

void GroupButton::open() {
    parameter->setOpen(true);
    update();
    for (Control* control : controls_)
        if (!control->parameter->hasFlag(ParameterFlag::Hidden)) control->item().show();
}

void GroupButton::close() {
    parameter->setOpen(false);
    update();
    for (Control* control : controls_) control->item().hide();
}

}  // namespace PSDriver
