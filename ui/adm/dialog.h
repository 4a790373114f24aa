// A modal dialog of the host's dialog manager. The dialog owns its items: they are made
// through add and destroyed with it, before the dialog-manager dialog itself.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "sdk/adm_suites.h"
#include "ui/adm/callback_object.h"

namespace ADM {

class Item;

class Dialog : public CallbackObject {
public:
    Dialog(const char* name, ps::int32 style = ps::kADMModalDialogStyle);
    ~Dialog() override;

    // Shows the dialog until an item ends it; answers that item's id (0 without a dialog).
    virtual ps::int32 runModal();
    // The tracking hook: answers true when the event was handled (default: default tracking).
    virtual bool track(ps::ADMTrackerRef tracker);
    // The notification hook: a close-box hit becomes "close", then default handling.
    virtual void handleNotifier(ps::ADMNotifierRef notifier);
    // Called when the dialog manager destroys the dialog.
    virtual void destroying() {}
    // Whether a close-box hit may end the dialog (default: yes, as the dialog manager does).
    virtual bool canClose() { return true; }
    // Called after a modal run ended with itemID.
    virtual void modalEnded(ps::int32 /*itemID*/) {}

    template <typename ItemType, typename... Args>
    ItemType& add(Args&&... args) {
        auto item = std::make_unique<ItemType>(*this, std::forward<Args>(args)...);
        ItemType& made = *item;
        items_.push_back(std::move(item));
        return made;
    }

    void endModal(ps::int32 itemID);
    void setDefaultItem(ps::int32 itemID);
    void setCancelItem(ps::int32 itemID);
    void setSize(ps::int32 width, ps::int32 height);
    void setText(const char* title);
    void invalidate();
    void update();

    ps::ADMDialogRef ref() const { return ref_; }

private:
    // Runs f(suite, dialog) when the dialog and the dialog suite are there.
    template <typename F>
    void withDialog(F f) const;
    static void notifyProc(ps::ADMDialogRef dialog, ps::ADMNotifierRef notifier);
    static void destroyProc(ps::ADMDialogRef dialog);
    static ps::ADMBoolean trackProc(ps::ADMDialogRef dialog, ps::ADMTrackerRef tracker);
    static Dialog* of(ps::ADMDialogRef dialog);

    ps::ADMDialogRef ref_ = nullptr;
    std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace ADM
