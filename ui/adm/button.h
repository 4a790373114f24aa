// A push button, check box or radio button, with text or a picture. Pressing it notifies
// "select".
#pragma once

#include "ui/adm/item.h"

namespace ADM {

class Button : public Item {
public:
    // style: 0 text push button, 1 text check box, 2 text radio button, 3 picture push
    // button, 4 picture check box, 5 picture radio button. A bounds of zero width is widened
    // to fit the text.
    Button(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, const char* text, int style = 0);

    void handleNotifier(ps::ADMNotifierRef notifier) override;

    // The width a text button needs for text: an average character width per character
    // plus a margin each side.
    static ps::int32 widthForText(const char* text);
};

}  // namespace ADM
