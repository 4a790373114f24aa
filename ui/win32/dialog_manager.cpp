#include "ui/win32/dialog_manager.h"

#include "ui/win32/text.h"

namespace win32ui {

DialogManager& DialogManager::instance() {
    static DialogManager manager;
    return manager;
}

DialogManager::~DialogManager() { destroyAll(); }

Picture* DialogManager::createPicture(int width, int height) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > (int64_t(1) << 26)) return nullptr;
    auto picture = std::make_unique<Picture>();
    picture->width = width;
    picture->height = height;
    picture->rgba.assign(size_t(width) * size_t(height) * 4, 0);
    markLive(picture.get(), kPictureTag);
    pictures_.push_back(std::move(picture));
    return pictures_.back().get();
}

void DialogManager::destroyPicture(Picture* picture) {
    if (!picture) return;
    forgetLive(picture, kPictureTag);
    std::erase_if(pictures_, [&](const std::unique_ptr<Picture>& p) { return p.get() == picture; });
}

void DialogManager::draw(DialogItem& item, HDC dc) {
    Drawer drawer{dc, {0, 0, item.width(), item.height()}, {}};
    LiveScope scope(*this, &drawer, kDrawerTag);
    const auto ref = reinterpret_cast<ps::ADMDrawerRef>(&drawer);
    if (item.drawProc) item.drawProc(reinterpret_cast<ps::ADMItemRef>(&item), ref);
    else defaultDraw(&item, ref);
}

void DialogManager::defaultDraw(DialogItem*, ps::ADMDrawerRef ref) {
    // The window class paints the dialog's face; a user item's default look is that face.
    if (Drawer* d = drawer(ref)) {
        const RECT all{d->bounds.left, d->bounds.top, d->bounds.right, d->bounds.bottom};
        FillRect(d->dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    }
}

HWND DialogManager::activeWindow() const {
    for (const auto& dialog : dialogs())
        if (DialogWindow* screen = screenOf(*dialog); dialog->running && screen) return screen->window;
    return nullptr;
}

DialogWindow& DialogManager::openScreen(Dialog& dialog) {
    auto& screen = screens_[&dialog];
    if (!screen) screen = std::make_unique<DialogWindow>();
    dialog.native = screen.get();
    return *screen;
}

void DialogManager::closeScreen(Dialog& dialog) {
    dialog.native = nullptr;
    screens_.erase(&dialog);
}

void DialogManager::runModalLoop(Dialog& dialog) {
    openWindow(dialog);
    if (screenOf(dialog)) runMessages(dialog);
    closeWindow(dialog);
}

void DialogManager::itemCreated(DialogItem& item) {
    if (screenOf(*item.dialog)) createControl(item);
}

void DialogManager::itemDestroying(DialogItem& item) {
    if (DialogWindow* screen = screenOf(*item.dialog); screen && screen->settlingSlider == &item)
        screen->settlingSlider = nullptr;
    destroyControl(item);
}

void DialogManager::dialogDestroying(Dialog& dialog) { closeWindow(dialog); }

void DialogManager::itemChanged(DialogItem& item) {
    if (controlOf(item)) showModel(item);
}

void DialogManager::itemMoved(DialogItem& item) {
    if (controlOf(item)) placeControl(item);
}

void DialogManager::dialogRetitled(Dialog& dialog) {
    if (DialogWindow* screen = screenOf(dialog)) SetWindowTextW(screen->window, widened(dialog.title).c_str());
}

void DialogManager::invalidate(DialogItem& item) {
    if (HWND control = controlOf(item)) InvalidateRect(control, nullptr, FALSE);
}

void DialogManager::update(DialogItem& item) {
    if (HWND control = controlOf(item)) UpdateWindow(control);
}

void DialogManager::invalidate(Dialog& dialog) {
    if (DialogWindow* screen = screenOf(dialog)) InvalidateRect(screen->window, nullptr, TRUE);
}

void DialogManager::update(Dialog& dialog) {
    if (DialogWindow* screen = screenOf(dialog)) UpdateWindow(screen->window);
}

}  // namespace win32ui
