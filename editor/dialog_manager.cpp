#include "editor/dialog_manager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "editor/dialog_look.h"

namespace editor {

namespace {

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

DialogManager::~DialogManager() { destroyAll(); }

void DialogManager::runModalLoop(Dialog& dialog) {
    if (driver_) driver_->runModal(*this, reinterpret_cast<ps::ADMDialogRef>(&dialog));
    if (!dialog.endedWith) notify(&dialog, nullptr, ps::kADMCloseHitNotifier);
}

void DialogManager::defaultDraw(DialogItem* item, ps::ADMDrawerRef drawer) {
    DialogCanvas* on = canvas(drawer);
    if (!on) return;
    if (item) drawItemLook(*item, *on);
    else drawDialogFace(*on);
}

void DialogManager::drawInto(DialogItem& item, DialogCanvas& canvas) {
    LiveScope scope(*this, &canvas, kCanvasTag);
    const auto drawer = reinterpret_cast<ps::ADMDrawerRef>(&canvas);
    if (item.drawProc) item.drawProc(reinterpret_cast<ps::ADMItemRef>(&item), drawer);
    else defaultDraw(&item, drawer);
}

DialogCanvas* DialogManager::createImage(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > (int64_t(1) << 26)) return nullptr;
    images_.push_back(std::make_unique<DialogCanvas>(width, height));
    markLive(images_.back().get(), kCanvasTag);
    return images_.back().get();
}

void DialogManager::destroyImage(DialogCanvas* image) {
    if (!image) return;
    forgetLive(image, kCanvasTag);
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
    if (!i || !i->isEdit()) return false;
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
    if (i->isToggle()) setValue(*i, i->value != 0 ? 0 : 1);
    else if (i->isRadio()) setValue(*i, 1);
    notify(i->dialog, i, ps::kADMUserChangedNotifier);
    return true;
}

bool DialogManager::track(ps::ADMItemRef ref, int32_t action, ps::ADMPoint point, int32_t modifiers) {
    DialogItem* i = userItem(ref);
    return i && deliverTrack(*i, action, point, modifiers);
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
        LiveScope scope(*this, &canvas, kCanvasTag);
        if (d->drawProc) d->drawProc(ref, reinterpret_cast<ps::ADMDrawerRef>(&canvas));
        else drawDialogFace(canvas);
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
