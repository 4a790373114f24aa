// A Number parameter: its label, a slider and a 45-pixel number field right of the slider.
// A whole number (flag Whole) slides over whole numbers from trunc(minimum) to trunc(maximum)
// and shows "%d" of its truncated value; any other slides over real numbers (single
// precision) and shows "%lg", with percent or degrees units beside the field.
#pragma once

#include "ui/adm/edit.h"
#include "ui/adm/slider.h"
#include "ui/controls/labelled_control.h"

namespace PSDriver {

class NumberControl : public LabelledControl {
public:
    static constexpr ps::int32 kFieldWidth = 45;

    NumberControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override;

private:
    bool isWhole() const { return parameter->hasFlag(ParameterFlag::Whole); }
    void showText();
    void sliderMoved(ADM::CallbackObject& sender, void* data);
    void fieldChanged(ADM::CallbackObject& sender, void* data);

    ADM::Slider& slider_;
    ADM::Edit& field_;
};

}  // namespace PSDriver
