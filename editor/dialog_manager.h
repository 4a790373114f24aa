// The stand-in host's dialog manager: dialogs holding items (bounds, text, values inside a
// range, units, enable and visibility, user data, callbacks, pop-up entries), modal runs
// that end when an item ends them, and the host's own file dialogs and alerts.
//
// Nothing is shown on a screen. A DialogDriver stands in for the person in front of it: it
// answers file dialogs and alerts, and while a dialog runs modally it acts on the dialog
// through the driver calls below (set a value as a user would, press a button, drag in an
// item, close the dialog). The plug-in reaches all of this through the C suite tables
// (editor/dialog_suites.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "editor/dialog_canvas.h"
#include "sdk/adm_suites.h"

namespace editor {

class DialogManager;
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

    bool hasEntries() const;
    bool isButton() const;
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

enum class FileDialogKind { open, save };
enum class AlertKind { error, message };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::open;
    std::string prompt, filter, startingFolder, defaultName;
};

// The person at the host: answers the host's own dialogs and acts in the plug-in's.
class DialogDriver {
public:
    virtual ~DialogDriver() = default;
    // The chosen full path, or nothing when the person cancels.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest& request) = 0;
    virtual void alert(AlertKind kind, const std::string& message) = 0;
    // The colour chosen in the host's colour chooser, or nothing when the person cancels.
    virtual std::optional<ps::ADMRGBColor> chooseColor(const ps::ADMRGBColor& /*start*/) { return std::nullopt; }
    // A dialog runs modally: act on it through the manager. When this returns and no item
    // has ended the run, it ends as if the person closed the dialog.
    virtual void runModal(DialogManager& manager, ps::ADMDialogRef dialog) = 0;
};

class DialogManager {
public:
    DialogManager();
    ~DialogManager();  // destroys the dialogs still open, with their callbacks
    DialogManager(const DialogManager&) = delete;
    DialogManager& operator=(const DialogManager&) = delete;

    // The manager that the calls without a reference (alerts, file dialogs) go to.
    // The newest manager, or the one made current since.
    static DialogManager* current();
    void makeCurrent() { current_ = this; }

    // Without a driver file dialogs are cancelled, alerts only recorded and modal runs closed.
    void setDriver(DialogDriver* driver) { driver_ = driver; }
    // The suite table of that name and version, or null.
    static const void* suite(const std::string& name, int32_t version);

    // -- What the suites do -------------------------------------------------------------
    Dialog* createDialog(const char* name, int32_t style, ps::ADMUserData userData);
    void destroyDialog(Dialog* dialog);
    // Null when the type is not one the manager knows. Ids need not be unique (two zoom buttons
    // may share one); findItem answers the first item of an id.
    DialogItem* createItem(Dialog* dialog, int32_t id, const char* type, const ps::ADMRect* bounds,
                           ps::ADMUserData userData);
    void destroyItem(DialogItem* item);
    DialogEntry* insertEntry(DialogItem* item, int32_t index);
    void removeEntry(DialogEntry* entry);
    void selectEntry(DialogEntry* entry, bool select);

    // The live object behind a reference, or null for a null or destroyed one.
    Dialog* dialog(const void* ref) const { return live<Dialog>(ref); }
    DialogItem* item(const void* ref) const { return live<DialogItem>(ref); }
    DialogEntry* entry(const void* ref) const { return live<DialogEntry>(ref); }
    DialogNotifier* notifier(const void* ref) const { return live<DialogNotifier>(ref); }
    DialogTracker* tracker(const void* ref) const { return live<DialogTracker>(ref); }
    DialogCanvas* canvas(const void* ref) const { return live<DialogCanvas>(ref); }

    void setValue(DialogItem& item, double value);
    void setRange(DialogItem& item, std::optional<double> minimum, std::optional<double> maximum);

    int32_t runModal(Dialog* dialog);
    void endModal(Dialog* dialog, int32_t itemID);
    // No further drag or release of this press reaches the item.
    void abortTracking(DialogTracker* tracker);
    void notify(Dialog* dialog, DialogItem* item, const char* type);
    void defaultNotify(const DialogNotifier& notifier);
    void defaultDraw(DialogItem* item, DialogCanvas& canvas);

    DialogCanvas* createImage(int32_t width, int32_t height);
    void destroyImage(DialogCanvas* image);

    void alert(AlertKind kind, const std::string& message);
    std::optional<std::string> chooseFile(const FileDialogRequest& request);
    std::optional<ps::ADMRGBColor> chooseColor(const ps::ADMRGBColor& start);
    const std::vector<std::pair<AlertKind, std::string>>& alerts() const { return alerts_; }

    // -- What the driver does while a dialog runs modally ----------------------------------
    // These act as a person would, so each answers false (and changes nothing) when the dialog
    // is not running modally or the item is hidden or disabled.
    ps::ADMItemRef findItem(ps::ADMDialogRef dialog, int32_t id) const;
    ps::ADMItemRef findItemByText(ps::ADMDialogRef dialog, const std::string& text) const;
    // Each sets the value, then notifies the item with "ADM User Changed Notifier".
    bool setFloatAsUser(ps::ADMItemRef item, double value);
    bool setBooleanAsUser(ps::ADMItemRef item, bool value);
    bool setTextAsUser(ps::ADMItemRef item, const std::string& text);  // edits take a number from it
    bool selectEntryAsUser(ps::ADMItemRef item, int32_t index);
    bool pressButton(ps::ADMDialogRef dialog, const std::string& text);  // the first shown, enabled one
    bool pressItem(ps::ADMItemRef button);  // one of several with the same text
    // One mouse event at a point in the item's coordinates; answers whether it reached the item.
    bool track(ps::ADMItemRef item, int32_t action, ps::ADMPoint point, int32_t modifiers = 0);
    bool closeAsUser(ps::ADMDialogRef dialog);  // the window's close box
    bool endModalAsDriver(ps::ADMDialogRef dialog, int32_t itemID);
    // Draws one item, or the whole dialog with its visible items, as the screen would show it.
    std::optional<DialogCanvas> draw(ps::ADMItemRef item);
    std::optional<DialogCanvas> draw(ps::ADMDialogRef dialog);

private:
    template <typename T>
    T* live(const void* ref) const {
        return ref && live_.count(Live{ref, tagOf(static_cast<const T*>(nullptr))})
                   ? static_cast<T*>(const_cast<void*>(ref))
                   : nullptr;
    }
    // Each kind of object is live under its own tag, so one passed as another is refused.
    static constexpr int tagOf(const Dialog*) { return 1; }
    static constexpr int tagOf(const DialogItem*) { return 2; }
    static constexpr int tagOf(const DialogEntry*) { return 3; }
    static constexpr int tagOf(const DialogNotifier*) { return 4; }
    static constexpr int tagOf(const DialogTracker*) { return 5; }
    static constexpr int tagOf(const DialogCanvas*) { return 6; }
    struct Live {
        const void* address;
        int tag;
        bool operator==(const Live& o) const { return address == o.address && tag == o.tag; }
    };
    struct LiveHash {
        size_t operator()(const Live& l) const { return std::hash<const void*>()(l.address) ^ size_t(l.tag); }
    };
    // Keeps an object live for as long as it is in scope.
    template <typename T>
    class LiveScope;

    DialogItem* userItem(ps::ADMItemRef ref) const;
    void forget(DialogItem& item);
    void drawInto(DialogItem& item, DialogCanvas& canvas);

    std::unordered_set<Live, LiveHash> live_;
    std::vector<std::unique_ptr<Dialog>> dialogs_;
    std::vector<std::unique_ptr<DialogCanvas>> images_;
    std::vector<std::pair<AlertKind, std::string>> alerts_;
    DialogDriver* driver_ = nullptr;
    static DialogManager* current_;
};

}  // namespace editor
