// A List parameter: its label and a pop-up list of its item texts.
#pragma once

#include "ui/adm/menu.h"
#include "ui/controls/labelled_control.h"

namespace PSDriver {

class ListControl : public LabelledControl {
public:
    ListControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override;

private:
    void chosen(ADM::CallbackObject& sender, void* data);

    ADM::Menu& menu_;
};

}  // namespace PSDriver
