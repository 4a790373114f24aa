#include "ui/adm/slider.h"

#include "ui/adm/notification_names.h"

namespace ADM {

Slider::Slider(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds) : Item(dialog, id, ps::kADMSliderType, bounds) {}

void Slider::handleNotifier(ps::ADMNotifierRef notifier) {
    if (isNotifier(notifier, ps::kADMIntermediateChangedNotifier)) notify(*this, kTrack);
    else if (isNotifier(notifier, ps::kADMUserChangedNotifier)) notify(*this, kChanged);
    Item::handleNotifier(notifier);
}

}  // namespace ADM
