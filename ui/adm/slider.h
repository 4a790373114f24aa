// A slider. Moving it notifies "track" while the user drags and "changed" when the value is
// set.
#pragma once

#include "ui/adm/item.h"

namespace ADM {

class Slider : public Item {
public:
    Slider(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds);

    void handleNotifier(ps::ADMNotifierRef notifier) override;
};

}  // namespace ADM
