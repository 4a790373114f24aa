// The shape most parameter controls share: an item group 27 pixels high, the parameter's
// label on its first line and the items that show the value on the line below, ending
// 4 pixels inside the group's right edge. The group shows, hides and moves them together.
#pragma once

#include "ui/adm/group.h"
#include "ui/adm/label.h"
#include "ui/controls/control.h"

namespace PSDriver {

class LabelledControl : public ItemControl<ADM::Group> {
public:
    static constexpr ps::int32 kHeight = 27;
    static constexpr ps::int32 kLabelHeight = 11;
    static constexpr ps::int32 kRightInset = 4;
    static constexpr ps::int32 kGap = 4;

protected:
    // Only the left, top and right of bounds count: the control is kHeight high.
    LabelledControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex);

    // The value line: from the group's left edge to kRightInset inside its right edge.
    ps::ADMRect valueLine() const;
    // Its first `width` pixels (at most all of it), its last `width` pixels, and what lies
    // left of its last `width` pixels with a gap between.
    ps::ADMRect valueLineStart(ps::int32 width) const;
    ps::ADMRect valueLineEnd(ps::int32 width) const;
    ps::ADMRect valueLineBefore(ps::int32 width) const;
    // Makes a part of the control (id from part, arguments after the bounds as ItemType
    // takes them) and puts it in the group.
    template <typename ItemType, typename... Args>
    ItemType& addPart(ps::RavoControlPart part, const ps::ADMRect& bounds, Args&&... args) {
        ItemType& made = dialog().template add<ItemType>(itemID(part), bounds, std::forward<Args>(args)...);
        addChild(made);
        return made;
    }
};

}  // namespace PSDriver
