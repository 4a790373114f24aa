// The two ways a group of parameters is shown: a framed box around its controls, or a tab
// button that shows its group's controls while it is open. Groups have no value: reset
// changes nothing.
#pragma once

#include <vector>

#include "ui/adm/button.h"
#include "ui/adm/group.h"
#include "ui/controls/control.h"

namespace PSDriver {

// A frame titled with the group's label. It is made before its contents, so the dialog's
// builder sets its bottom once the group ends.
class GroupControl : public ItemControl<ADM::Group> {
public:
    GroupControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override {}
    void setBottom(ps::int32 bottom);
};

// A push button labelled with the group's label, holding the controls of its group. Open
// (flag Open of its parameter) it shows as pressed and shows its controls, except those of
// hidden parameters; closed it shows released and hides them all. Clicks are the dialog's
// to handle, since opening one tab closes the others.
class GroupButton : public ItemControl<ADM::Button> {
public:
    // A bounds of zero width fits the button to its label.
    GroupButton(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    // Shows the button pressed or released as its parameter's open flag says.
    void update() override;

    void open();
    void close();
    bool isOpen() const { return parameter->hasFlag(ParameterFlag::Open); }
    void addControl(Control& control) { controls_.push_back(&control); }
    const std::vector<Control*>& controls() const { return controls_; }

private:
    std::vector<Control*> controls_;
};

}  // namespace PSDriver
