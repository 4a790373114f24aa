// A Point parameter: its label and a field holding the point as percentages of the image
// size from the centre, "%5.2lg, %5.2lg" of (x * 100, y * 100). Typed text is read as
// "a, b", "a,b" or "a b"; text none of them reads keeps the point. Dragging the point's
// handle in the preview changes the value and calls update.
#pragma once

#include "ui/adm/edit.h"
#include "ui/controls/labelled_control.h"

namespace PSDriver {

class PointControl : public LabelledControl {
public:
    static constexpr ps::int32 kFieldWidth = 100;

    PointControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override;

private:
    void fieldChanged(ADM::CallbackObject& sender, void* data);

    ADM::Edit& field_;
};

}  // namespace PSDriver
