// The dialog toolkit driven through the stand-in host's dialog manager, the way a person
// and the plug-in's windows use it.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/support/dialog_test.h"
#include "ui/adm/adm_host.h"
#include "ui/adm/button.h"
#include "ui/adm/color_pot.h"
#include "ui/adm/combo_box.h"
#include "ui/adm/dialog.h"
#include "ui/adm/divider.h"
#include "ui/adm/edit.h"
#include "ui/adm/group.h"
#include "ui/adm/label.h"
#include "ui/adm/notification_names.h"
#include "ui/adm/slider.h"

namespace {

using namespace ps;

// Records which handler ran, in order.
struct Recorder {
    std::vector<std::string> calls;
    void first(ADM::CallbackObject&, void*) { calls.push_back("first"); }
    void second(ADM::CallbackObject&, void*) { calls.push_back("second"); }
};

using AdmToolkit = DialogTest;

TEST_F(AdmToolkit, HandlersRunInConnectionOrderAndNamesMatchByIdentity) {
    Recorder recorder;
    auto& ok = dialog.add<ADM::Button>(1, ADMRect{0, 0, 60, 20}, "OK");
    ok.connect(ADM::kSelect, &recorder, &Recorder::first);
    ok.connect(ADM::kSelect, &recorder, &Recorder::second);
    static const char otherSelect[] = "select";  // same characters, another text
    ok.connect(otherSelect, &recorder, &Recorder::first);
    ok.connect(ADM::kChanged, &recorder, &Recorder::first);
    asUser([this](editor::DialogManager& m) { return m.pressButton(dialog.ref(), "OK"); });
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"first", "second"}));
    ok.disconnect(&recorder);
    asUser([this](editor::DialogManager& m) { return m.pressButton(dialog.ref(), "OK"); });
    EXPECT_EQ(recorder.calls.size(), 2u);
}

TEST_F(AdmToolkit, OkAndCancelEndTheModalRunWithTheirIds) {
    dialog.add<ADM::Button>(1, ADMRect{0, 0, 60, 20}, "OK");
    dialog.add<ADM::Button>(2, ADMRect{0, 30, 60, 50}, "Cancel");
    dialog.add<ADM::Button>(3, ADMRect{0, 60, 60, 80}, "Other");
    const struct {
        const char* press;
        int32 expected;
    } cases[] = {{"OK", 1}, {"Cancel", 2}, {"Other", 2}, {nullptr, 2}};  // neither: closed, cancel
    for (const auto& c : cases) {
        driver.onModal = [&c](editor::DialogManager& m, ADMDialogRef d) {
            if (c.press) m.pressButton(d, c.press);
        };
        EXPECT_EQ(dialog.runModal(), c.expected) << (c.press ? c.press : "close");
    }
}

// A close-box hit is announced as "close"; a dialog that refuses it is not ended by it.
struct StubbornDialog : ADM::Dialog {
    StubbornDialog() : ADM::Dialog("Stubborn") {}
    bool canClose() override { return false; }
};

TEST_F(AdmToolkit, CloseIsNotifiedAndCanBeRefused) {
    Recorder recorder;
    StubbornDialog stubborn;
    stubborn.connect(ADM::kClose, &recorder, &Recorder::first);
    driver.onModal = [](editor::DialogManager& m, ADMDialogRef d) {
        m.closeAsUser(d);
        m.endModalAsDriver(d, 7);
    };
    EXPECT_EQ(stubborn.runModal(), 7);
    dialog.connect(ADM::kClose, &recorder, &Recorder::second);
    EXPECT_EQ(dialog.runModal(), 2);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"first", "second"}));
}

TEST_F(AdmToolkit, AButtonWithoutWidthFitsItsText) {
    const struct {
        ADMRect bounds;
        const char* text;
        int32 width;
    } cases[] = {
        {{5, 5, 5, 25}, "Load...", ADM::Button::widthForText("Load...")},
        {{5, 5, 5, 25}, "A much longer caption", ADM::Button::widthForText("A much longer caption")},
        {{5, 5, 45, 25}, "Load...", 40},  // a width given is kept
    };
    int32 id = 10;
    for (const auto& c : cases) {
        auto& button = dialog.add<ADM::Button>(id++, c.bounds, c.text);
        EXPECT_EQ(button.bounds().right - button.bounds().left, c.width) << c.text;
        EXPECT_EQ(button.text(), c.text);
    }
    EXPECT_LT(ADM::Button::widthForText("OK"), ADM::Button::widthForText("Cancel"));
}

TEST_F(AdmToolkit, AGroupShowsHidesAndMovesItsChildren) {
    auto& group = dialog.add<ADM::Group>(10, ADMRect{10, 10, 110, 60});
    auto& label = dialog.add<ADM::Label>(11, ADMRect{20, 20, 60, 30}, "Radius");
    auto& slider = dialog.add<ADM::Slider>(12, ADMRect{20, 35, 100, 45});
    auto& outside = dialog.add<ADM::Label>(13, ADMRect{0, 80, 40, 90}, "Apart");
    group.addChild(label);
    group.addChild(slider);
    group.hide();
    for (const ADM::Item* item : {(ADM::Item*)&group, (ADM::Item*)&label, (ADM::Item*)&slider})
        EXPECT_FALSE(item->isVisible()) << item->id();
    EXPECT_TRUE(outside.isVisible());
    group.show();
    EXPECT_TRUE(label.isVisible() && slider.isVisible() && group.isVisible());
    group.setBounds({15, 7, 115, 57});
    const ADMRect moved = slider.bounds();
    EXPECT_EQ((std::array<int32, 4>{moved.left, moved.top, moved.right, moved.bottom}),
              (std::array<int32, 4>{25, 32, 105, 42}));
    EXPECT_EQ(outside.bounds().left, 0);
}

TEST_F(AdmToolkit, ASliderKeepsItsValueInsideItsRangeAndNotifiesChanges) {
    auto& slider = dialog.add<ADM::Slider>(10, ADMRect{0, 0, 100, 10});
    const struct {
        float minimum, maximum, set, expected;
    } cases[] = {
        {0, 100, 42.5f, 42.5f}, {0, 100, 140, 100}, {-180, 180, -200, -180},
        {200, 300, 250, 250},  // a range above the current one
        {-10, -5, -7, -7},     // and below it
    };
    for (const auto& c : cases) {
        slider.setMinMax(c.minimum, c.maximum);
        slider.setFloatValue(c.set);
        EXPECT_EQ(slider.minFloatValue(), c.minimum);
        EXPECT_EQ(slider.maxFloatValue(), c.maximum);
        EXPECT_FLOAT_EQ(slider.floatValue(), c.expected) << c.set;
    }
    slider.setMinMax(int32(0), int32(10));
    slider.setIntValue(4);
    EXPECT_EQ(slider.intValue(), 4);
    Recorder recorder;
    slider.connect(ADM::kChanged, &recorder, &Recorder::first);
    asUser([&slider](editor::DialogManager& m) { return m.setFloatAsUser(slider.ref(), 6); });
    EXPECT_EQ(slider.intValue(), 6);
    EXPECT_EQ(recorder.calls.size(), 1u);
}

TEST_F(AdmToolkit, MenuAndComboBoxEntriesAndSelection) {
    auto& menu = dialog.add<ADM::Menu>(10, ADMRect{0, 0, 100, 20});
    auto& combo = dialog.add<ADM::ComboBox>(11, ADMRect{0, 30, 100, 50});
    for (ADM::Menu* list : {&menu, static_cast<ADM::Menu*>(&combo)}) {
        EXPECT_EQ(list->selectedIndex(), -1);
        for (const char* text : {"Soft", "Medium", "Hard"}) list->addEntry(text);
        EXPECT_EQ(list->entryCount(), 3);
        EXPECT_EQ(list->entryText(1), "Medium");
        EXPECT_EQ(list->entryText(3), "");
        list->selectEntry(2);
        EXPECT_EQ(list->selectedIndex(), 2);
        list->selectEntry(9);  // outside the list: the selection stays
        EXPECT_EQ(list->selectedIndex(), 2);
        Recorder recorder;
        list->connect(ADM::kChanged, &recorder, &Recorder::first);
        asUser([list](editor::DialogManager& m) { return m.selectEntryAsUser(list->ref(), 0); });
        EXPECT_EQ(list->selectedIndex(), 0);
        EXPECT_EQ(recorder.calls.size(), 1u);
        list->disconnect(&recorder);
    }
    EXPECT_EQ(combo.text(), "Soft");  // the chosen entry's text fills the field
}

TEST_F(AdmToolkit, DrawnItemsPaintTheirColour) {
    auto& pot = dialog.add<ADM::ColorPot>(10, ADMRect{0, 0, 12, 10}, ADMRGBColor{65535, 32768, 0});
    EXPECT_EQ(pot.color().green, 32768);
    auto canvas = manager().draw(pot.ref());
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->pixel(5, 5), (std::array<uint8_t, 4>{255, 128, 0, 255}));
    const auto frame = canvas->pixel(0, 0);
    EXPECT_NE(frame, canvas->pixel(5, 5));
    pot.setColor({0, 0, 65535});
    EXPECT_EQ(pot.color().blue, 65535);
    EXPECT_EQ(manager().draw(pot.ref())->pixel(5, 5), (std::array<uint8_t, 4>{0, 0, 255, 255}));

    // A divider draws a one-pixel line in the shadow colour along its longer side.
    const struct {
        ADMRect bounds;
        int32 lineX, lineY, offX, offY;
    } dividers[] = {{{0, 20, 40, 24}, 20, 2, 20, 1}, {{50, 0, 55, 30}, 2, 15, 3, 15}};
    int32 id = 11;
    for (const auto& d : dividers) {
        auto& divider = dialog.add<ADM::Divider>(id++, d.bounds);
        canvas = manager().draw(divider.ref());
        ASSERT_TRUE(canvas);
        EXPECT_EQ(canvas->pixel(d.lineX, d.lineY), frame) << divider.id();
        EXPECT_NE(canvas->pixel(d.offX, d.offY), frame) << divider.id();
    }
}

TEST_F(AdmToolkit, EditTextUnitsAndItemsDestroyedWithTheirDialog) {
    auto& edit = dialog.add<ADM::Edit>(10, ADMRect{0, 0, 50, 20});
    edit.setUnits(kADMPercentUnits);
    edit.setText("12.5");
    EXPECT_EQ(edit.text(), "12.5");
    const std::string path(300, 'p');  // longer than a first read takes
    edit.setText(path.c_str());
    EXPECT_EQ(edit.text(), path);
    Recorder recorder;
    edit.connect(ADM::kChanged, &recorder, &Recorder::first);
    asUser([&edit](editor::DialogManager& m) { return m.setTextAsUser(edit.ref(), "40"); });
    EXPECT_EQ(recorder.calls.size(), 1u);
    {
        ADM::Dialog shortLived("Short");
        shortLived.add<ADM::Label>(1, ADMRect{0, 0, 10, 10}, "x");
        EXPECT_NE(manager().findItem(shortLived.ref(), 1), nullptr);
    }
    EXPECT_EQ(manager().findItemByText(dialog.ref(), "x"), nullptr);
}

// The host may destroy a dialog under its wrappers: they hear "destroy", items first, and
// then leave the dead dialog-manager objects alone.
TEST_F(AdmToolkit, ADialogDestroyedByTheHostLeavesItsWrappersHarmless) {
    Recorder recorder;
    auto& label = dialog.add<ADM::Label>(10, ADMRect{0, 0, 50, 20}, "gone");
    label.connect(ADM::kDestroy, &recorder, &Recorder::first);
    dialog.connect(ADM::kDestroy, &recorder, &Recorder::second);
    adm.suites().dialog->Destroy(dialog.ref());
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(dialog.ref(), nullptr);
    EXPECT_EQ(label.ref(), nullptr);
    label.setText("still here");
    EXPECT_EQ(label.text(), "");
    EXPECT_EQ(dialog.runModal(), 0);
}

TEST(AdmHostSuites, AcquiredTogetherReleasedTogetherAndMissingOnesStayNull) {
    editor::Picture picture = editor::Picture::blank(2, 2, 3, 8);
    editor::FilterHost full(picture, editor::HostOptions{});
    const uint32_t before = full.acquiredSuites();
    {
        AdmHost adm(full.record().sSPBasic, nullptr);
        EXPECT_TRUE(adm.hasDialogManager());
        EXPECT_EQ(AdmHost::current(), &adm);
        EXPECT_EQ(full.acquiredSuites() - before, 10u);
    }
    EXPECT_EQ(AdmHost::current(), nullptr);
    EXPECT_EQ(full.acquiredSuites() - before, full.releasedSuites());

    editor::HostOptions options;
    for (const char* name : {kADMDialogSuite, kADMItemSuite, kADMListSuite}) options.faults.withheldSuites.insert(name);
    editor::FilterHost poor(picture, options);
    AdmHost adm(poor.record().sSPBasic, nullptr);
    EXPECT_FALSE(adm.hasDialogManager());
    EXPECT_EQ(adm.suites().dialog, nullptr);
    EXPECT_NE(adm.suites().notifier, nullptr);
    ADM::Dialog dialog("Nothing");
    auto& menu = dialog.add<ADM::Menu>(1, ADMRect{0, 0, 10, 10});
    auto& ok = dialog.add<ADM::Button>(2, ADMRect{0, 0, 0, 10}, "OK");
    EXPECT_EQ(menu.addEntry("a"), -1);
    EXPECT_EQ(ok.text(), "");
    EXPECT_EQ(dialog.runModal(), 0);
    AdmHost none(nullptr, nullptr);
    EXPECT_EQ(none.suites().basic, nullptr);
}

}  // namespace
