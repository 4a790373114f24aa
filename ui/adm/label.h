// A line of static text.
#pragma once

#include "ui/adm/item.h"

namespace ADM {

class Label : public Item {
public:
    Label(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, const char* text);
};

}  // namespace ADM
