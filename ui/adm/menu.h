// A pop-up list. Choosing an entry notifies "changed".
#pragma once

#include "ui/adm/item.h"
#include "ui/adm/list.h"

namespace ADM {

class Menu : public Item, public List {
public:
    Menu(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds);

    void handleNotifier(ps::ADMNotifierRef notifier) override;

protected:
    // For pop-up lists of another item type.
    Menu(Dialog& dialog, ps::int32 id, const char* type, const ps::ADMRect& bounds);
};

}  // namespace ADM
