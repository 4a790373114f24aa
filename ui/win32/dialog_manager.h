// The plug-in's own dialog manager on Windows, for hosts whose basic suite offers none: the
// same suite tables as a host's, behind which dialogs are real windows with native controls
// (push buttons, check boxes, trackbars, edit fields, combo boxes) and owner-drawn user items.
//
// The dialog model (dialogmodel/) is the truth; the native controls show it. A change made
// through a suite updates the model and then its control; a change made by the person at the
// screen updates the model and then notifies the item, as a host's dialog manager does.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "dialogmodel/dialog_model.h"

namespace win32ui {

using dialogmodel::Dialog;
using dialogmodel::DialogEntry;
using dialogmodel::DialogItem;

// A dialog on the screen: its window, font and DPI, and a slider dragged to a value that the
// item has not heard of yet.
struct DialogWindow {
    HWND window = nullptr;
    HFONT font = nullptr;
    int dpi = 96;
    DialogItem* settlingSlider = nullptr;
};

// What a user item draws into: a device context of the item's 96-DPI size.
struct Drawer {
    HDC dc = nullptr;
    ps::ADMRect bounds{};
    ps::ADMRGBColor color{};
};

struct Picture {
    int width = 0, height = 0;
    std::vector<ps::uint8> rgba;
};

class DialogManager : public dialogmodel::DialogModel {
public:
    static DialogManager& instance();
    ~DialogManager() override;

    Drawer* drawer(const void* ref) const {
        return isLive(ref, kDrawerTag) ? static_cast<Drawer*>(const_cast<void*>(ref)) : nullptr;
    }
    Picture* picture(const void* ref) const {
        return isLive(ref, kPictureTag) ? static_cast<Picture*>(const_cast<void*>(ref)) : nullptr;
    }
    Picture* createPicture(int width, int height);
    void destroyPicture(Picture* picture);
    // Paints a user item through its draw callback.
    void draw(DialogItem& item, HDC dc);
    // The window of the dialog running modally (owner of alerts and file dialogs), or null.
    HWND activeWindow() const;
    // The screen side of an open dialog; made when it opens, gone when it closes.
    DialogWindow& openScreen(Dialog& dialog);
    void closeScreen(Dialog& dialog);

    void runModalLoop(Dialog& dialog) override;
    void defaultDraw(DialogItem* item, ps::ADMDrawerRef drawer) override;
    void itemCreated(DialogItem& item) override;
    void itemDestroying(DialogItem& item) override;
    void dialogDestroying(Dialog& dialog) override;
    void itemChanged(DialogItem& item) override;
    void itemMoved(DialogItem& item) override;
    void dialogRetitled(Dialog& dialog) override;
    void invalidate(DialogItem& item) override;
    void update(DialogItem& item) override;
    void invalidate(Dialog& dialog) override;
    void update(Dialog& dialog) override;

private:
    static constexpr int kDrawerTag = kFirstOwnTag, kPictureTag = kFirstOwnTag + 1;
    std::vector<std::unique_ptr<Picture>> pictures_;
    std::unordered_map<const Dialog*, std::unique_ptr<DialogWindow>> screens_;
};

// The screen side of a dialog, or null while it is not open.
inline DialogWindow* screenOf(const Dialog& dialog) { return static_cast<DialogWindow*>(dialog.native); }
// The native control of an item, or null while its dialog is not open.
inline HWND controlOf(const DialogItem& item) { return static_cast<HWND>(item.native); }

// The native side (window.cpp): the dialog's window and its controls.
void openWindow(Dialog& dialog);
void closeWindow(Dialog& dialog);
void createControl(DialogItem& item);
void destroyControl(DialogItem& item);
void showModel(DialogItem& item);     // text, value, range, entries, enable and visibility
void placeControl(DialogItem& item);  // bounds, scaled to the dialog's DPI
// Runs the dialog's messages until the dialog has ended.
void runMessages(Dialog& dialog);

}  // namespace win32ui
