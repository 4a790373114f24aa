#include "ui/adm/dialog.h"

#include "ui/adm/adm_host.h"
#include "ui/adm/item.h"
#include "ui/adm/notification_names.h"

namespace ADM {

namespace {
const ps::ADMDialogSuite5* dialogSuite() { return AdmHost::currentSuites().dialog; }
}  // namespace

template <typename F>
void Dialog::withDialog(F f) const {
    if (const auto* suite = dialogSuite(); suite && ref_) f(*suite, ref_);
}

Dialog::Dialog(const char* name, ps::int32 style) {
    const auto* suite = dialogSuite();
    if (!suite) return;
    ref_ = suite->Create(AdmHost::current()->pluginRef(), name, style, this);
    if (!ref_) return;
    suite->SetNotifyProc(ref_, notifyProc);
    suite->SetDestroyProc(ref_, destroyProc);
    suite->SetTrackProc(ref_, trackProc);
}

Dialog::~Dialog() {
    items_.clear();
    const auto* suite = dialogSuite();
    if (!ref_ || !suite) return;
    // Destroyed from here, the dialog-manager dialog no longer calls back into this object.
    suite->SetDestroyProc(ref_, nullptr);
    suite->SetUserData(ref_, nullptr);
    suite->Destroy(ref_);
}

Dialog* Dialog::of(ps::ADMDialogRef dialog) {
    const auto* suite = dialogSuite();
    return suite ? static_cast<Dialog*>(suite->GetUserData(dialog)) : nullptr;
}

void Dialog::notifyProc(ps::ADMDialogRef dialog, ps::ADMNotifierRef notifier) {
    if (Dialog* self = of(dialog)) self->handleNotifier(notifier);
}

void Dialog::destroyProc(ps::ADMDialogRef dialog) {
    Dialog* self = of(dialog);
    if (!self) return;
    self->ref_ = nullptr;
    self->notify(*self, kDestroy);
    self->destroying();
}

ps::ADMBoolean Dialog::trackProc(ps::ADMDialogRef dialog, ps::ADMTrackerRef tracker) {
    Dialog* self = of(dialog);
    return self && self->track(tracker) ? 1 : 0;
}

ps::int32 Dialog::runModal() {
    const auto* suite = dialogSuite();
    if (!ref_ || !suite) return 0;
    const ps::int32 itemID = suite->Modal(ref_);
    modalEnded(itemID);
    return itemID;
}

bool Dialog::track(ps::ADMTrackerRef tracker) {
    const auto* suite = dialogSuite();
    return ref_ && suite && suite->DefaultTrack(ref_, tracker);
}

void Dialog::handleNotifier(ps::ADMNotifierRef notifier) {
    const AdmSuites& suites = AdmHost::currentSuites();
    if (!ref_ || !suites.dialog) return;
    if (suites.notifier && suites.notifier->IsNotifierType(notifier, ps::kADMCloseHitNotifier)) {
        notify(*this, kClose);
        if (!canClose()) return;
    }
    suites.dialog->DefaultNotify(ref_, notifier);
}

void Dialog::endModal(ps::int32 itemID) {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.EndModal(dialog, itemID); });
}
void Dialog::setDefaultItem(ps::int32 itemID) {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.SetDefaultItemID(dialog, itemID); });
}
void Dialog::setCancelItem(ps::int32 itemID) {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.SetCancelItemID(dialog, itemID); });
}
void Dialog::setSize(ps::int32 width, ps::int32 height) {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.Size(dialog, width, height); });
}
void Dialog::setText(const char* title) {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.SetText(dialog, title); });
}
void Dialog::invalidate() {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.Invalidate(dialog); });
}
void Dialog::update() {
    withDialog([&](const ps::ADMDialogSuite5& s, ps::ADMDialogRef dialog) { s.Update(dialog); });
}

}  // namespace ADM
