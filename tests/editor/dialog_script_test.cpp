// Scripts played in a hand-made dialog of the stand-in dialog manager that carries the item ids
// the plug-in publishes; its callbacks log what reached each item.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/dialog_script.h"
#include "sdk/ravo_dialog_items.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace ps;
using editor::DialogManager;

// Parameters 1 to 8; size#2 sits in a hidden group, amount is disabled.
const char* const kEffect =
    "effect\tTest\tRavo Test\t9\n0\tInput\tbackground\tBackground\t0\n"
    "1\tNumber\tsize\tSize\t0\t0\t100\t10\n2\tBoolean\tinvert\tInvert\t0\t0\n"
    "3\tList\tmode\tMode\t0\t0\tScreen\x1f" "Add\x1fSoft Light\n4\tColor\ttint\tTint\t0\t1\t1\t1\n"
    "5\tPoint\tcentre\tCentre\t0\t0\t0\n6\tImageFile\ttexture\tTexture\t0\tTextures\n"
    "7\tNumber\tsize\tSize 2\t0\t0\t10\t1\n8\tNumber\tamount\tAmount\t0\t0\t10\t1\n";

std::vector<std::string>* gLog = nullptr;
const int32 kSwatch = controlItemID(4, kRavoControlValue);

std::string shown(const editor::DialogItem& item) {
    if (item.hasEntries())
        for (size_t i = 0; i < item.entries.size(); ++i)
            if (item.entries[i]->selected) return "#" + std::to_string(i);
    return item.type == kADMTextCheckBoxType ? std::to_string(int(item.value)) : item.text;
}

void onNotify(ADMItemRef ref, ADMNotifierRef notifier) {
    DialogManager& m = *DialogManager::current();
    const editor::DialogItem& item = *m.item(ref);
    std::string entry = std::to_string(item.id) + " " + shown(item);
    if (item.id == controlItemID(6, kRavoControlSecond) || item.id == kRavoLoadItem) {
        const auto file = m.chooseFile({});
        entry += file ? "file " + *file : "no file";
        if (file && item.id == kRavoLoadItem) m.alert(editor::AlertKind::error, "cannot load " + *file);
    }
    gLog->push_back(entry);
    m.defaultNotify(*m.notifier(notifier));
}

ADMBoolean onTrack(ADMItemRef ref, ADMTrackerRef trackerRef) {
    DialogManager& m = *DialogManager::current();
    const editor::DialogTracker& t = *m.tracker(trackerRef);
    if (m.item(ref)->id != kSwatch)
        gLog->push_back("20 " + std::to_string(t.action) + " " + std::to_string(t.point.h) + "," +
                        std::to_string(t.point.v) + " " + std::to_string(t.modifiers));
    else if (t.action == kADMButtonUpAction)
        if (const auto c = m.chooseColor({0, 0, 0}))
            gLog->push_back(std::to_string(kSwatch) + " " + std::to_string(c->red) + "," + std::to_string(c->green) +
                            "," + std::to_string(c->blue));
    return 1;
}

struct Outcome {
    std::vector<std::string> log;
    int32 result = 0;
    std::string error;
    std::vector<std::pair<editor::AlertKind, std::string>> alerts;
};

// Snapshots are logged, and "full.png" cannot be written.
void logSnapshot(DialogManager&, ADMDialogRef, const std::string& file) {
    if (file == "full.png") throw std::runtime_error("disk full");
    gLog->push_back("snapshot " + file);
}

Outcome play(const std::string& script, const std::string& textures, bool snapshots = true) {
    Outcome outcome;
    gLog = &outcome.log;
    DialogManager manager;
    editor::Dialog* dialog = manager.createDialog("Test", kADMModalDialogStyle, nullptr);
    auto make = [&](int32 id, const char* type, const char* text, ADMRect bounds = {0, 0, 20, 10}) {
        editor::DialogItem* item = manager.createItem(dialog, id, type, &bounds, nullptr);
        item->text = text;
        item->notifyProc = onNotify;
        item->trackProc = onTrack;
        return item;
    };
    for (const auto& [id, label] : {std::pair{kRavoOKItem, "OK"}, {kRavoCancelItem, "Cancel"},
                                    {kRavoLoadItem, "Load..."}, {kRavoZoomInItem, "+"}})
        make(id, kADMTextPushButtonType, label);
    make(kRavoPreviewItem, kADMUserType, "", {5, 5, 105, 85});
    make(controlItemID(1, kRavoControlWhole), kADMItemGroupType, "");
    make(controlItemID(1, kRavoControlSecond), kADMTextEditType, "10");
    make(controlItemID(2, kRavoControlWhole), kADMTextCheckBoxType, "Invert");
    editor::DialogItem* mode = make(controlItemID(3, kRavoControlValue), kADMPopupListType, "");
    for (const char* text : {"Screen", "Add", "Soft Light"}) manager.insertEntry(mode, -1)->text = text;
    make(kSwatch, kADMUserType, "");
    make(controlItemID(5, kRavoControlValue), kADMTextEditType, "0, 0");
    make(controlItemID(6, kRavoControlSecond), kADMTextPushButtonType, "Browse...");
    make(controlItemID(7, kRavoControlWhole), kADMItemGroupType, "")->visible = false;
    make(controlItemID(7, kRavoControlSecond), kADMTextEditType, "1");
    make(controlItemID(8, kRavoControlSecond), kADMTextEditType, "1")->enabled = false;

    editor::ScriptedDriver driver(editor::parseScript(script), editor::EffectDescription::parse(kEffect), textures,
                                  snapshots ? logSnapshot : editor::ScriptedDriver::Snapshot());
    manager.setDriver(&driver);
    outcome.result = manager.runModal(dialog);
    outcome.error = driver.error();
    outcome.alerts = driver.alerts();
    return outcome;
}

TEST(DialogScript, BadLinesAreRefusedWithTheirNumbers) {
    const std::pair<const char*, const char*> cases[] = {
        {"jump", "script line 1: unknown command \"jump\"; commands: set, type, tick, untick, slide, choose, pick, press, "
                 "zoom, drag, pan, file, snapshot"},
        {"# comment\n\n  set size", "script line 3: set needs KEY=VALUE, got \"size\""},
        {"press OK\ntype size", "script line 2: type needs KEY TEXT, got \"size\""},
        {"tick a b", "script line 1: tick needs one KEY, got \"a b\""},
        {"zoom sideways", "script line 1: zoom needs in, out, fit or 1:1, got \"sideways\""},
        {"drag 1,2", "script line 1: drag needs two points X1,Y1 X2,Y2 in the preview, got \"1,2\""},
        {"pan 5", "script line 1: pan needs an offset DX,DY, got \"5\""},
        {"file", "script line 1: file needs a PATH or cancel"},
        {"snapshot out.jpg", "script line 1: snapshot needs a FILE.png, got \"out.jpg\""},
    };
    for (const auto& [script, message] : cases) {
        try {
            editor::parseScript(script);
            ADD_FAILURE() << script;
        } catch (const editor::UsageError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

TEST(DialogScript, EachCommandActsOnItsItem) {
    TempFolder textures;
    writeBytes(textures / "brick.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0});
    const std::string brick = std::filesystem::path(textures / "brick.png").make_preferred().string();
    const std::string a = std::filesystem::absolute("a.qel").string();
    const std::string b = std::filesystem::absolute("/x/b.qel").string();
    const struct {
        const char* script;
        std::vector<std::string> log;
        int32 result;
    } cases[] = {
        {"set size=42.5\nset 1=1e1\ntype size 150 %\npress OK", {"1011 42.5", "1011 10", "1011 150 %", "1 OK"}, 1},
        {"tick invert\nuntick invert\nset invert=on\npress Cancel", {"1016 1", "1016 0", "1016 1", "2 Cancel"}, 2},
        {"choose mode soft light\nset mode=1", {"1026 #2", "1026 #1"}, 2},
        {"pick tint #ff8000\nset tint=0,0.5,1", {"1034 65535,32896,0", "1034 0,32768,65535"}, 2},
        {"set centre=0.25,-0.1\ntype centre 10 20", {"1042 25, -10", "1042 10 20"}, 2},
        {"file a.qel\nset texture=brick.png\npress Load...", {"1051 Browse...file " + brick, "3 Load...file " + a}, 2},
        {"zoom in\npress +", {"6 +", "6 +"}, 2},
        {"drag 10,10 20,14", {"20 2 10,10 0", "20 3 15,12 0", "20 3 20,14 0", "20 4 20,14 0"}, 2},
        {"pan 4,-2", {"20 2 50,40 4", "20 3 54,38 4", "20 4 54,38 4"}, 2},
        {"file a.qel\nfile cancel\nfile /x/b.qel\npress Load...\npress Load...\npress Load...\npress Load...",
         {"3 Load...file " + a, "3 Load...no file", "3 Load...file " + b, "3 Load...no file"}, 2},
        {"snapshot a.png\nsnapshot b.PNG\npress OK", {"snapshot a.png", "snapshot b.PNG", "1 OK"}, 1},
        {"press OK\nset size=5", {"1 OK"}, 1},  // the commands after the end are not run
    };
    for (const auto& c : cases) {
        const Outcome outcome = play(c.script, textures.path().string());
        EXPECT_EQ(outcome.log, c.log) << c.script;
        EXPECT_EQ(outcome.result, c.result) << c.script;
        EXPECT_EQ(outcome.error, "") << c.script;
    }
    const Outcome loaded = play(cases[9].script, "");
    const decltype(loaded.alerts) alerts = {{editor::AlertKind::error, "cannot load " + a},
                                            {editor::AlertKind::error, "cannot load " + b}};
    EXPECT_EQ(loaded.alerts, alerts);
}

TEST(DialogScript, ACommandThatCannotActCancelsTheDialog) {
    TempFolder textures;
    const struct {
        const char* script;
        const char* error;  // its beginning
        std::vector<std::string> log;
    } cases[] = {
        {"set nokey=1\npress OK", "script line 1: unknown parameter \"nokey\" for Ravo Test; valid keys: size,", {}},
        {"set size=5\nset size#2=3\npress OK",
         "script line 2: the control of size#2 is hidden (in a closed tab or a hidden group)", {"1011 5"}},
        {"type amount 3", "script line 1: the control of amount is disabled", {}},
        {"press Nope", "script line 1: the dialog has no button \"Nope\"", {}},
        {"tick size", "script line 1: tick acts on a Boolean; size is a Number", {}},
        {"type mode 2", "script line 1: type acts on the field of a Number or a Point; mode is a List", {}},
        {"set size=101", "script line 1: size=101 is outside its range 0 to 100", {}},
        {"set texture=brick.png", "script line 1: texture=brick.png is not a picture file of the textures folder", {}},
        {"set texture=", "script line 1: the dialog cannot clear the file of texture", {}},
        {"snapshot full.png\npress OK", "script line 1: snapshot full.png: disk full", {}},
    };
    for (const auto& c : cases) {
        const Outcome outcome = play(c.script, textures.path().string());
        EXPECT_EQ(outcome.error.substr(0, std::string(c.error).size()), c.error) << c.script;
        EXPECT_EQ(outcome.log, c.log) << c.script;
        EXPECT_EQ(outcome.result, kRavoCancelItem) << c.script;
    }
    EXPECT_EQ(play("snapshot a.png", "", false).error, "script line 1: snapshots are not available here");
}

}  // namespace
