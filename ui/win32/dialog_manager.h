// The plug-in's own dialog manager on Windows, for hosts whose basic suite offers none: the
// same suite tables as a host's, behind which dialogs are real windows with native controls
// (push buttons, check boxes, trackbars, edit fields, combo boxes) and owner-drawn user items.
//
// The model (items with their text, value, range, visibility and entries) is the truth; the
// native controls show it. A change made through a suite updates the model and then its
// control; a change made by the person at the screen updates the model and then notifies
// the item, as a host's dialog manager does.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "sdk/adm_suites.h"

namespace win32ui {

struct Dialog;
struct Item;

struct Entry {
    Item* item = nullptr;
    ps::int32 id = 0;
    ps::ADMUserData userData = nullptr;
    std::string text;
    bool selected = false;
    bool enabled = true;
};

struct Item {
    Dialog* dialog = nullptr;
    ps::int32 id = 0;
    std::string type;
    ps::ADMRect bounds{};  // dialog pixels at 96 DPI
    ps::ADMUserData userData = nullptr;
    bool visible = true;
    bool enabled = true;
    std::string text;
    double value = 0;
    double minimum = -3.4e38, maximum = 3.4e38;  // no range until one is set
    ps::int32 units = ps::kADMNoUnits;
    ps::int32 cursor = ps::kADMArrowCursorID;
    ps::ADMItemNotifyProc notifyProc = nullptr;
    ps::ADMItemDestroyProc destroyProc = nullptr;
    ps::ADMItemTrackProc trackProc = nullptr;
    ps::ADMItemDrawProc drawProc = nullptr;
    std::vector<std::unique_ptr<Entry>> entries;  // pop-up lists and combo boxes
    bool trackingAborted = false;
    HWND window = nullptr;  // the native control while the dialog is on the screen

    bool hasEntries() const;
    bool isPushButton() const;
    bool isToggle() const;
    bool isRadio() const;
    bool isEdit() const;
    int width() const { return bounds.right - bounds.left; }
    int height() const { return bounds.bottom - bounds.top; }
};

struct Dialog {
    std::string name;
    ps::int32 style = ps::kADMModalDialogStyle;
    ps::ADMUserData userData = nullptr;
    std::string title;
    int width = 0, height = 0;  // client area, pixels at 96 DPI
    ps::int32 defaultItem = ps::kADMDefaultItemID;
    ps::int32 cancelItem = ps::kADMCancelItemID;
    ps::ADMDialogNotifyProc notifyProc = nullptr;
    ps::ADMDialogDestroyProc destroyProc = nullptr;
    ps::ADMDialogTrackProc trackProc = nullptr;
    ps::ADMDialogDrawProc drawProc = nullptr;
    std::vector<std::unique_ptr<Item>> items;
    bool running = false;
    bool destroyAfterRun = false;
    std::optional<ps::int32> endedWith;
    HWND window = nullptr;
    HFONT font = nullptr;
    int dpi = 96;
    Item* settlingSlider = nullptr;  // a slider dragged to a value not yet reported
};

// A notification in flight.
struct Notifier {
    Dialog* dialog = nullptr;
    Item* item = nullptr;  // null when the dialog itself is notified
    const char* type = "";
};

// A mouse event in flight, its point in the item's 96-DPI pixels.
struct Tracker {
    Item* item = nullptr;
    ps::ADMPoint point{};
    ps::int32 action = 0;
    ps::int32 modifiers = 0;
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

class DialogManager {
public:
    static DialogManager& instance();

    Dialog* createDialog(const char* name, ps::int32 style, ps::ADMUserData userData);
    void destroyDialog(Dialog* dialog);
    Item* createItem(Dialog* dialog, ps::int32 id, const char* type, const ps::ADMRect* bounds, ps::ADMUserData userData);
    void destroyItem(Item* item);
    Entry* insertEntry(Item* item, ps::int32 index);
    void removeEntry(Entry* entry);
    void selectEntry(Entry* entry, bool select);
    Picture* createPicture(int width, int height);
    void destroyPicture(Picture* picture);

    // The live object behind a reference, or null for a null or destroyed one.
    Dialog* dialog(const void* ref) const { return live<Dialog>(ref, dialogs_); }
    Item* item(const void* ref) const { return live<Item>(ref, items_); }
    Entry* entry(const void* ref) const { return live<Entry>(ref, entries_); }
    Notifier* notifier(const void* ref) const { return live<Notifier>(ref, notifiers_); }
    Tracker* tracker(const void* ref) const { return live<Tracker>(ref, trackers_); }
    Drawer* drawer(const void* ref) const { return live<Drawer>(ref, drawers_); }
    Picture* picture(const void* ref) const { return live<Picture>(ref, pictures_); }

    void setValue(Item& item, double value);
    void setRange(Item& item, std::optional<double> minimum, std::optional<double> maximum);
    // The model of the item changed: its control shows it.
    void changed(Item& item);
    void moved(Item& item);

    ps::int32 runModal(Dialog* dialog);
    void endModal(Dialog* dialog, ps::int32 itemID);
    void notify(Dialog* dialog, Item* item, const char* type);
    void defaultNotify(const Notifier& notifier);
    void abortTracking(Tracker* tracker);
    void track(Item& item, ps::int32 action, ps::ADMPoint point, ps::int32 modifiers);
    void draw(Item& item, HDC dc);
    // The window of the dialog running modally (owner of alerts and file dialogs), or null.
    HWND activeWindow() const;

private:
    template <typename T>
    static T* live(const void* ref, const std::unordered_set<const void*>& set) {
        return ref && set.count(ref) ? static_cast<T*>(const_cast<void*>(ref)) : nullptr;
    }
    template <typename T>
    class LiveScope;

    std::vector<std::unique_ptr<Dialog>> ownedDialogs_;
    std::vector<std::unique_ptr<Picture>> ownedPictures_;
    std::unordered_set<const void*> dialogs_, items_, entries_, notifiers_, trackers_, drawers_, pictures_;
};

// The native side (window.cpp): the dialog's window and its controls.
void openWindow(Dialog& dialog);
void closeWindow(Dialog& dialog);
void createControl(Item& item);
void destroyControl(Item& item);
void showModel(Item& item);   // text, value, range, entries, enable and visibility
void placeControl(Item& item);  // bounds, scaled to the dialog's DPI
// Runs the dialog's messages until the dialog has ended.
void runMessages(Dialog& dialog);

}  // namespace win32ui
