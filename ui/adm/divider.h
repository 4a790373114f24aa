// A separator line across the item's bounds, in the shadow colour.
#pragma once

#include "ui/adm/user.h"

namespace ADM {

class Divider : public User {
public:
    Divider(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds);

    void draw(ps::ADMDrawerRef drawer) override;
};

}  // namespace ADM
