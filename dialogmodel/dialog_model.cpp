#include "dialogmodel/dialog_model.h"

#include <algorithm>
#include <utility>

namespace dialogmodel {

DialogModel* DialogModel::current_ = nullptr;

namespace {

const char* const kButtonTypes[] = {
    ps::kADMTextPushButtonType,    ps::kADMTextCheckBoxType,         ps::kADMTextRadioButtonType,
    ps::kADMPicturePushButtonType, ps::kADMPictureCheckBoxButtonType, ps::kADMPictureRadioButtonType,
};
const char* const kOtherTypes[] = {
    ps::kADMTextEditType,   ps::kADMTextEditMultiLineType, ps::kADMTextStaticType, ps::kADMTextStaticMultiLineType,
    ps::kADMPasswordTextEditType, ps::kADMItemGroupType,   ps::kADMSliderType,     ps::kADMUserType,
    ps::kADMPopupListType,  ps::kADMComboBoxType,
};

template <size_t N>
bool isOneOf(const std::string& type, const char* const (&types)[N]) {
    return std::any_of(std::begin(types), std::end(types), [&](const char* t) { return type == t; });
}

}  // namespace

bool DialogItem::hasEntries() const { return type == ps::kADMPopupListType || type == ps::kADMComboBoxType; }
bool DialogItem::isButton() const { return isOneOf(type, kButtonTypes); }
bool DialogItem::isPushButton() const {
    return type == ps::kADMTextPushButtonType || type == ps::kADMPicturePushButtonType;
}
bool DialogItem::isToggle() const { return type == ps::kADMTextCheckBoxType || type == ps::kADMPictureCheckBoxButtonType; }
bool DialogItem::isRadio() const { return type == ps::kADMTextRadioButtonType || type == ps::kADMPictureRadioButtonType; }
bool DialogItem::isEdit() const {
    return type == ps::kADMTextEditType || type == ps::kADMTextEditMultiLineType ||
           type == ps::kADMPasswordTextEditType || type == ps::kADMComboBoxType;
}

DialogModel::DialogModel() { current_ = this; }

DialogModel::~DialogModel() {
    if (current_ == this) current_ = nullptr;
}

void DialogModel::destroyAll() {
    while (!dialogs_.empty()) {
        dialogs_.back()->running = false;
        destroyDialog(dialogs_.back().get());
    }
}

// ---------------------------------------------------------------------------
// Dialogs, items and entries

Dialog* DialogModel::createDialog(const char* name, int32_t style, ps::ADMUserData userData) {
    auto dialog = std::make_unique<Dialog>();
    dialog->name = name ? name : "";
    dialog->style = style;
    dialog->userData = userData;
    markLive(dialog.get(), kDialogTag);
    dialogs_.push_back(std::move(dialog));
    return dialogs_.back().get();
}

void DialogModel::destroyDialog(Dialog* dialog) {
    if (!dialog) return;
    // A dialog destroyed from its own callbacks during a modal run goes when the run ends.
    if (dialog->running) {
        dialog->destroyAfterRun = true;
        return;
    }
    // Every item's destroy callback runs once, while the dialog and the item are still there.
    while (!dialog->items.empty()) destroyItem(dialog->items.back().get());
    // Called once, like the items' callbacks, even if it destroys the dialog again.
    if (const ps::ADMDialogDestroyProc proc = std::exchange(dialog->destroyProc, nullptr))
        proc(reinterpret_cast<ps::ADMDialogRef>(dialog));
    if (!this->dialog(dialog)) return;
    dialogDestroying(*dialog);
    forgetLive(dialog, kDialogTag);
    std::erase_if(dialogs_, [&](const std::unique_ptr<Dialog>& d) { return d.get() == dialog; });
}

DialogItem* DialogModel::createItem(Dialog* dialog, int32_t id, const char* type, const ps::ADMRect* bounds,
                                    ps::ADMUserData userData) {
    if (!dialog || !type || !(isOneOf(type, kButtonTypes) || isOneOf(type, kOtherTypes))) return nullptr;
    auto item = std::make_unique<DialogItem>();
    item->dialog = dialog;
    item->id = id;
    item->type = type;
    if (bounds) item->bounds = *bounds;
    item->userData = userData;
    if (item->isButton()) setRange(*item, 0, 1);
    markLive(item.get(), kItemTag);
    dialog->items.push_back(std::move(item));
    DialogItem* made = dialog->items.back().get();
    itemCreated(*made);
    return made;
}

void DialogModel::destroyItem(DialogItem* item) {
    if (!item) return;
    if (item->destroyProc) {
        // Called once: a destroy callback that destroys its own item again finds it gone.
        const ps::ADMItemDestroyProc proc = std::exchange(item->destroyProc, nullptr);
        proc(reinterpret_cast<ps::ADMItemRef>(item));
    }
    if (!this->item(item)) return;
    itemDestroying(*item);
    for (const auto& entry : item->entries) forgetLive(entry.get(), kEntryTag);
    forgetLive(item, kItemTag);
    std::erase_if(item->dialog->items, [&](const std::unique_ptr<DialogItem>& i) { return i.get() == item; });
}

DialogEntry* DialogModel::insertEntry(DialogItem* item, int32_t index) {
    if (!item || !item->hasEntries()) return nullptr;
    auto entry = std::make_unique<DialogEntry>();
    entry->item = item;
    const size_t at = index < 0 ? item->entries.size() : std::min(size_t(index), item->entries.size());
    markLive(entry.get(), kEntryTag);
    DialogEntry* made = item->entries.insert(item->entries.begin() + ptrdiff_t(at), std::move(entry))->get();
    itemChanged(*item);
    return made;
}

void DialogModel::removeEntry(DialogEntry* entry) {
    if (!entry) return;
    DialogItem* item = entry->item;
    forgetLive(entry, kEntryTag);
    std::erase_if(item->entries, [&](const std::unique_ptr<DialogEntry>& e) { return e.get() == entry; });
    itemChanged(*item);
}

void DialogModel::selectEntry(DialogEntry* entry, bool select) {
    if (!entry) return;
    // A pop-up list shows one choice: selecting an entry deselects the others.
    if (select)
        for (auto& other : entry->item->entries) other->selected = false;
    entry->selected = select;
    if (select && entry->item->type == ps::kADMComboBoxType) entry->item->text = entry->text;
    itemChanged(*entry->item);
}

ps::ADMItemRef DialogModel::findItem(ps::ADMDialogRef ref, int32_t id) const {
    const Dialog* d = dialog(ref);
    if (!d) return nullptr;
    for (const auto& item : d->items)
        if (item->id == id) return reinterpret_cast<ps::ADMItemRef>(item.get());
    return nullptr;
}

// ---------------------------------------------------------------------------
// Values

void DialogModel::setValue(DialogItem& item, double value) {
    if (value != value) return;  // not a number: keep the value it has
    item.value = std::min(std::max(value, item.minimum), item.maximum);
}

void DialogModel::setRange(DialogItem& item, std::optional<double> minimum, std::optional<double> maximum) {
    if ((minimum && *minimum != *minimum) || (maximum && *maximum != *maximum)) return;
    if (minimum) item.minimum = *minimum;
    if (maximum) item.maximum = *maximum;
    // A range set the wrong way round keeps the bound just set and moves the other to it.
    if (item.minimum > item.maximum) {
        if (minimum) item.maximum = item.minimum;
        else item.minimum = item.maximum;
    }
    setValue(item, item.value);
}

// ---------------------------------------------------------------------------
// Events

int32_t DialogModel::runModal(Dialog* dialog) {
    if (!dialog || dialog->running) return 0;
    dialog->running = true;
    dialog->endedWith.reset();
    runModalLoop(*dialog);
    if (!dialog->endedWith) dialog->endedWith = dialog->cancelItem;
    dialog->running = false;
    const int32_t result = *dialog->endedWith;
    if (dialog->destroyAfterRun) destroyDialog(dialog);
    return result;
}

void DialogModel::abortTracking(DialogTracker* tracker) {
    if (tracker && item(tracker->item)) tracker->item->trackingAborted = true;
}

void DialogModel::endModal(Dialog* dialog, int32_t itemID) {
    if (dialog && dialog->running && !dialog->endedWith) dialog->endedWith = itemID;
}

void DialogModel::notify(Dialog* dialog, DialogItem* item, const char* type) {
    DialogNotifier notifier{dialog, item, type};
    LiveScope scope(*this, &notifier, kNotifierTag);
    const auto ref = reinterpret_cast<ps::ADMNotifierRef>(&notifier);
    if (item && item->notifyProc) item->notifyProc(reinterpret_cast<ps::ADMItemRef>(item), ref);
    else if (!item && dialog->notifyProc) dialog->notifyProc(reinterpret_cast<ps::ADMDialogRef>(dialog), ref);
    else defaultNotify(notifier);
}

void DialogModel::defaultNotify(const DialogNotifier& notifier) {
    Dialog* dialog = notifier.dialog;
    if (!this->dialog(dialog)) return;
    if (notifier.type == ps::kADMCloseHitNotifier && !notifier.item) {
        endModal(dialog, dialog->cancelItem);
        return;
    }
    // A push button that is the dialog's default or cancel item ends the modal run with its id.
    DialogItem* item = notifier.item;
    if (item && notifier.type == ps::kADMUserChangedNotifier && item->isPushButton() &&
        (item->id == dialog->defaultItem || item->id == dialog->cancelItem))
        endModal(dialog, item->id);
}

bool DialogModel::deliverTrack(DialogItem& item, int32_t action, ps::ADMPoint point, int32_t modifiers) {
    if (action == ps::kADMButtonDownAction) item.trackingAborted = false;
    else if (item.trackingAborted) return false;
    DialogTracker tracker{&item, point, action, modifiers};
    LiveScope scope(*this, &tracker, kTrackerTag);
    if (item.trackProc) item.trackProc(reinterpret_cast<ps::ADMItemRef>(&item), reinterpret_cast<ps::ADMTrackerRef>(&tracker));
    return true;
}

}  // namespace dialogmodel
