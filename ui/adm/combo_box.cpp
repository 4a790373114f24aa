#include "ui/adm/combo_box.h"

namespace ADM {

ComboBox::ComboBox(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds)
    : Menu(dialog, id, ps::kADMComboBoxType, bounds) {}

}  // namespace ADM
