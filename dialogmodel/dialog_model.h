// The model behind a dialog manager: dialogs holding items (bounds, text, values inside a
// range, units, enable and visibility, user data, callbacks, pop-up entries), modal runs that
// end when an item ends them, notifications and mouse tracking, and the C suite tables that
// reach all of it by reference.
//
// Two dialog managers share it: the stand-in host's (editor/, nothing on a screen, a driver
// in place of a person) and the Windows plug-in's own (ui/win32/, real windows). Each derives
// from DialogModel and adds what is its own: how a modal run is driven, what shows the items,
// and the basic, drawer and image suites.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "sdk/adm_suites.h"

namespace dialogmodel {

struct Dialog;
struct DialogItem;

struct DialogEntry {
    DialogItem* item = nullptr;
    int32_t id = 0;
    ps::ADMUserData userData = nullptr;
    std::string text;
    bool selected = false;
    bool enabled = true;
};

struct DialogItem {
    Dialog* dialog = nullptr;
    int32_t id = 0;
    std::string type;
    ps::ADMRect bounds{};
    ps::ADMUserData userData = nullptr;
    bool visible = true;
    bool enabled = true;
    std::string text;
    double value = 0;
    double minimum = -3.4e38, maximum = 3.4e38;  // no range until one is set
    int32_t units = ps::kADMNoUnits;
    int32_t cursor = 0;
    ps::ADMItemNotifyProc notifyProc = nullptr;
    ps::ADMItemDestroyProc destroyProc = nullptr;
    ps::ADMItemTrackProc trackProc = nullptr;
    ps::ADMItemDrawProc drawProc = nullptr;
    std::vector<std::unique_ptr<DialogEntry>> entries;  // pop-up lists and combo boxes
    bool trackingAborted = false;
    void* native = nullptr;  // what shows the item on a screen, if anything

    bool hasEntries() const;
    bool isButton() const;
    bool isPushButton() const;
    bool isToggle() const;  // a check box
    bool isRadio() const;
    bool isEdit() const;  // takes typed text: edits and combo boxes
    int32_t width() const { return bounds.right - bounds.left; }
    int32_t height() const { return bounds.bottom - bounds.top; }
};

struct Dialog {
    std::string name;
    int32_t style = ps::kADMModalDialogStyle;
    ps::ADMUserData userData = nullptr;
    std::string title;
    int32_t width = 0, height = 0;
    int32_t defaultItem = ps::kADMDefaultItemID;
    int32_t cancelItem = ps::kADMCancelItemID;
    ps::ADMDialogNotifyProc notifyProc = nullptr;
    ps::ADMDialogDestroyProc destroyProc = nullptr;
    ps::ADMDialogTrackProc trackProc = nullptr;
    ps::ADMDialogDrawProc drawProc = nullptr;
    std::vector<std::unique_ptr<DialogItem>> items;
    bool running = false;
    bool destroyAfterRun = false;
    std::optional<int32_t> endedWith;
    void* native = nullptr;  // what shows the dialog on a screen, if anything
};

// A notification in flight (the notifier reference points at one of these).
struct DialogNotifier {
    Dialog* dialog = nullptr;
    DialogItem* item = nullptr;  // null when the dialog itself is notified
    std::string type;
};

// A mouse event in flight (the tracker reference points at one of these).
struct DialogTracker {
    DialogItem* item = nullptr;
    ps::ADMPoint point{};
    int32_t action = 0;
    int32_t modifiers = 0;
};

// One suite table by name and version.
struct SuiteTable {
    const char* name;
    int32_t version;
    const void* table;
};

// The table of that name and version among the count given, or null.
const void* findSuite(const SuiteTable* tables, size_t count, const std::string& name, int32_t version);

// Copies as much of the text as fits with its NUL; answers the full length.
int32_t copyText(const std::string& text, char* out, int32_t maxLength);

class DialogModel {
public:
    DialogModel();
    virtual ~DialogModel();  // derived managers destroy their dialogs first (destroyAll)
    DialogModel(const DialogModel&) = delete;
    DialogModel& operator=(const DialogModel&) = delete;

    // The model the suite tables reach: the newest, or the one made current since.
    static DialogModel* currentModel() { return current_; }
    void makeCurrent() { current_ = this; }
    // The dialog, item, notifier, tracker, list, entry and list-entry tables, or null.
    static const void* modelSuite(const std::string& name, int32_t version);

    Dialog* createDialog(const char* name, int32_t style, ps::ADMUserData userData);
    void destroyDialog(Dialog* dialog);
    // Null when the type is not one the manager knows. Ids need not be unique; findItem
    // answers the first item of an id.
    DialogItem* createItem(Dialog* dialog, int32_t id, const char* type, const ps::ADMRect* bounds,
                           ps::ADMUserData userData);
    void destroyItem(DialogItem* item);
    DialogEntry* insertEntry(DialogItem* item, int32_t index);
    void removeEntry(DialogEntry* entry);
    void selectEntry(DialogEntry* entry, bool select);

    // The live object behind a reference, or null for a null or destroyed one.
    Dialog* dialog(const void* ref) const { return live<Dialog>(ref, kDialogTag); }
    DialogItem* item(const void* ref) const { return live<DialogItem>(ref, kItemTag); }
    DialogEntry* entry(const void* ref) const { return live<DialogEntry>(ref, kEntryTag); }
    DialogNotifier* notifier(const void* ref) const { return live<DialogNotifier>(ref, kNotifierTag); }
    DialogTracker* tracker(const void* ref) const { return live<DialogTracker>(ref, kTrackerTag); }
    ps::ADMItemRef findItem(ps::ADMDialogRef dialog, int32_t id) const;

    void setValue(DialogItem& item, double value);
    void setRange(DialogItem& item, std::optional<double> minimum, std::optional<double> maximum);

    int32_t runModal(Dialog* dialog);
    void endModal(Dialog* dialog, int32_t itemID);
    // No further drag or release of this press reaches the item.
    void abortTracking(DialogTracker* tracker);
    void notify(Dialog* dialog, DialogItem* item, const char* type);
    void defaultNotify(const DialogNotifier& notifier);
    // One mouse event for the item's track callback; false when this press was aborted.
    bool deliverTrack(DialogItem& item, int32_t action, ps::ADMPoint point, int32_t modifiers);

    // -- What a derived manager does ------------------------------------------------------
    // Runs the dialog until an item ends it (a run that returns without one is a cancel).
    virtual void runModalLoop(Dialog& dialog) = 0;
    virtual void defaultDraw(DialogItem* item, ps::ADMDrawerRef drawer) = 0;
    virtual void itemCreated(DialogItem&) {}
    virtual void itemDestroying(DialogItem&) {}
    virtual void dialogDestroying(Dialog&) {}
    // Text, value, range, entries, enable or visibility changed; or the bounds.
    virtual void itemChanged(DialogItem&) {}
    virtual void itemMoved(DialogItem&) {}
    virtual void dialogRetitled(Dialog&) {}
    virtual void invalidate(DialogItem&) {}
    virtual void update(DialogItem&) {}
    virtual void invalidate(Dialog&) {}
    virtual void update(Dialog&) {}

protected:
    // Objects of the derived manager's own kinds (drawers, images) are live under tags of
    // kFirstOwnTag and up, so one passed as another is refused.
    static constexpr int kFirstOwnTag = 6;
    void markLive(const void* object, int tag) { live_.insert({object, tag}); }
    void forgetLive(const void* object, int tag) { live_.erase({object, tag}); }
    bool isLive(const void* object, int tag) const { return object && live_.count({object, tag}); }
    // Keeps an object live for as long as it is in scope.
    class LiveScope {
    public:
        LiveScope(DialogModel& model, const void* object, int tag) : model_(model), object_(object), tag_(tag) {
            model_.markLive(object_, tag_);
        }
        ~LiveScope() { model_.forgetLive(object_, tag_); }
        LiveScope(const LiveScope&) = delete;
        LiveScope& operator=(const LiveScope&) = delete;

    private:
        DialogModel& model_;
        const void* object_;
        int tag_;
    };
    // Destroys every dialog still there, with its callbacks; derived destructors call it.
    void destroyAll();
    const std::vector<std::unique_ptr<Dialog>>& dialogs() const { return dialogs_; }

private:
    static constexpr int kDialogTag = 1, kItemTag = 2, kEntryTag = 3, kNotifierTag = 4, kTrackerTag = 5;
    template <typename T>
    T* live(const void* ref, int tag) const {
        return isLive(ref, tag) ? static_cast<T*>(const_cast<void*>(ref)) : nullptr;
    }
    struct Live {
        const void* address;
        int tag;
        bool operator==(const Live& o) const { return address == o.address && tag == o.tag; }
    };
    struct LiveHash {
        size_t operator()(const Live& l) const { return std::hash<const void*>()(l.address) ^ size_t(l.tag); }
    };

    std::unordered_set<Live, LiveHash> live_;
    std::vector<std::unique_ptr<Dialog>> dialogs_;
    static DialogModel* current_;
};

}  // namespace dialogmodel
