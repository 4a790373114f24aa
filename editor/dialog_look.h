// How the stand-in host draws what the plug-in leaves to it: the dialog's face and each item
// type's default look (buttons, check boxes, radio buttons, edits, static text, sliders,
// pop-up lists, combo boxes, captioned groups, user items), with real text.
#pragma once

#include "editor/dialog_canvas.h"
#include "editor/dialog_manager.h"

namespace editor {

// The dialog's background, behind all its items.
void drawDialogFace(DialogCanvas& canvas);
// One item at its own size, the canvas's origin at the item's top left. Disabled items are
// greyed; an item group without text draws nothing, so what lies under it shows.
void drawItemLook(const DialogItem& item, DialogCanvas& canvas);

}  // namespace editor
