#include "ui/controls/list_control.h"

namespace PSDriver {

ListControl::ListControl(ADM::Dialog& dialog, const ps::ADMRect& bounds, Parameter& parameter, int parameterIndex)
    : LabelledControl(dialog, bounds, parameter, parameterIndex),
      menu_(addPart<ADM::Menu>(ps::kRavoControlValue, valueLine())) {
    for (uint32_t i = 0; i < parameter.itemCount; ++i) menu_.addEntry(parameter.items[i]);
    menu_.connect(ADM::kChanged, this, &ListControl::chosen);
    update();
}

void ListControl::update() { menu_.selectEntry(ps::int32(parameter->listIndex)); }

void ListControl::chosen(ADM::CallbackObject&, void*) {
    const ps::int32 index = menu_.selectedIndex();
    if (index < 0) return;
    parameter->listIndex = uint32_t(index);
    changed();
}

}  // namespace PSDriver
