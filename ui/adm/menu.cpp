#include "ui/adm/menu.h"

#include "ui/adm/notification_names.h"

namespace ADM {

namespace {
ps::ADMListRef listOf(const Item& item) {
    const auto* suite = AdmHost::currentSuites().item;
    return suite && item.ref() ? suite->GetList(item.ref()) : nullptr;
}
}  // namespace

Menu::Menu(Dialog& dialog, ps::int32 id, const ps::ADMRect& bounds) : Menu(dialog, id, ps::kADMPopupListType, bounds) {}

Menu::Menu(Dialog& dialog, ps::int32 id, const char* type, const ps::ADMRect& bounds)
    : Item(dialog, id, type, bounds), List(listOf(*this)) {}

void Menu::handleNotifier(ps::ADMNotifierRef notifier) {
    if (isNotifier(notifier, ps::kADMUserChangedNotifier)) notify(*this, kChanged);
    Item::handleNotifier(notifier);
}

}  // namespace ADM
