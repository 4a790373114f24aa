#include "ui/adm/edit.h"

#include "ui/adm/notification_names.h"

namespace ADM {

namespace {

const char* const kEditTypes[] = {
    ps::kADMTextEditType,           ps::kADMTextEditMultiLineType, ps::kADMTextStaticType,
    ps::kADMTextStaticMultiLineType, ps::kADMPasswordTextEditType,
};
constexpr int kEditTypeCount = int(sizeof kEditTypes / sizeof kEditTypes[0]);

const char* editType(int style) { return style >= 0 && style < kEditTypeCount ? kEditTypes[style] : kEditTypes[0]; }

}  // namespace

Edit::Edit(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds, int style)
    : Item(dialog, id, editType(style), bounds) {}

void Edit::handleNotifier(ps::ADMNotifierRef notifier) {
    if (isNotifier(notifier, ps::kADMUserChangedNotifier)) notify(*this, kChanged);
    Item::handleNotifier(notifier);
}

}  // namespace ADM
