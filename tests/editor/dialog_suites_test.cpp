// The dialog manager reached the way the plug-in reaches it: through the C suite tables that
// the host's basic suite hands out, with a driver in the place of the person.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "editor/filter_host.h"

namespace {

using namespace ps;

// What the callbacks saw, reached through the user data of the objects.
struct Log {
    std::vector<std::string> events;
};

void recordNotify(ADMItemRef item, ADMNotifierRef notifier);
void recordDestroy(ADMItemRef item);

class TestDriver : public editor::DialogDriver {
public:
    std::optional<std::string> answer;
    std::function<void(editor::DialogManager&, ADMDialogRef)> onModal;
    std::optional<std::string> chooseFile(const editor::FileDialogRequest&) override { return answer; }
    void alert(editor::AlertKind, const std::string&) override {}
    void runModal(editor::DialogManager& m, ADMDialogRef d) override {
        if (onModal) onModal(m, d);
    }
};

class DialogSuites : public ::testing::Test {
protected:
    // The log and the driver outlive the host, whose dialogs are destroyed with it.
    Log log;
    TestDriver driver;
    editor::Picture picture = editor::Picture::blank(2, 2, 3, 8);
    editor::FilterHost host{picture, editor::HostOptions{}};
    const ADMDialogSuite5* dialogs = acquire<ADMDialogSuite5>(kADMDialogSuite, kADMDialogSuiteVersion);
    const ADMItemSuite5* items = acquire<ADMItemSuite5>(kADMItemSuite, kADMItemSuiteVersion);
    const ADMNotifierSuite2* notifiers = acquire<ADMNotifierSuite2>(kADMNotifierSuite, kADMNotifierSuiteVersion);
    const ADMTrackerSuite1* trackers = acquire<ADMTrackerSuite1>(kADMTrackerSuite, kADMTrackerSuiteVersion);
    const ADMDrawerSuite3* drawer = acquire<ADMDrawerSuite3>(kADMDrawerSuite, kADMDrawerSuiteVersion);
    const ADMBasicSuite5* basic = acquire<ADMBasicSuite5>(kADMBasicSuite, kADMBasicSuiteVersion);
    const ADMListSuite2* lists = acquire<ADMListSuite2>(kADMListSuite, kADMListSuiteVersion);
    const ADMEntrySuite4* entries = acquire<ADMEntrySuite4>(kADMEntrySuite, kADMEntrySuiteVersion);
    ADMDialogRef dialog = dialogs->Create(nullptr, "Test", kADMModalDialogStyle, &log);

    template <typename Suite>
    const Suite* acquire(const char* name, int32 version) {
        const void* suite = nullptr;
        EXPECT_EQ(host.record().sSPBasic->AcquireSuite(name, version, &suite), kSPNoError) << name;
        return static_cast<const Suite*>(suite);
    }
    void SetUp() override;
    ADMItemRef make(int32 id, const char* type, const char* text, ADMRect bounds = {0, 0, 20, 10}) {
        ADMItemRef item = items->Create(dialog, id, type, &bounds, &log);
        items->SetText(item, text);
        items->SetNotifyProc(item, recordNotify);
        items->SetDestroyProc(item, recordDestroy);
        return item;
    }
    editor::DialogManager& manager() { return host.dialogs(); }
};

Log& logOf(ADMItemRef item);
const ADMItemSuite5* gItems = nullptr;
const ADMNotifierSuite2* gNotifiers = nullptr;

void recordNotify(ADMItemRef item, ADMNotifierRef notifier) {
    char type[64];
    gNotifiers->GetNotifierType(notifier, type, sizeof type);
    char text[32];
    gItems->GetText(item, text, sizeof text);
    logOf(item).events.push_back(std::string(text) + ": " + type);
    gItems->DefaultNotify(item, notifier);  // as the toolkit's notification hook does
}
void recordDestroy(ADMItemRef item) {
    logOf(item).events.push_back("destroy " + std::to_string(gItems->GetID(item)));
}
Log& logOf(ADMItemRef item) { return *static_cast<Log*>(gItems->GetUserData(item)); }

void DialogSuites::SetUp() {
    host.dialogs().setDriver(&driver);
    gItems = items;
    gNotifiers = notifiers;
}

TEST(DialogSuiteOffer, EverySuiteAtItsVersionAndTheBasicSuiteWithheldOnRequest) {
    editor::Picture picture = editor::Picture::blank(2, 2, 3, 8);
    const struct {
        const char* name;
        int32 version;
    } suites[] = {{kADMBasicSuite, 5},  {kADMDialogSuite, 5},    {kADMItemSuite, 5},      {kADMNotifierSuite, 2},
                  {kADMTrackerSuite, 1}, {kADMEntrySuite, 4},    {kADMListSuite, 2},      {kADMListEntrySuite, 2},
                  {kADMDrawerSuite, 3}, {kADMImageSuite, 1}};
    editor::HostOptions withheld;
    withheld.faults.withheldSuites.insert(kADMBasicSuite);
    editor::FilterHost full(picture, editor::HostOptions{});
    for (const auto& s : suites) {
        const void* table = nullptr;
        EXPECT_EQ(full.acquire(s.name, s.version, &table), kSPNoError) << s.name;
        EXPECT_NE(table, nullptr) << s.name;
        EXPECT_EQ(full.acquire(s.name, s.version + 1, &table), kSPSuiteNotFoundError) << s.name;
        EXPECT_EQ(table, nullptr) << s.name;
    }
    editor::FilterHost poor(picture, withheld);
    const void* table = nullptr;
    EXPECT_EQ(poor.acquire(kADMBasicSuite, 5, &table), kSPSuiteNotFoundError);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(poor.acquire(kADMDialogSuite, 5, &table), kSPNoError);
}

TEST_F(DialogSuites, ValuesStayInsideTheRange) {
    const struct {
        float minimum, maximum, set;
        float expectFloat;
        int32 expectInt;
    } cases[] = {
        {0, 100, 50.25f, 50.25f, 50},  {0, 100, 150, 100, 100},   {0, 100, -3, 0, 0},
        {-180, 180, -200, -180, -180}, {0, 10, 2.5f, 2.5f, 3},    {0, 1, NAN, 0, 0},  // not a number: kept
        {5, 1, 3, 1, 1},  // a maximum set below the minimum takes the minimum down with it
    };
    ADMItemRef slider = make(10, kADMSliderType, "s");
    for (const auto& c : cases) {
        items->SetFloatValue(slider, 0);
        items->SetMinFloatValue(slider, -1e9f);
        items->SetMaxFloatValue(slider, 1e9f);
        items->SetMinFloatValue(slider, c.minimum);
        items->SetMaxFloatValue(slider, c.maximum);
        items->SetFloatValue(slider, c.set);
        EXPECT_FLOAT_EQ(items->GetFloatValue(slider), c.expectFloat) << c.set;
        EXPECT_EQ(items->GetIntValue(slider), c.expectInt) << c.set;
    }
    items->SetMinIntValue(slider, 0);
    items->SetMaxIntValue(slider, 100);
    items->SetIntValue(slider, 70);
    items->SetMaxIntValue(slider, 40);  // a narrower range pulls the value in
    EXPECT_EQ(items->GetIntValue(slider), 40);
    const int32 units[][2] = {{kADMPercentUnits, 6}, {kADMDegreesUnits, 7}, {3, 7}, {kADMNoUnits, 0}};
    for (const auto& u : units) {
        items->SetUnits(slider, u[0]);
        EXPECT_EQ(items->GetUnits(slider), u[1]);
    }
}

TEST_F(DialogSuites, TheNotifierFiresForTheUserNotForTheProgram) {
    ADMItemRef amount = make(10, kADMTextEditType, "amount");
    items->SetMinFloatValue(amount, 0);
    items->SetMaxFloatValue(amount, 100);
    items->SetFloatValue(amount, 30);
    ADMItemRef hidden = make(11, kADMSliderType, "hidden");
    items->Show(hidden, false);
    driver.onModal = [&](editor::DialogManager& m, ADMDialogRef) {
        EXPECT_TRUE(m.setFloatAsUser(amount, 250));
        EXPECT_TRUE(m.setTextAsUser(m.findItemByText(dialog, "amount"), "12.5 %"));
        EXPECT_FALSE(m.setFloatAsUser(hidden, 3));  // a person cannot reach a hidden item
        EXPECT_FALSE(m.setTextAsUser(hidden, "3"));
    };
    dialogs->Modal(dialog);
    EXPECT_EQ(log.events, (std::vector<std::string>{"amount: ADM User Changed Notifier",
                                                    "12.5 %: ADM User Changed Notifier"}));
    EXPECT_FLOAT_EQ(items->GetFloatValue(amount), 12.5f);
    EXPECT_FLOAT_EQ(items->GetFloatValue(hidden), 0);
    EXPECT_FALSE(manager().setFloatAsUser(amount, 1));  // no longer running modally
}

TEST_F(DialogSuites, ButtonsEndTheModalRunWithTheirIds) {
    const struct {
        std::function<void(editor::DialogManager&, ADMDialogRef)> act;
        int32 result;
    } cases[] = {
        {[](editor::DialogManager& m, ADMDialogRef d) { EXPECT_TRUE(m.pressButton(d, "OK")); }, 1},
        {[](editor::DialogManager& m, ADMDialogRef d) { EXPECT_TRUE(m.pressButton(d, "Cancel")); }, 2},
        {[](editor::DialogManager& m, ADMDialogRef d) { EXPECT_TRUE(m.pressButton(d, "Load...")); }, 2},  // never ended
        {[](editor::DialogManager& m, ADMDialogRef d) { EXPECT_TRUE(m.closeAsUser(d)); }, 2},
        {[](editor::DialogManager& m, ADMDialogRef d) { EXPECT_TRUE(m.endModalAsDriver(d, 7)); }, 7},
        {[](editor::DialogManager& m, ADMDialogRef d) {
             EXPECT_TRUE(m.pressButton(d, "OK"));
             EXPECT_FALSE(m.pressButton(d, "Cancel"));  // the first end stands
         },
         1},
    };
    make(1, kADMTextPushButtonType, "OK");
    make(2, kADMTextPushButtonType, "Cancel");
    make(3, kADMTextPushButtonType, "Load...");
    for (const auto& c : cases) {
        driver.onModal = c.act;
        EXPECT_EQ(dialogs->Modal(dialog), c.result);
    }
    items->Enable(dialogs->GetItem(dialog, 1), false);
    driver.onModal = [](editor::DialogManager& m, ADMDialogRef d) { EXPECT_FALSE(m.pressButton(d, "OK")); };
    EXPECT_EQ(dialogs->Modal(dialog), 2);
    dialogs->SetDefaultItemID(dialog, 3);
    driver.onModal = [](editor::DialogManager& m, ADMDialogRef d) { EXPECT_TRUE(m.pressButton(d, "Load...")); };
    EXPECT_EQ(dialogs->Modal(dialog), 3);
}

struct TrackLog {
    std::vector<std::array<int32, 4>> events;  // action, h, v, modifiers
    bool abortOnDrag = false;
};
const ADMTrackerSuite1* gTrackers = nullptr;
TrackLog* gTrackLog = nullptr;

ADMBoolean recordTrack(ADMItemRef, ADMTrackerRef tracker) {
    ADMPoint point;
    gTrackers->GetPoint(tracker, &point);
    const int32 action = gTrackers->GetAction(tracker);
    gTrackLog->events.push_back({action, point.h, point.v, gTrackers->GetModifiers(tracker)});
    if (gTrackLog->abortOnDrag && action == kADMMouseMovedDownAction) gTrackers->Abort(tracker);
    return 1;
}

TEST_F(DialogSuites, TrackerEventsReachTheItemWithPointActionAndKeys) {
    TrackLog trackLog;
    gTrackers = trackers;
    gTrackLog = &trackLog;
    ADMItemRef view = make(20, kADMUserType, "view");
    items->SetTrackProc(view, recordTrack);
    driver.onModal = [&](editor::DialogManager& m, ADMDialogRef) {
        EXPECT_TRUE(m.track(view, kADMButtonDownAction, {3, 4}, kADMShiftKey));
        EXPECT_TRUE(m.track(view, kADMMouseMovedDownAction, {5, 6}));
        trackLog.abortOnDrag = true;
        EXPECT_TRUE(m.track(view, kADMMouseMovedDownAction, {7, 8}));
        EXPECT_FALSE(m.track(view, kADMButtonUpAction, {9, 9}));  // aborted: the release is not seen
        EXPECT_TRUE(m.track(view, kADMButtonDownAction, {1, 1}, kADMMenuKey | kADMModifierKey));
    };
    dialogs->Modal(dialog);
    const std::vector<std::array<int32, 4>> expected = {{kADMButtonDownAction, 3, 4, kADMShiftKey},
                                                        {kADMMouseMovedDownAction, 5, 6, 0},
                                                        {kADMMouseMovedDownAction, 7, 8, 0},
                                                        {kADMButtonDownAction, 1, 1, kADMMenuKey | kADMModifierKey}};
    EXPECT_EQ(trackLog.events, expected);
}

const ADMDrawerSuite3* gDrawer = nullptr;
void drawSwatch(ADMItemRef, ADMDrawerRef d) {
    ADMRect bounds;
    gDrawer->GetBoundsRect(d, &bounds);
    gDrawer->SetADMColor(d, kADMBackgroundColor);
    gDrawer->FillRect(d, &bounds);
    const ADMRGBColor red{65535, 0, 0};
    gDrawer->SetRGBColor(d, &red);
    const ADMRect inner{2, 1, 6, 4}, outside{-5, -5, 100, 2};
    gDrawer->FrameRect(d, &inner);
    const ADMRGBColor blue{0, 0, 32768};
    gDrawer->SetRGBColor(d, &blue);
    gDrawer->SetADMColor(d, 999);  // not in the palette: the colour stays
    gDrawer->FillRect(d, &outside);
}

TEST_F(DialogSuites, TheDrawerFillsAndFramesTheExpectedPixels) {
    gDrawer = drawer;
    ADMItemRef swatch = make(30, kADMUserType, "swatch", {10, 10, 18, 16});
    items->SetDrawProc(swatch, drawSwatch);
    const auto canvas = manager().draw(swatch);
    ASSERT_TRUE(canvas);
    ASSERT_EQ(canvas->width() * 100 + canvas->height(), 806);
    const uint8_t bg = 212;  // the palette's background, 0xD4D4 0xD0D0 0xC8C8
    const struct {
        int32 x, y;
        std::array<uint8_t, 4> rgba;
    } pixels[] = {
        {0, 0, {0, 0, 128, 255}}, {7, 1, {0, 0, 128, 255}},  // the clipped fill covers the top rows
        {2, 2, {255, 0, 0, 255}}, {5, 3, {255, 0, 0, 255}},  // left and bottom-right of the frame
        {3, 2, {bg, 208, 200, 255}}, {6, 3, {bg, 208, 200, 255}}, {7, 5, {bg, 208, 200, 255}},
    };
    for (const auto& p : pixels) EXPECT_EQ(canvas->pixel(p.x, p.y), p.rgba) << p.x << "," << p.y;
}

TEST_F(DialogSuites, FileDialogsGiveTheDriversAnswer) {
    const struct {
        std::optional<std::string> answer;
        int32 room;
        ADMBoolean chosen;
        const char* path;
    } cases[] = {
        {"/presets/soft.rvp", 300, 1, "/presets/soft.rvp"},
        {std::nullopt, 300, 0, ""},              // cancelled
        {"/presets/soft.rvp", 8, 0, ""},         // does not fit: refused, not cut short
        {"", 300, 0, ""},
    };
    for (const auto& c : cases) {
        driver.answer = c.answer;
        char path[300] = "";
        EXPECT_EQ(basic->StandardGetFileDialog("Load", "Presets|*.rvp", nullptr, nullptr, path, c.room), c.chosen);
        EXPECT_STREQ(path, c.path);
        EXPECT_EQ(basic->StandardPutFileDialog("Save", nullptr, "/tmp", "a.rvp", path, c.room), c.chosen);
    }
    basic->ErrorAlert("The preset file could not be read.");
    ASSERT_EQ(manager().alerts().size(), 1u);
    EXPECT_EQ(manager().alerts()[0].second, "The preset file could not be read.");
}

TEST_F(DialogSuites, PopupEntriesHoldOneSelection) {
    ADMItemRef menu = make(40, kADMPopupListType, "mode");
    ADMListRef list = items->GetList(menu);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(items->GetList(make(41, kADMSliderType, "s")), nullptr);
    for (const char* text : {"Soft", "Hard", "Mixed"}) entries->SetText(entries->Create(list), text);
    entries->Select(lists->IndexEntry(list, 0), true);
    driver.onModal = [&](editor::DialogManager& m, ADMDialogRef) {
        EXPECT_FALSE(m.selectEntryAsUser(menu, 3));
        EXPECT_TRUE(m.selectEntryAsUser(menu, 2));
    };
    dialogs->Modal(dialog);
    EXPECT_EQ(entries->GetIndex(lists->GetActiveEntry(list)), 2);
    EXPECT_FALSE(entries->IsSelected(lists->IndexEntry(list, 0)));
    EXPECT_EQ(lists->FindEntry(list, "Hard"), lists->IndexEntry(list, 1));
    EXPECT_EQ(log.events, std::vector<std::string>{"mode: ADM User Changed Notifier"});
}

TEST_F(DialogSuites, DestroyingADialogDestroysEveryItemOnce) {
    ADMItemRef first = make(1, kADMTextPushButtonType, "OK");
    make(2, kADMTextPushButtonType, "Cancel");
    make(3, kADMSliderType, "amount");
    EXPECT_EQ(items->Create(dialog, 4, "ADM Unknown Type", nullptr, nullptr), nullptr);
    dialogs->Destroy(dialog);
    std::vector<std::string> sorted = log.events;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"destroy 1", "destroy 2", "destroy 3"}));
    // The references are dead: calls on them do nothing and answer nothing.
    EXPECT_EQ(items->GetID(first), 0);
    EXPECT_EQ(dialogs->GetUserData(dialog), nullptr);
    dialogs->Destroy(dialog);
    items->Destroy(first);
    EXPECT_EQ(log.events.size(), 3u);
}

const ADMDialogSuite5* gDialogs = nullptr;
void destroyOwnDialog(ADMItemRef item, ADMNotifierRef) { gDialogs->Destroy(gItems->GetDialog(item)); }

TEST_F(DialogSuites, ADialogDestroyedDuringItsModalRunGoesWhenTheRunEnds) {
    gDialogs = dialogs;
    ADMItemRef ok = make(1, kADMTextPushButtonType, "OK");
    items->SetNotifyProc(ok, destroyOwnDialog);
    driver.onModal = [&](editor::DialogManager& m, ADMDialogRef d) {
        EXPECT_TRUE(m.pressButton(d, "OK"));
        EXPECT_EQ(items->GetID(ok), 1);  // still there while the run lasts
        EXPECT_TRUE(m.endModalAsDriver(d, 1));
    };
    EXPECT_EQ(dialogs->Modal(dialog), 1);
    EXPECT_EQ(log.events, std::vector<std::string>{"destroy 1"});
    EXPECT_EQ(dialogs->Modal(dialog), 0);  // a dead dialog does not run
}

}  // namespace
