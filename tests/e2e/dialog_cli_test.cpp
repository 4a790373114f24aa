// `ravo dialog` and `ravo about` end to end: scripted dialogs against `ravo apply`, snapshots
// of every effect's dialog, presets shared by both, and what Cancel leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/filter_host.h"
#include "editor/picture_file.h"
#include "editor/whole_file.h"
#include "sdk/ravo_dialog_items.h"
#include "tests/e2e/cli_run.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

fs::path writeScript(const std::string& name, const std::string& text) {
    const fs::path path = tempDir() / name;
    std::ofstream(path) << text;
    return path;
}

std::vector<uint8_t> bytesOf(const fs::path& path) { return editor::readWholeFile(path.string()); }

const fs::path& photo() {
    static const fs::path input = writeInput("dialog-photo.png", patternPicture(120, 90, 3, 8));
    return input;
}

TEST(DialogCli, AScriptedSliderAndOKWriteWhatApplyWrites) {
    const fs::path script = writeScript("slider.txt", "# a brighter mist, warmer\nslide glowBrightness 200\npress Color Correct\nset hue=30\npress OK\n");
    const fs::path viaDialog = tempDir() / "dialog-mist.png", viaApply = tempDir() / "apply-mist.png";
    const Outcome dialog = ravo("dialog BlackMist " + quoted(photo()) + " " + quoted(viaDialog) + " --script " + quoted(script));
    ASSERT_EQ(dialog.status, 0) << dialog.err;
    const Outcome apply = ravo("apply BlackMist " + quoted(photo()) + " " + quoted(viaApply) +
                               " --set glowBrightness=200 --set hue=30");
    ASSERT_EQ(apply.status, 0) << apply.err;
    EXPECT_EQ(editor::readPicture(viaDialog.string()).data, editor::readPicture(viaApply.string()).data);
    const Outcome unchanged = ravo("apply BlackMist " + quoted(photo()) + " " + quoted(tempDir() / "plain.png"));
    EXPECT_NE(editor::readPicture((tempDir() / "plain.png").string()).data, editor::readPicture(viaApply.string()).data);
}

TEST(DialogCli, CancelWritesNothingAndSaysSo) {
    const fs::path script = writeScript("cancel.txt", "set glowBrightness=300\npress Cancel\n");
    const fs::path output = tempDir() / "cancelled.png";
    const Outcome outcome = ravo("dialog BlackMist " + quoted(photo()) + " " + quoted(output) + " --script " + quoted(script));
    EXPECT_EQ(outcome.status, 4);
    EXPECT_NE(outcome.err.find("cancel"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(output));
}

TEST(DialogCli, AScriptLineThatCannotActIsNamed) {
    const fs::path script = writeScript("bad.txt", "set glowBrightness=100\nset noSuchKey=3\n");
    const Outcome outcome = ravo("dialog BlackMist " + quoted(photo()) + " " + quoted(tempDir() / "never.png") +
                                 " --script " + quoted(script));
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.err.find("line 2"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(tempDir() / "never.png"));
}

TEST(DialogCli, PresetsFromTheDialogAndFromApplyAreTheSameBytesAndLoadInEachOther) {
    const fs::path fromDialog = tempDir() / "Soft.qel", fromApply = tempDir() / "apply-soft.qel";
    const fs::path save = writeScript("save.txt", "set glowBrightness=180\nset view=Matte\nfile " + (tempDir() / "Soft").string() +
                                                      "\npress Save...\npress Cancel\n");
    ravo("dialog BlackMist " + quoted(photo()) + " --script " + quoted(save));
    ASSERT_TRUE(fs::exists(fromDialog));
    ASSERT_EQ(ravo("apply BlackMist " + quoted(photo()) + " " + quoted(tempDir() / "x.png") +
                   " --set glowBrightness=180 --set view=Matte --save-preset " + quoted(fromApply))
                  .status,
              0);
    EXPECT_EQ(bytesOf(fromDialog), bytesOf(fromApply));
    EXPECT_EQ(bytesOf(fromDialog).size(), 4156u);  // 27 parameters

    // The dialog loads apply's preset; apply loads the dialog's.
    const fs::path load = writeScript("load.txt", "file " + fromApply.string() + "\npress Load...\npress OK\n");
    const fs::path viaDialog = tempDir() / "loaded-dialog.png", viaApply = tempDir() / "loaded-apply.png";
    ASSERT_EQ(ravo("dialog BlackMist " + quoted(photo()) + " " + quoted(viaDialog) + " --script " + quoted(load)).status, 0);
    ASSERT_EQ(ravo("apply BlackMist " + quoted(photo()) + " " + quoted(viaApply) + " --preset " + quoted(fromDialog)).status, 0);
    // OK sets the view back to the result; apply shows the matte it was told to.
    const fs::path viewOutput = tempDir() / "loaded-output.png";
    ASSERT_EQ(ravo("apply BlackMist " + quoted(photo()) + " " + quoted(viewOutput) + " --preset " + quoted(fromDialog) +
                   " --set view=Output")
                  .status,
              0);
    EXPECT_EQ(editor::readPicture(viaDialog.string()).data, editor::readPicture(viewOutput.string()).data);

    // Another effect refuses it with the message and keeps its values.
    const fs::path refuse = writeScript("refuse.txt", "file " + fromDialog.string() + "\npress Load...\npress OK\n");
    const Outcome refused = ravo("dialog CoolMist " + quoted(photo()) + " " + quoted(tempDir() / "cool.png") +
                                 " --script " + quoted(refuse));
    ASSERT_EQ(refused.status, 0) << refused.err;
    EXPECT_NE(refused.err.find("Could not open file or preset is not for this filter."), std::string::npos) << refused.err;
    ASSERT_EQ(ravo("apply CoolMist " + quoted(photo()) + " " + quoted(tempDir() / "cool-apply.png")).status, 0);
    EXPECT_EQ(editor::readPicture((tempDir() / "cool.png").string()).data,
              editor::readPicture((tempDir() / "cool-apply.png").string()).data);
}

TEST(DialogCli, ASaveThatCannotBeWrittenShowsAnErrorAlert) {
    const fs::path script = writeScript("unwritable.txt", "file " + (tempDir() / "no" / "such" / "Soft").string() +
                                                              "\npress Save...\npress Cancel\n");
    const Outcome outcome = ravo("dialog BlackMist " + quoted(photo()) + " --script " + quoted(script));
    EXPECT_NE(outcome.err.find("Could not save the preset file."), std::string::npos) << outcome.err;
}

// Every effect's dialog: 795 pixels wide, the preview filled with the picture.
TEST(DialogCli, EveryEffectsDialogSnapshotShowsThePreview) {
    const fs::path input = writeInput("snapshot-photo.png", uniformPicture(96, 70, 3, 8, {250, 10, 10}));
    for (const std::string& key : sharedPlugin().effectKeys()) {
        if (!sharedPlugin().entryFor(key)) continue;
        const fs::path snapshot = tempDir() / (key + "-dialog.png");
        const Outcome outcome = ravo("dialog " + key + " " + quoted(input) + " --snapshot " + quoted(snapshot));
        ASSERT_EQ(outcome.status, 0) << key << ": " << outcome.err;
        const editor::Picture picture = editor::readPicture(snapshot.string());
        EXPECT_EQ(picture.width, 795) << key;
        EXPECT_GT(picture.height, 380) << key;
        // The preview's centre is painted from the picture, not left in the dialog's colour.
        const uint16_t red = sample(picture, 245, 180, 0), green = sample(picture, 245, 180, 1);
        EXPECT_NE(std::make_pair(red, green), std::make_pair(sample(picture, 2, 2, 0), sample(picture, 2, 2, 1))) << key;
    }
}

TEST(DialogCli, AboutSnapshotIsTheAboutBox) {
    const fs::path snapshot = tempDir() / "about.png";
    const Outcome outcome = ravo("about --snapshot " + quoted(snapshot));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const editor::Picture picture = editor::readPicture(snapshot.string());
    EXPECT_EQ(picture.width, 285);
    EXPECT_EQ(picture.height, 170);
}

// Without the host's dialog manager the Linux plug-in, which brings none, shows nothing, and
// the command says that a box of the plug-in's own would be out of its sight.
TEST(DialogCli, AboutWithoutADialogManagerShowsNothingAndSaysSo) {
    const Outcome outcome = ravo("about --withhold \"ADM Dialog Suite\"");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("no dialog manager offered"), std::string::npos) << outcome.err;
}

// A person who acts on each dialog the host shows, and counts them.
class CountingDriver : public editor::DialogDriver {
public:
    std::function<void(editor::DialogManager&, ps::ADMDialogRef)> act;
    int shown = 0;
    std::optional<std::string> chooseFile(const editor::FileDialogRequest&) override { return std::nullopt; }
    void alert(editor::AlertKind, const std::string&) override {}
    void runModal(editor::DialogManager& m, ps::ADMDialogRef d) override {
        ++shown;
        if (act) act(m, d);
    }
};

TEST(DialogHost, OnlyTheBlackAndWhiteEntryShowsTheAboutBox) {
    editor::PluginLibrary& plugin = sharedPlugin();
    for (const editor::MenuCommand& command : plugin.commands()) {
        editor::Picture picture = uniformPicture(2, 2, 3, 8, {1, 2, 3});
        editor::FilterHost host(picture, editor::HostOptions{});
        CountingDriver driver;
        driver.act = [](editor::DialogManager& m, ps::ADMDialogRef d) { m.pressButton(d, "OK"); };
        host.dialogs().setDriver(&driver);
        EXPECT_EQ(host.call(plugin.entryFor(command.registryKey), ps::filterSelectorAbout), 0);
        EXPECT_EQ(driver.shown, command.entryPoint == "PIMAIN_BlackAndWhite" ? 1 : 0) << command.entryPoint;
    }
}

// Cancel ends the run with -128 and changes no pixel; the next run starts from the values the
// host kept from before the dialog, not from what was set in it.
TEST(DialogHost, CancelChangesNothingAndTheNextRunUsesTheValuesFromBefore) {
    auto plugin = freshPlugin();
    const auto entry = plugin->entryFor("WarmCool");
    editor::Picture picture = uniformPicture(16, 12, 3, 8, {100, 100, 100});
    editor::FilterHost host(picture, editor::HostOptions{});
    CountingDriver driver;
    driver.act = [](editor::DialogManager& m, ps::ADMDialogRef d) {
        m.setTextAsUser(m.findItem(d, ps::controlItemID(2, ps::kRavoControlSecond)), "50");
        m.pressButton(d, "Cancel");
    };
    host.dialogs().setDriver(&driver);
    // A silent run keeps temperature 10 in the host; then the dialog sets 50 and is cancelled.
    ASSERT_EQ(host.replay(entry, blockWith(*plugin, "WarmCool", {{"temperature", "10"}})), 0);
    const editor::Picture ran = picture;
    EXPECT_EQ(sample(ran, 3, 3, 2), 100 + 25);  // trunc(10 x 0.01 x 255) = 25
    host.setInteractive();
    ASSERT_EQ(host.call(entry, ps::filterSelectorParameters), 0);
    EXPECT_EQ(host.call(entry, ps::filterSelectorStart), -128);
    EXPECT_EQ(picture.data, ran.data);
    driver.act = [](editor::DialogManager& m, ps::ADMDialogRef d) { m.pressButton(d, "OK"); };
    ASSERT_EQ(host.call(entry, ps::filterSelectorParameters), 0);
    ASSERT_EQ(host.call(entry, ps::filterSelectorStart), 0);
    EXPECT_EQ(driver.shown, 2);
    EXPECT_EQ(sample(picture, 3, 3, 2), 100 + 25 + 25);
}

}  // namespace
