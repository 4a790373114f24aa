#include "ui/about_dialog.h"

#include "sdk/ravo_dialog_items.h"
#include "ui/adm/adm_host.h"
#include "ui/adm/button.h"
#include "ui/adm/edit.h"

namespace {
constexpr char kName[] = "RAVO_ABOUT";
constexpr char kTitle[] = "About Ravo";
constexpr char kText[] = "Ravo v3.0\n";
constexpr ps::int32 kInset = 5, kButtonWidth = 54, kButtonHeight = 18;
}  // namespace

AboutDialog::AboutDialog() : ADM::Dialog(kName) {
    setText(kTitle);
    setSize(kWidth, kHeight);
    const ps::int32 buttonTop = kHeight - kInset - kButtonHeight;
    add<ADM::Edit>(ps::kRavoAboutTextItem, ps::ADMRect{kInset, kInset, kWidth - kInset, buttonTop - kInset}, 3)
        .setText(kText);
    add<ADM::Button>(ps::kRavoOKItem, ps::ADMRect{kWidth - kInset - kButtonWidth, buttonTop, kWidth - kInset, kHeight - kInset},
                     "OK");
    setDefaultItem(ps::kRavoOKItem);
}

void showAbout(PluginCall& call) {
    AdmHost adm(call.basicSuite(), static_cast<ps::SPPluginRef>(call.plugInRef()));
    if (!adm.hasDialogManager()) return;
    AboutDialog dialog;
    dialog.runModal();
}
