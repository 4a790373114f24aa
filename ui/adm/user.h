// An item the program draws itself: derived classes override draw and track.
#pragma once

#include "ui/adm/item.h"

namespace ADM {

class User : public Item {
public:
    User(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds);
};

}  // namespace ADM
