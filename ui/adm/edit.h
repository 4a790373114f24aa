// A text field: editable, static, multi-line or password. A change by the user notifies
// "changed".
#pragma once

#include "ui/adm/item.h"

namespace ADM {

class Edit : public Item {
public:
    // style: 0 text edit, 1 multi-line text edit, 2 static text, 3 multi-line static text,
    // 4 password edit.
    Edit(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, int style = 0);

    void handleNotifier(ps::ADMNotifierRef notifier) override;
};

}  // namespace ADM
