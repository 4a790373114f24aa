// A Color parameter: its label and a swatch. The swatch shows each component v as the 16-bit
// trunc(v * 65535.0); a colour picked through it stores each 16-bit component c as
// c * (1 / 65535), so 65535 is exactly 1.0.
#pragma once

#include "ui/adm/color_pot.h"
#include "ui/controls/labelled_control.h"

namespace PSDriver {

class ColorControl : public LabelledControl {
public:
    static constexpr ps::int32 kSwatchWidth = 40;

    ColorControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override;

private:
    void picked(ADM::CallbackObject& sender, void* data);

    ADM::ColorPot& swatch_;
};

}  // namespace PSDriver
