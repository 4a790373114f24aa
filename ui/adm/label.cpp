#include "ui/adm/label.h"

namespace ADM {

Label::Label(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, const char* text)
    : Item(dialog, id, ps::kADMTextStaticType, bounds) {
    if (text) setText(text);
}

}  // namespace ADM
