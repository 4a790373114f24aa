// A toolkit dialog in the stand-in host's dialog manager, and a driver standing in for the
// person: it answers file dialogs and the colour chooser as a test sets, and acts in the
// dialog while it runs modally.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/filter_host.h"
#include "ui/adm/adm_host.h"
#include "ui/adm/dialog.h"

class ScriptedDriver : public editor::DialogDriver {
public:
    std::function<void(editor::DialogManager&, ps::ADMDialogRef)> onModal;
    std::optional<std::string> file;       // the file chosen in a file dialog; nothing: cancelled
    std::optional<ps::ADMRGBColor> color;  // the colour chosen in the colour chooser
    std::vector<editor::FileDialogRequest> fileRequests;

    std::optional<std::string> chooseFile(const editor::FileDialogRequest& request) override {
        fileRequests.push_back(request);
        return file;
    }
    std::optional<ps::ADMRGBColor> chooseColor(const ps::ADMRGBColor&) override { return color; }
    void alert(editor::AlertKind, const std::string&) override {}
    void runModal(editor::DialogManager& m, ps::ADMDialogRef d) override {
        if (onModal) onModal(m, d);
    }
};

class DialogTest : public ::testing::Test {
protected:
    ScriptedDriver driver;
    editor::Picture picture = editor::Picture::blank(2, 2, 3, 8);
    editor::FilterHost host{picture, editor::HostOptions{}};
    AdmHost adm{host.record().sSPBasic, nullptr};
    ADM::Dialog dialog{"Test"};

    void SetUp() override { host.dialogs().setDriver(&driver); }
    editor::DialogManager& manager() { return host.dialogs(); }
    // The dialog manager takes a person's input only while the dialog runs.
    void asUser(const std::function<bool(editor::DialogManager&)>& act) {
        driver.onModal = [&act](editor::DialogManager& m, ps::ADMDialogRef) { EXPECT_TRUE(act(m)); };
        dialog.runModal();
    }
};
