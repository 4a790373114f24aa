#include "editor/dialog_manager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "editor/dialog_look.h"

namespace editor {

DialogManager* DialogManager::current_ = nullptr;

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

bool isEdit(const std::string& type) {
    return type == ps::kADMTextEditType || type == ps::kADMTextEditMultiLineType ||
           type == ps::kADMPasswordTextEditType || type == ps::kADMComboBoxType;
}

bool isToggle(const std::string& type) {
    return type == ps::kADMTextCheckBoxType || type == ps::kADMPictureCheckBoxButtonType;
}

bool isRadio(const std::string& type) {
    return type == ps::kADMTextRadioButtonType || type == ps::kADMPictureRadioButtonType;
}

bool isPushButton(const std::string& type) {
    return type == ps::kADMTextPushButtonType || type == ps::kADMPicturePushButtonType;
}

// The number a person typed, with the unit signs an edit shows after it; nothing when the
// text is not a number.
std::optional<double> typedNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin) return std::nullopt;
    std::string rest(end);
    for (const char* sign : {"%", "\xC2\xB0", " "}) {
        for (size_t at; (at = rest.find(sign)) != std::string::npos;) rest.erase(at, std::strlen(sign));
    }
    if (!rest.empty() || value != value) return std::nullopt;
    return value;
}

}  // namespace

// Marks an object live (its reference accepted by the suites) for as long as it is in scope.
template <typename T>
class DialogManager::LiveScope {
public:
    LiveScope(DialogManager& manager, T* object) : manager_(manager), key_{object, tagOf(object)} {
        manager_.live_.insert(key_);
    }
    ~LiveScope() { manager_.live_.erase(key_); }
    LiveScope(const LiveScope&) = delete;
    LiveScope& operator=(const LiveScope&) = delete;

private:
    DialogManager& manager_;
    Live key_;
};

bool DialogItem::hasEntries() const { return type == ps::kADMPopupListType || type == ps::kADMComboBoxType; }
bool DialogItem::isButton() const { return isOneOf(type, kButtonTypes); }

DialogManager::DialogManager() { current_ = this; }

DialogManager::~DialogManager() {
    while (!dialogs_.empty()) {
        dialogs_.back()->running = false;
        destroyDialog(dialogs_.back().get());
    }
    if (current_ == this) current_ = nullptr;
}

DialogManager* DialogManager::current() { return current_; }

// ---------------------------------------------------------------------------
// Dialogs, items and entries

Dialog* DialogManager::createDialog(const char* name, int32_t style, ps::ADMUserData userData) {
    auto dialog = std::make_unique<Dialog>();
    dialog->name = name ? name : "";
    dialog->style = style;
    dialog->userData = userData;
    live_.insert({dialog.get(), tagOf(dialog.get())});
    dialogs_.push_back(std::move(dialog));
    return dialogs_.back().get();
}

void DialogManager::destroyDialog(Dialog* dialog) {
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
    live_.erase({dialog, tagOf(dialog)});
    std::erase_if(dialogs_, [&](const std::unique_ptr<Dialog>& d) { return d.get() == dialog; });
}

DialogItem* DialogManager::createItem(Dialog* dialog, int32_t id, const char* type, const ps::ADMRect* bounds,
                                      ps::ADMUserData userData) {
    if (!dialog || !type || !(isOneOf(type, kButtonTypes) || isOneOf(type, kOtherTypes))) return nullptr;
    auto item = std::make_unique<DialogItem>();
    item->dialog = dialog;
    item->id = id;
    item->type = type;
    if (bounds) item->bounds = *bounds;
    item->userData = userData;
    if (item->isButton()) setRange(*item, 0, 1);
    live_.insert({item.get(), tagOf(item.get())});
    dialog->items.push_back(std::move(item));
    return dialog->items.back().get();
}

void DialogManager::forget(DialogItem& item) {
    for (const auto& entry : item.entries) live_.erase({entry.get(), tagOf(entry.get())});
    live_.erase({&item, tagOf(&item)});
}

void DialogManager::destroyItem(DialogItem* item) {
    if (!item) return;
    if (item->destroyProc) {
        // Called once: a destroy callback that destroys its own item again finds it gone.
        const ps::ADMItemDestroyProc proc = std::exchange(item->destroyProc, nullptr);
        proc(reinterpret_cast<ps::ADMItemRef>(item));
    }
    if (!this->item(item)) return;
    forget(*item);
    std::erase_if(item->dialog->items, [&](const std::unique_ptr<DialogItem>& i) { return i.get() == item; });
}

DialogEntry* DialogManager::insertEntry(DialogItem* item, int32_t index) {
    if (!item || !item->hasEntries()) return nullptr;
    auto entry = std::make_unique<DialogEntry>();
    entry->item = item;
    const size_t at = index < 0 ? item->entries.size() : std::min(size_t(index), item->entries.size());
    live_.insert({entry.get(), tagOf(entry.get())});
    return item->entries.insert(item->entries.begin() + ptrdiff_t(at), std::move(entry))->get();
}

void DialogManager::removeEntry(DialogEntry* entry) {
    if (!entry) return;
    live_.erase({entry, tagOf(entry)});
    std::erase_if(entry->item->entries, [&](const std::unique_ptr<DialogEntry>& e) { return e.get() == entry; });
}

void DialogManager::selectEntry(DialogEntry* entry, bool select) {
    if (!entry) return;
    // A pop-up list shows one choice: selecting an entry deselects the others.
    if (select)
        for (auto& other : entry->item->entries) other->selected = false;
    entry->selected = select;
    if (select && entry->item->type == ps::kADMComboBoxType) entry->item->text = entry->text;
}

// ---------------------------------------------------------------------------
// Values

void DialogManager::setValue(DialogItem& item, double value) {
    if (value != value) return;  // not a number: keep the value it has
    item.value = std::min(std::max(value, item.minimum), item.maximum);
}

void DialogManager::setRange(DialogItem& item, std::optional<double> minimum, std::optional<double> maximum) {
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

int32_t DialogManager::runModal(Dialog* dialog) {
    if (!dialog || dialog->running) return 0;
    dialog->running = true;
    dialog->endedWith.reset();
    if (driver_) driver_->runModal(*this, reinterpret_cast<ps::ADMDialogRef>(dialog));
    if (!dialog->endedWith) notify(dialog, nullptr, ps::kADMCloseHitNotifier);
    if (!dialog->endedWith) dialog->endedWith = dialog->cancelItem;
    dialog->running = false;
    const int32_t result = *dialog->endedWith;
    if (dialog->destroyAfterRun) destroyDialog(dialog);
    return result;
}

void DialogManager::abortTracking(DialogTracker* tracker) {
    if (tracker && item(tracker->item)) tracker->item->trackingAborted = true;
}

void DialogManager::endModal(Dialog* dialog, int32_t itemID) {
    if (dialog && dialog->running && !dialog->endedWith) dialog->endedWith = itemID;
}

void DialogManager::notify(Dialog* dialog, DialogItem* item, const char* type) {
    DialogNotifier notifier{dialog, item, type};
    LiveScope<DialogNotifier> scope(*this, &notifier);
    const auto ref = reinterpret_cast<ps::ADMNotifierRef>(&notifier);
    if (item && item->notifyProc) item->notifyProc(reinterpret_cast<ps::ADMItemRef>(item), ref);
    else if (!item && dialog->notifyProc) dialog->notifyProc(reinterpret_cast<ps::ADMDialogRef>(dialog), ref);
    else defaultNotify(notifier);
}

void DialogManager::defaultNotify(const DialogNotifier& notifier) {
    Dialog* dialog = notifier.dialog;
    if (notifier.type == ps::kADMCloseHitNotifier && !notifier.item) {
        endModal(dialog, dialog->cancelItem);
        return;
    }
    // A push button that is the dialog's default or cancel item ends the modal run with its id.
    DialogItem* item = notifier.item;
    if (item && notifier.type == ps::kADMUserChangedNotifier && isPushButton(item->type) &&
        (item->id == dialog->defaultItem || item->id == dialog->cancelItem))
        endModal(dialog, item->id);
}

void DialogManager::defaultDraw(DialogItem* item, DialogCanvas& canvas) {
    if (item) drawItemLook(*item, canvas);
    else drawDialogFace(canvas);
}

void DialogManager::drawInto(DialogItem& item, DialogCanvas& canvas) {
    LiveScope<DialogCanvas> scope(*this, &canvas);
    if (item.drawProc) item.drawProc(reinterpret_cast<ps::ADMItemRef>(&item), reinterpret_cast<ps::ADMDrawerRef>(&canvas));
    else defaultDraw(&item, canvas);
}

DialogCanvas* DialogManager::createImage(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > (int64_t(1) << 26)) return nullptr;
    images_.push_back(std::make_unique<DialogCanvas>(width, height));
    live_.insert({images_.back().get(), tagOf(images_.back().get())});
    return images_.back().get();
}

void DialogManager::destroyImage(DialogCanvas* image) {
    if (!image) return;
    live_.erase({image, tagOf(image)});
    std::erase_if(images_, [&](const std::unique_ptr<DialogCanvas>& i) { return i.get() == image; });
}

void DialogManager::alert(AlertKind kind, const std::string& message) {
    alerts_.emplace_back(kind, message);
    if (driver_) driver_->alert(kind, message);
}

std::optional<std::string> DialogManager::chooseFile(const FileDialogRequest& request) {
    return driver_ ? driver_->chooseFile(request) : std::nullopt;
}

std::optional<ps::ADMRGBColor> DialogManager::chooseColor(const ps::ADMRGBColor& start) {
    return driver_ ? driver_->chooseColor(start) : std::nullopt;
}

// ---------------------------------------------------------------------------
// The driver

ps::ADMItemRef DialogManager::findItem(ps::ADMDialogRef ref, int32_t id) const {
    const Dialog* d = dialog(ref);
    if (!d) return nullptr;
    for (const auto& item : d->items)
        if (item->id == id) return reinterpret_cast<ps::ADMItemRef>(item.get());
    return nullptr;
}

ps::ADMItemRef DialogManager::findItemByText(ps::ADMDialogRef ref, const std::string& text) const {
    const Dialog* d = dialog(ref);
    if (!d) return nullptr;
    for (const auto& item : d->items)
        if (item->text == text) return reinterpret_cast<ps::ADMItemRef>(item.get());
    return nullptr;
}

DialogItem* DialogManager::userItem(ps::ADMItemRef ref) const {
    DialogItem* i = item(ref);
    return i && i->dialog->running && !i->dialog->endedWith && i->visible && i->enabled ? i : nullptr;
}

bool DialogManager::setFloatAsUser(ps::ADMItemRef ref, double value) {
    DialogItem* i = userItem(ref);
    if (!i || value != value) return false;
    setValue(*i, value);
    notify(i->dialog, i, ps::kADMUserChangedNotifier);
    return true;
}

bool DialogManager::setBooleanAsUser(ps::ADMItemRef ref, bool value) { return setFloatAsUser(ref, value ? 1 : 0); }

bool DialogManager::setTextAsUser(ps::ADMItemRef ref, const std::string& text) {
    DialogItem* i = userItem(ref);
    if (!i || !isEdit(i->type)) return false;
    i->text = text;
    if (const auto number = typedNumber(text)) setValue(*i, *number);
    notify(i->dialog, i, ps::kADMUserChangedNotifier);
    return true;
}

bool DialogManager::selectEntryAsUser(ps::ADMItemRef ref, int32_t index) {
    DialogItem* i = userItem(ref);
    if (!i || !i->hasEntries() || index < 0 || size_t(index) >= i->entries.size() || !i->entries[size_t(index)]->enabled)
        return false;
    selectEntry(i->entries[size_t(index)].get(), true);
    notify(i->dialog, i, ps::kADMUserChangedNotifier);
    return true;
}

bool DialogManager::pressButton(ps::ADMDialogRef dialogRef, const std::string& text) {
    const Dialog* d = dialog(dialogRef);
    if (!d) return false;
    for (const auto& candidate : d->items) {
        const auto ref = reinterpret_cast<ps::ADMItemRef>(candidate.get());
        if (candidate->isButton() && candidate->text == text && userItem(ref)) return pressItem(ref);
    }
    return false;
}

bool DialogManager::pressItem(ps::ADMItemRef ref) {
    DialogItem* i = userItem(ref);
    if (!i || !i->isButton()) return false;
    // A check box turns over, a radio button turns on, a push button keeps no value.
    if (isToggle(i->type)) setValue(*i, i->value != 0 ? 0 : 1);
    else if (isRadio(i->type)) setValue(*i, 1);
    notify(i->dialog, i, ps::kADMUserChangedNotifier);
    return true;
}

bool DialogManager::track(ps::ADMItemRef ref, int32_t action, ps::ADMPoint point, int32_t modifiers) {
    DialogItem* i = userItem(ref);
    if (!i) return false;
    if (action == ps::kADMButtonDownAction) i->trackingAborted = false;
    else if (i->trackingAborted) return false;
    DialogTracker tracker{i, point, action, modifiers};
    LiveScope<DialogTracker> scope(*this, &tracker);
    if (i->trackProc) i->trackProc(ref, reinterpret_cast<ps::ADMTrackerRef>(&tracker));
    return true;
}

bool DialogManager::closeAsUser(ps::ADMDialogRef ref) {
    Dialog* d = dialog(ref);
    if (!d || !d->running || d->endedWith) return false;
    notify(d, nullptr, ps::kADMCloseHitNotifier);
    return true;
}

bool DialogManager::endModalAsDriver(ps::ADMDialogRef ref, int32_t itemID) {
    Dialog* d = dialog(ref);
    if (!d || !d->running || d->endedWith) return false;
    endModal(d, itemID);
    return true;
}

std::optional<DialogCanvas> DialogManager::draw(ps::ADMItemRef ref) {
    DialogItem* i = item(ref);
    if (!i) return std::nullopt;
    DialogCanvas canvas(i->width(), i->height());
    drawInto(*i, canvas);
    return canvas;
}

std::optional<DialogCanvas> DialogManager::draw(ps::ADMDialogRef ref) {
    Dialog* d = dialog(ref);
    if (!d) return std::nullopt;
    DialogCanvas canvas(d->width, d->height);
    {
        LiveScope<DialogCanvas> scope(*this, &canvas);
        if (d->drawProc) d->drawProc(ref, reinterpret_cast<ps::ADMDrawerRef>(&canvas));
        else defaultDraw(nullptr, canvas);
    }
    if (!dialog(ref)) return std::nullopt;  // the draw callback destroyed the dialog
    // Items in creation order, each clipped to the dialog.
    for (size_t n = 0; n < d->items.size(); ++n) {
        DialogItem& i = *d->items[n];
        if (!i.visible) continue;
        const ps::ADMRect at = i.bounds;  // the callback may move or destroy the item
        DialogCanvas itemCanvas(i.width(), i.height());
        drawInto(i, itemCanvas);
        // Pixels the item left untouched (fully transparent) show what lies under it.
        for (int32_t y = std::max(0, -at.top); y < itemCanvas.height() && at.top + y < canvas.height(); ++y)
            for (int32_t x = std::max(0, -at.left); x < itemCanvas.width() && at.left + x < canvas.width(); ++x) {
                const auto from = itemCanvas.rgba().begin() + (size_t(y) * size_t(itemCanvas.width()) + size_t(x)) * 4;
                if (from[3] != 0)
                    std::copy_n(from, 4, canvas.rgba().begin() + (size_t(at.top + y) * size_t(canvas.width()) + size_t(at.left + x)) * 4);
            }
        if (!dialog(ref)) return std::nullopt;  // a draw callback destroyed the dialog
    }
    return canvas;
}

}  // namespace editor
