// A pop-up list with a text field: choosing an entry puts its text in the field.
#pragma once

#include "ui/adm/menu.h"

namespace ADM {

class ComboBox : public Menu {
public:
    ComboBox(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds);
};

}  // namespace ADM
