// The stand-in host's dialog manager: the dialog model (dialogs, items, entries, modal runs,
// notifications), the host's own file dialogs, alerts and colour chooser, and drawing into
// pictures.
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
#include <vector>

#include "dialogmodel/dialog_model.h"
#include "editor/dialog_canvas.h"
#include "sdk/adm_suites.h"

namespace editor {

using dialogmodel::Dialog;
using dialogmodel::DialogEntry;
using dialogmodel::DialogItem;
using dialogmodel::DialogNotifier;
using dialogmodel::DialogTracker;
class DialogManager;

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

class DialogManager : public dialogmodel::DialogModel {
public:
    DialogManager() = default;
    ~DialogManager() override;  // destroys the dialogs still open, with their callbacks

    // The manager that the calls without a reference (alerts, file dialogs) go to.
    // The newest manager, or the one made current since.
    static DialogManager* current() { return static_cast<DialogManager*>(currentModel()); }

    // Without a driver file dialogs are cancelled, alerts only recorded and modal runs closed.
    void setDriver(DialogDriver* driver) { driver_ = driver; }
    // The suite table of that name and version, or null.
    static const void* suite(const std::string& name, int32_t version);

    DialogCanvas* canvas(const void* ref) const {
        return isLive(ref, kCanvasTag) ? static_cast<DialogCanvas*>(const_cast<void*>(ref)) : nullptr;
    }
    void defaultDraw(DialogItem* item, ps::ADMDrawerRef drawer) override;
    void runModalLoop(Dialog& dialog) override;

    DialogCanvas* createImage(int32_t width, int32_t height);
    void destroyImage(DialogCanvas* image);

    void alert(AlertKind kind, const std::string& message);
    std::optional<std::string> chooseFile(const FileDialogRequest& request);
    std::optional<ps::ADMRGBColor> chooseColor(const ps::ADMRGBColor& start);
    const std::vector<std::pair<AlertKind, std::string>>& alerts() const { return alerts_; }

    // -- What the driver does while a dialog runs modally ----------------------------------
    // These act as a person would, so each answers false (and changes nothing) when the dialog
    // is not running modally or the item is hidden or disabled.
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
    static constexpr int kCanvasTag = kFirstOwnTag;

    DialogItem* userItem(ps::ADMItemRef ref) const;
    void drawInto(DialogItem& item, DialogCanvas& canvas);

    std::vector<std::unique_ptr<DialogCanvas>> images_;
    std::vector<std::pair<AlertKind, std::string>> alerts_;
    DialogDriver* driver_ = nullptr;
};

}  // namespace editor
