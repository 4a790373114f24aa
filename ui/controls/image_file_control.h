// An ImageFile parameter: its label, the chosen file's name (or "None") and a "Browse..."
// button. The file is later looked up by its name alone in the parameter's folder beside the
// plug-in file, so only the name of the file chosen is kept.
#pragma once

#include "ui/adm/label.h"
#include "ui/controls/labelled_control.h"

namespace PSDriver {

class ImageFileControl : public LabelledControl {
public:
    ImageFileControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    void update() override;

private:
    void browse(ADM::CallbackObject& sender, void* data);

    ADM::Label& name_;
};

}  // namespace PSDriver
