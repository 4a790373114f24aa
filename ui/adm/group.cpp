#include "ui/adm/group.h"

namespace ADM {

Group::Group(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds) : Item(dialog, id, ps::kADMItemGroupType, bounds) {}

void Group::addChild(Item& child) { children_.push_back(&child); }

void Group::show() {
    Item::show();
    for (Item* child : children_) child->show();
}

void Group::hide() {
    Item::hide();
    for (Item* child : children_) child->hide();
}

void Group::boundsChanged(const ps::ADMRect& previous) {
    const ps::ADMRect now = bounds();
    const ps::int32 dh = now.left - previous.left, dv = now.top - previous.top;
    if (dh == 0 && dv == 0) return;
    for (Item* child : children_) {
        ps::ADMRect rect = child->bounds();
        child->setBounds({rect.left + dh, rect.top + dv, rect.right + dh, rect.bottom + dv});
    }
}

void Group::moveBy(ps::int32 dh, ps::int32 dv) {
    const ps::ADMRect old = bounds();
    setBounds({old.left + dh, old.top + dv, old.right + dh, old.bottom + dv});
}

}  // namespace ADM
