// The parameter dialog on the stand-in host's dialog manager, with effects made for the test:
// the column's groups and tabs, the zoom steps, point handles, Reset, presets, OK and Cancel.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "editor/filter_host.h"
#include "fx/effect_class.h"
#include "host/entry_table.h"
#include "host/plugin_call.h"
#include "host/preset_file.h"
#include "sdk/ravo_dialog_items.h"
#include "ui/about_dialog.h"
#include "ui/param_dialog.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace ps;

constexpr const char* kViewItems[] = {"Output", "Matte", "Original"};

// Three plain top-level groups (tabs), a "view" list, a point without a handle, a hidden number
// and a check box that enables the number of the first tab.
struct TabbedEffect : Effect {
    static constexpr const char* kTitle = "Ravo Tabbed";
    static constexpr const char* kDescription = "";
    static constexpr uint32_t kEffectFlags = 0;
    Parameter params[13];
    static void define(TabbedEffect& e) {
        Parameter* p = e.params;
        p[0].defineInput("input", "Input", 0);
        p[1].defineList("view", "View", kViewItems, 3, 0);
        p[2].defineGroupBegin("a", "Alpha", false);
        p[3].defineNumber("amount", "Amount", 0, 100, 50);
        p[3].addFlags(ParameterFlag::Percent);
        p[4].definePoint("spot", "Spot", 0.25, 0.25);
        p[4].addFlags(ParameterFlag::NoPointHandle);
        p[5].defineGroupEnd();
        p[6].defineGroupBegin("b", "Beta", false);
        p[7].defineBoolean("on", "On", true);
        p[7].addFlags(ParameterFlag::NotifyOnChange);
        p[8].defineNumber("secret", "Secret", 0, 10, 5);
        p[8].addFlags(ParameterFlag::Hidden);
        p[9].defineGroupEnd();
        p[10].defineGroupBegin("c", "Gamma", false);
        p[11].definePoint("centre", "Centre", 0, 0);
        p[12].defineGroupEnd();
    }
    static void parameterChanged(TabbedEffect& e, uint32_t index) {
        if (index == 7) e.params[3].setEnabled(e.params[7].boolean);
    }
};

// One top-level group, shown as a framed box.
struct FramedEffect : Effect {
    static constexpr const char* kTitle = "Ravo Framed";
    static constexpr const char* kDescription = "";
    static constexpr uint32_t kEffectFlags = 0;
    Parameter params[5];
    static void define(FramedEffect& e) {
        Parameter* p = e.params;
        p[0].defineInput("input", "Input", 0);
        p[1].defineGroupBegin("g", "Group", true);
        p[2].defineNumber("inner", "Inner", 0, 10, 3);
        p[3].defineGroupEnd();
        p[4].defineNumber("outer", "Outer", 0, 10, 4);
    }
};

class Driver : public editor::DialogDriver {
public:
    std::function<void(editor::DialogManager&, ADMDialogRef)> onModal;
    std::deque<std::string> files;
    std::vector<std::string> alerts;
    std::optional<std::string> chooseFile(const editor::FileDialogRequest&) override {
        if (files.empty()) return std::nullopt;
        std::string next = files.front();
        files.pop_front();
        return next;
    }
    void alert(editor::AlertKind, const std::string& message) override { alerts.push_back(message); }
    void runModal(editor::DialogManager& m, ADMDialogRef d) override {
        if (onModal) onModal(m, d);
    }
};

template <typename E>
class DialogFixture {
public:
    explicit DialogFixture(int32_t width = 960, int32_t height = 700)
        : picture(editor::Picture::blank(width, height, 3, 8)),
          host(picture, editor::HostOptions{}),
          effect(effectClassOf<E>().create()),
          call(effect, &host.record(), &data, &result, kEntryPoints[0]) {
        host.dialogs().setDriver(&driver);
    }
    ~DialogFixture() { effect->effectClass->destroy(effect); }

    // Runs the dialog; act plays the person in front of it.
    DialogOutcome run(std::function<void(editor::DialogManager&, ADMDialogRef)> act) {
        driver.onModal = std::move(act);
        return runParameterDialog(call);
    }
    Parameter& parameter(uint32_t i) { return effect->parameter(i); }

    editor::Picture picture;
    editor::FilterHost host;
    Driver driver;
    Effect* effect;
    intptr_t data = 0;
    int16_t result = 0;
    PluginCall call;
};

const editor::DialogItem& item(editor::DialogManager& m, ADMDialogRef d, int32_t id) {
    const editor::DialogItem* i = m.item(m.findItem(d, id));
    if (!i) throw std::runtime_error("no item " + std::to_string(id));
    return *i;
}
int32_t control(int32_t index, RavoControlPart part = kRavoControlWhole) { return controlItemID(index, part); }
std::string zoomText(editor::DialogManager& m, ADMDialogRef d) { return item(m, d, kRavoZoomLabelItem).text; }

TEST(ParamDialog, LaysOutPreviewZoomRowColumnAndButtons) {
    DialogFixture<FramedEffect> f;
    f.run([](editor::DialogManager& m, ADMDialogRef d) {
        const editor::Dialog& dialog = *m.dialog(d);
        EXPECT_EQ(dialog.title, "Ravo Framed");
        EXPECT_EQ(dialog.width, ParamDialog::kWidth);
        const ADMRect preview = item(m, d, kRavoPreviewItem).bounds;
        EXPECT_EQ(preview.left, 5);
        EXPECT_EQ(preview.right, 485);
        EXPECT_EQ(preview.bottom, 355);
        // The zoom row: 191 pixels centred under the preview, 5 below it.
        const ADMRect fit = m.item(m.findItemByText(d, "Fit"))->bounds;
        const ADMRect actual = m.item(m.findItemByText(d, "1:1"))->bounds;
        EXPECT_EQ(actual.right - fit.left, 191);
        EXPECT_LE(std::abs((fit.left - 5) - (485 - actual.right)), 1);  // centred to a pixel
        EXPECT_EQ(fit.top, 360);
        // The buttons: Load... and Save... on the left; Reset, Cancel and OK ending at 790.
        const ADMRect ok = item(m, d, kRavoOKItem).bounds, cancel = item(m, d, kRavoCancelItem).bounds;
        const ADMRect reset = item(m, d, kRavoResetItem).bounds, load = item(m, d, kRavoLoadItem).bounds;
        EXPECT_EQ(ok.right, 790);
        EXPECT_EQ(ok.right - ok.left, 54);
        EXPECT_EQ(cancel.right - cancel.left, 59);
        EXPECT_LT(reset.right, cancel.left);
        EXPECT_LT(cancel.right, ok.left);
        EXPECT_EQ(load.left, 5);
        EXPECT_LT(load.right, item(m, d, kRavoSaveItem).bounds.left);
        EXPECT_EQ(dialog.height, ok.top + 23);
        EXPECT_EQ(ok.top, std::max(fit.bottom, item(m, d, control(4)).bounds.bottom) + 5);
        EXPECT_EQ(dialog.defaultItem, kRavoOKItem);
        EXPECT_EQ(dialog.cancelItem, kRavoCancelItem);
    });
}

TEST(ParamDialog, OneTopLevelGroupIsAFramedBoxIndentingItsControls) {
    DialogFixture<FramedEffect> f;
    f.run([](editor::DialogManager& m, ADMDialogRef d) {
        const editor::DialogItem& frame = item(m, d, control(1));
        EXPECT_EQ(frame.type, kADMItemGroupType);
        EXPECT_EQ(frame.text, "Group");
        EXPECT_EQ(m.findItemByText(d, "Group"), m.findItem(d, control(1)));  // no tab button
        const ADMRect inner = item(m, d, control(2)).bounds, outer = item(m, d, control(4)).bounds;
        EXPECT_EQ(inner.left, 490 + 16);
        EXPECT_EQ(outer.left, 490);
        EXPECT_LE(inner.bottom, frame.bounds.bottom);
        EXPECT_GE(outer.top, frame.bounds.bottom);
    });
}

TEST(ParamDialog, TabsOpenOneAtATimeAndKeepHiddenControlsHidden) {
    DialogFixture<TabbedEffect> f;
    f.run([&](editor::DialogManager& m, ADMDialogRef d) {
        const auto open = [&](int32_t group) { return item(m, d, control(group)).value != 0; };
        const auto shown = [&](int32_t index) { return item(m, d, control(index)).visible; };
        EXPECT_TRUE(open(2) && !open(6) && !open(10));
        EXPECT_TRUE(shown(3) && !shown(7) && !shown(11));
        EXPECT_TRUE(f.parameter(2).hasFlag(ParameterFlag::Open));
        ASSERT_TRUE(m.pressButton(d, "Gamma"));
        EXPECT_TRUE(!open(2) && !open(6) && open(10));
        EXPECT_TRUE(!shown(3) && !shown(4) && shown(11));
        EXPECT_FALSE(f.parameter(2).hasFlag(ParameterFlag::Open));
        ASSERT_TRUE(m.pressButton(d, "Beta"));
        EXPECT_TRUE(shown(7));
        EXPECT_FALSE(shown(8));  // hidden by its flag in an open tab
        // The tab buttons stand two to a row above the contents.
        EXPECT_EQ(item(m, d, control(2)).bounds.top, item(m, d, control(6)).bounds.top);
        EXPECT_GT(item(m, d, control(10)).bounds.top, item(m, d, control(2)).bounds.top);
        EXPECT_GT(item(m, d, control(7)).bounds.top, item(m, d, control(10)).bounds.bottom);
    });
}

TEST(ParamDialog, AChangeThatNotifiesTheEffectRefreshesEnabledStates) {
    DialogFixture<TabbedEffect> f;
    f.run([&](editor::DialogManager& m, ADMDialogRef d) {
        ASSERT_TRUE(m.pressButton(d, "Beta"));
        ASSERT_TRUE(m.setBooleanAsUser(m.findItem(d, control(7)), false));
        ASSERT_TRUE(m.pressButton(d, "Alpha"));
        EXPECT_FALSE(item(m, d, control(3)).enabled);
        EXPECT_FALSE(item(m, d, control(3, kRavoControlValue)).enabled);  // the slider inside too
        ASSERT_TRUE(m.pressButton(d, "Beta"));
        ASSERT_TRUE(m.setBooleanAsUser(m.findItem(d, control(7)), true));
        EXPECT_TRUE(item(m, d, control(3, kRavoControlValue)).enabled);
    });
}

TEST(ParamDialog, OKSetsTheViewBackToTheResultAndCancelEndsTheRun) {
    for (const char* button : {"OK", "Cancel"}) {
        DialogFixture<TabbedEffect> f;
        const DialogOutcome outcome = f.run([&](editor::DialogManager& m, ADMDialogRef d) {
            ASSERT_TRUE(m.selectEntryAsUser(m.findItem(d, control(1, kRavoControlValue)), 2));
            ASSERT_TRUE(m.pressButton(d, button));
        });
        const bool ok = std::string(button) == "OK";
        EXPECT_EQ(outcome, ok ? DialogOutcome::Accepted : DialogOutcome::Cancelled);
        EXPECT_EQ(f.parameter(1).listIndex, ok ? 0u : 2u) << button;
    }
    DialogFixture<TabbedEffect> closed;
    EXPECT_EQ(closed.run([](editor::DialogManager& m, ADMDialogRef d) { m.closeAsUser(d); }), DialogOutcome::Cancelled);
}

TEST(ParamDialog, ZoomStepsAndTheirLabel) {
    struct Row {
        int32_t width, height;
        std::vector<std::string> presses;
        std::vector<std::string> labels;  // after opening, then after each press
    };
    const Row rows[] = {
        // Fit gives 0.5; zoom in stops at 1.0 rather than stepping 0.8 to 1.0 x 1.25.
        {960, 700, {"-", "1:1", "-", "+", "+", "Fit"}, {" 50%", " 40%", "100%", " 80%", "100%", "100%", " 50%"}},
        // A small picture: zooming out below half the view in both directions jumps to half
        // the view, here above the zoom it started from.
        {100, 100, {"1:1", "-"}, {"350%", "100%", "175%"}},
    };
    for (const Row& row : rows) {
        DialogFixture<FramedEffect> f(row.width, row.height);
        f.run([&](editor::DialogManager& m, ADMDialogRef d) {
            std::vector<std::string> seen{zoomText(m, d)};
            for (const std::string& press : row.presses) {
                EXPECT_TRUE(m.pressButton(d, press));
                seen.push_back(zoomText(m, d));
            }
            EXPECT_EQ(seen, row.labels) << row.width;
        });
    }
}

TEST(ParamDialog, PointHandlesDragAndTheModifierOrAMissingHandlePans) {
    DialogFixture<TabbedEffect> f;
    f.run([&](editor::DialogManager& m, ADMDialogRef d) {
        ADMItemRef preview = m.findItem(d, kRavoPreviewItem);
        const auto drag = [&](ADMPoint from, ADMPoint to, int32_t modifiers) {
            m.track(preview, kADMButtonDownAction, from, modifiers);
            m.track(preview, kADMMouseMovedDownAction, to, modifiers);
            m.track(preview, kADMButtonUpAction, to, modifiers);
        };
        // At fit (0.5) the 960 x 700 picture fills the view: the centre point is at (240, 175).
        drag({240, 175}, {240, 175}, kADMModifierKey);
        EXPECT_EQ(f.parameter(11).point.x, 0.0);
        // The spot at (0.25, 0.25) has no handle: pressing on it pans.
        drag({360, 262}, {10, 10}, 0);
        EXPECT_EQ(f.parameter(4).point.x, 0.25);
        drag({240, 175}, {0, 0}, 0);
        EXPECT_EQ(f.parameter(11).point.x, -0.5);
        EXPECT_EQ(f.parameter(11).point.y, -0.5);
        ASSERT_TRUE(m.pressButton(d, "Gamma"));
        EXPECT_EQ(item(m, d, control(11, kRavoControlValue)).text, "  -50,   -50");
    });
}

TEST(ParamDialog, ResetAndPresetsThroughTheFileDialogs) {
    TempFolder folder;
    DialogFixture<TabbedEffect> f;
    const std::string preset = (folder.path() / "Soft").string();
    f.driver.files = {preset, (folder.path() / "missing.qel").string(), preset + ".qel",
                      (folder.path() / "no" / "such" / "folder" / "x.qel").string()};
    f.run([&](editor::DialogManager& m, ADMDialogRef d) {
        ASSERT_TRUE(m.setTextAsUser(m.findItem(d, control(3, kRavoControlSecond)), "20"));
        ASSERT_TRUE(m.pressButton(d, "Save..."));
        ASSERT_TRUE(m.setTextAsUser(m.findItem(d, control(3, kRavoControlSecond)), "70"));
        ASSERT_TRUE(m.pressButton(d, "Load..."));  // missing.qel
        EXPECT_EQ(f.parameter(3).number, 70.0);
        ASSERT_TRUE(m.pressButton(d, "Load..."));  // Soft.qel
        EXPECT_EQ(f.parameter(3).number, 20.0);
        EXPECT_EQ(item(m, d, control(3, kRavoControlSecond)).text, "20");
        ASSERT_TRUE(m.pressButton(d, "Save..."));  // a folder that does not exist
        ASSERT_TRUE(m.pressButton(d, "Reset"));
        EXPECT_EQ(f.parameter(3).number, 50.0);
        EXPECT_EQ(item(m, d, control(3, kRavoControlSecond)).text, "50");
    });
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Soft.qel"));
    EXPECT_EQ(f.driver.alerts,
              (std::vector<std::string>{preset_file::kLoadFailedMessage, "Could not save the preset file."}));
}

TEST(AboutDialog, ShowsNameAndVersionWithOK) {
    DialogFixture<FramedEffect> f;
    f.driver.onModal = [](editor::DialogManager& m, ADMDialogRef d) {
        const editor::Dialog& dialog = *m.dialog(d);
        EXPECT_EQ(dialog.name, "RAVO_ABOUT");
        EXPECT_EQ(dialog.title, "About Ravo");
        EXPECT_EQ(dialog.width, AboutDialog::kWidth);
        EXPECT_EQ(dialog.height, AboutDialog::kHeight);
        EXPECT_EQ(item(m, d, kRavoAboutTextItem).text, "Ravo v3.0\n");
        EXPECT_EQ(dialog.defaultItem, kRavoOKItem);
        const ADMRect ok = item(m, d, kRavoOKItem).bounds;
        EXPECT_LE(ok.right, AboutDialog::kWidth);
        EXPECT_LE(ok.bottom, AboutDialog::kHeight);
        EXPECT_TRUE(m.pressButton(d, "OK"));
    };
    showAbout(f.call);
    EXPECT_TRUE(f.host.dialogs().alerts().empty());
}

}  // namespace
