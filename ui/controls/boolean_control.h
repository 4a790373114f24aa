// A Boolean parameter: a check box labelled with the parameter's label.
#pragma once

#include "ui/adm/button.h"
#include "ui/controls/control.h"

namespace PSDriver {

class BooleanControl : public ItemControl<ADM::Button> {
public:
    static constexpr ps::int32 kHeight = 16;

    // Only the left, top and right of bounds count: the check box is kHeight high.
    BooleanControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override;

private:
    void clicked(ADM::CallbackObject& sender, void* data);
};

}  // namespace PSDriver
