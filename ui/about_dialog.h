// The about box: the product name and version, with an OK button.
#pragma once

#include "host/plugin_call.h"
#include "ui/adm/dialog.h"

class AboutDialog : public ADM::Dialog {
public:
    static constexpr ps::int32 kWidth = 285, kHeight = 170;
    AboutDialog();
};

// Shows the about box through the host's dialog manager; without one nothing is shown.
void showAbout(PluginCall& call);
