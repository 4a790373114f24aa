// An item group: shows, hides and moves the items put in it together with itself.
#pragma once

#include <vector>

#include "ui/adm/item.h"

namespace ADM {

class Group : public Item {
public:
    Group(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds);

    // The child belongs to the same dialog, which owns it; the group only refers to it.
    void addChild(Item& child);
    const std::vector<Item*>& children() const { return children_; }

    void show() override;
    void hide() override;
    // Moves the children by as much as the group's top-left corner moved.
    void boundsChanged(const ps::ADMRect& previous) override;
    void moveBy(ps::int32 dh, ps::int32 dv);

private:
    std::vector<Item*> children_;
};

}  // namespace ADM
