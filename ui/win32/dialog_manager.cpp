#include "ui/win32/dialog_manager.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace win32ui {

namespace {

bool typeIs(const std::string& type, std::initializer_list<const char*> types) {
    return std::any_of(types.begin(), types.end(), [&](const char* t) { return type == t; });
}

bool isKnownType(const char* type) {
    return type && typeIs(type, {ps::kADMTextPushButtonType, ps::kADMTextCheckBoxType, ps::kADMTextRadioButtonType,
                                 ps::kADMPicturePushButtonType, ps::kADMPictureCheckBoxButtonType,
                                 ps::kADMPictureRadioButtonType, ps::kADMTextEditType, ps::kADMTextEditMultiLineType,
                                 ps::kADMTextStaticType, ps::kADMTextStaticMultiLineType, ps::kADMPasswordTextEditType,
                                 ps::kADMItemGroupType, ps::kADMSliderType, ps::kADMUserType, ps::kADMPopupListType,
                                 ps::kADMComboBoxType});
}

}  // namespace

bool Item::hasEntries() const { return typeIs(type, {ps::kADMPopupListType, ps::kADMComboBoxType}); }
bool Item::isPushButton() const { return typeIs(type, {ps::kADMTextPushButtonType, ps::kADMPicturePushButtonType}); }
bool Item::isToggle() const { return typeIs(type, {ps::kADMTextCheckBoxType, ps::kADMPictureCheckBoxButtonType}); }
bool Item::isRadio() const { return typeIs(type, {ps::kADMTextRadioButtonType, ps::kADMPictureRadioButtonType}); }
bool Item::isEdit() const {
    return typeIs(type, {ps::kADMTextEditType, ps::kADMTextEditMultiLineType, ps::kADMPasswordTextEditType});
}

// Marks an object live (its reference accepted by the suites) for as long as it is in scope.
template <typename T>
class DialogManager::LiveScope {
public:
    LiveScope(std::unordered_set<const void*>& set, T* object) : set_(set), object_(object) { set_.insert(object_); }
    ~LiveScope() { set_.erase(object_); }
    LiveScope(const LiveScope&) = delete;
    LiveScope& operator=(const LiveScope&) = delete;

private:
    std::unordered_set<const void*>& set_;
    const void* object_;
};

DialogManager& DialogManager::instance() {
    static DialogManager manager;
    return manager;
}

// ---------------------------------------------------------------------------
// Dialogs, items, entries and pictures

Dialog* DialogManager::createDialog(const char* name, ps::int32 style, ps::ADMUserData userData) {
    auto dialog = std::make_unique<Dialog>();
    dialog->name = name ? name : "";
    dialog->style = style;
    dialog->userData = userData;
    dialogs_.insert(dialog.get());
    ownedDialogs_.push_back(std::move(dialog));
    return ownedDialogs_.back().get();
}

void DialogManager::destroyDialog(Dialog* dialog) {
    if (!dialog) return;
    // A dialog destroyed from its own callbacks during a modal run goes when the run ends.
    if (dialog->running) {
        dialog->destroyAfterRun = true;
        return;
    }
    while (!dialog->items.empty()) destroyItem(dialog->items.back().get());
    if (const ps::ADMDialogDestroyProc proc = std::exchange(dialog->destroyProc, nullptr))
        proc(reinterpret_cast<ps::ADMDialogRef>(dialog));
    if (!this->dialog(dialog)) return;
    closeWindow(*dialog);
    dialogs_.erase(dialog);
    std::erase_if(ownedDialogs_, [&](const std::unique_ptr<Dialog>& d) { return d.get() == dialog; });
}

Item* DialogManager::createItem(Dialog* dialog, ps::int32 id, const char* type, const ps::ADMRect* bounds,
                                ps::ADMUserData userData) {
    if (!dialog || !isKnownType(type)) return nullptr;
    auto item = std::make_unique<Item>();
    item->dialog = dialog;
    item->id = id;
    item->type = type;
    if (bounds) item->bounds = *bounds;
    item->userData = userData;
    if (item->isPushButton() || item->isToggle() || item->isRadio()) setRange(*item, 0, 1);
    items_.insert(item.get());
    dialog->items.push_back(std::move(item));
    Item* made = dialog->items.back().get();
    if (dialog->window) createControl(*made);
    return made;
}

void DialogManager::destroyItem(Item* item) {
    if (!item) return;
    // Called once: a destroy callback that destroys its own item again finds it gone.
    if (const ps::ADMItemDestroyProc proc = std::exchange(item->destroyProc, nullptr))
        proc(reinterpret_cast<ps::ADMItemRef>(item));
    if (!this->item(item)) return;
    if (item->dialog->settlingSlider == item) item->dialog->settlingSlider = nullptr;
    destroyControl(*item);
    for (const auto& entry : item->entries) entries_.erase(entry.get());
    items_.erase(item);
    std::erase_if(item->dialog->items, [&](const std::unique_ptr<Item>& i) { return i.get() == item; });
}

Entry* DialogManager::insertEntry(Item* item, ps::int32 index) {
    if (!item || !item->hasEntries()) return nullptr;
    auto entry = std::make_unique<Entry>();
    entry->item = item;
    const size_t at = index < 0 ? item->entries.size() : std::min(size_t(index), item->entries.size());
    entries_.insert(entry.get());
    Entry* made = item->entries.insert(item->entries.begin() + ptrdiff_t(at), std::move(entry))->get();
    changed(*item);
    return made;
}

void DialogManager::removeEntry(Entry* entry) {
    if (!entry) return;
    Item* item = entry->item;
    entries_.erase(entry);
    std::erase_if(item->entries, [&](const std::unique_ptr<Entry>& e) { return e.get() == entry; });
    changed(*item);
}

void DialogManager::selectEntry(Entry* entry, bool select) {
    if (!entry) return;
    // A pop-up list shows one choice: selecting an entry deselects the others.
    if (select)
        for (auto& other : entry->item->entries) other->selected = false;
    entry->selected = select;
    if (select && entry->item->type == ps::kADMComboBoxType) entry->item->text = entry->text;
    changed(*entry->item);
}

Picture* DialogManager::createPicture(int width, int height) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > (int64_t(1) << 26)) return nullptr;
    auto picture = std::make_unique<Picture>();
    picture->width = width;
    picture->height = height;
    picture->rgba.assign(size_t(width) * size_t(height) * 4, 0);
    pictures_.insert(picture.get());
    ownedPictures_.push_back(std::move(picture));
    return ownedPictures_.back().get();
}

void DialogManager::destroyPicture(Picture* picture) {
    if (!picture) return;
    pictures_.erase(picture);
    std::erase_if(ownedPictures_, [&](const std::unique_ptr<Picture>& p) { return p.get() == picture; });
}

// ---------------------------------------------------------------------------
// Values

void DialogManager::setValue(Item& item, double value) {
    if (value != value) return;  // not a number: keep the value it has
    item.value = std::min(std::max(value, item.minimum), item.maximum);
}

void DialogManager::setRange(Item& item, std::optional<double> minimum, std::optional<double> maximum) {
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

void DialogManager::changed(Item& item) {
    if (item.window) showModel(item);
}

void DialogManager::moved(Item& item) {
    if (item.window) placeControl(item);
}

// ---------------------------------------------------------------------------
// Events

ps::int32 DialogManager::runModal(Dialog* dialog) {
    if (!dialog || dialog->running) return 0;
    dialog->running = true;
    dialog->endedWith.reset();
    openWindow(*dialog);
    if (dialog->window) runMessages(*dialog);
    if (!dialog->endedWith) dialog->endedWith = dialog->cancelItem;
    closeWindow(*dialog);
    dialog->running = false;
    const ps::int32 result = *dialog->endedWith;
    if (dialog->destroyAfterRun) destroyDialog(dialog);
    return result;
}

void DialogManager::endModal(Dialog* dialog, ps::int32 itemID) {
    if (dialog && dialog->running && !dialog->endedWith) dialog->endedWith = itemID;
}

void DialogManager::notify(Dialog* dialog, Item* item, const char* type) {
    Notifier notifier{dialog, item, type};
    LiveScope<Notifier> scope(notifiers_, &notifier);
    const auto ref = reinterpret_cast<ps::ADMNotifierRef>(&notifier);
    if (item && item->notifyProc) item->notifyProc(reinterpret_cast<ps::ADMItemRef>(item), ref);
    else if (!item && dialog->notifyProc) dialog->notifyProc(reinterpret_cast<ps::ADMDialogRef>(dialog), ref);
    else defaultNotify(notifier);
}

void DialogManager::defaultNotify(const Notifier& notifier) {
    Dialog* dialog = notifier.dialog;
    if (!this->dialog(dialog)) return;
    if (!notifier.item && std::strcmp(notifier.type, ps::kADMCloseHitNotifier) == 0) {
        endModal(dialog, dialog->cancelItem);
        return;
    }
    // A push button that is the dialog's default or cancel item ends the modal run with its id.
    Item* item = notifier.item;
    if (item && std::strcmp(notifier.type, ps::kADMUserChangedNotifier) == 0 && item->isPushButton() &&
        (item->id == dialog->defaultItem || item->id == dialog->cancelItem))
        endModal(dialog, item->id);
}

void DialogManager::abortTracking(Tracker* tracker) {
    if (tracker && item(tracker->item)) tracker->item->trackingAborted = true;
}

void DialogManager::track(Item& item, ps::int32 action, ps::ADMPoint point, ps::int32 modifiers) {
    if (action == ps::kADMButtonDownAction) item.trackingAborted = false;
    else if (item.trackingAborted) return;
    if (!item.trackProc) return;
    Tracker tracker{&item, point, action, modifiers};
    LiveScope<Tracker> scope(trackers_, &tracker);
    item.trackProc(reinterpret_cast<ps::ADMItemRef>(&item), reinterpret_cast<ps::ADMTrackerRef>(&tracker));
}

void DialogManager::draw(Item& item, HDC dc) {
    Drawer drawer{dc, {0, 0, item.width(), item.height()}, {}};
    LiveScope<Drawer> scope(drawers_, &drawer);
    const auto ref = reinterpret_cast<ps::ADMDrawerRef>(&drawer);
    if (item.drawProc) {
        item.drawProc(reinterpret_cast<ps::ADMItemRef>(&item), ref);
    } else {
        const RECT all{0, 0, item.width(), item.height()};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
}

HWND DialogManager::activeWindow() const {
    for (const auto& dialog : ownedDialogs_)
        if (dialog->running && dialog->window) return dialog->window;
    return nullptr;
}

}  // namespace win32ui
