// Preset files saved and loaded through the plug-in's own handle procedures, and passed to
// and from the `ravo` command.
#include "host/preset_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "editor/filter_host.h"
#include "editor/host_handles.h"
#include "editor/picture_file.h"
#include "fx/parameter_block.h"
#include "host/dispatch.h"
#include "host/entry_table.h"
#include "tests/support/effect_harness.h"
#include "tests/support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An effect of its own, called with nothing but the stand-in host's handle procedures.
struct PresetCall {
    explicit PresetCall(const char* key) : entry(*findEntryByKey(key)), harness(key), procs(*handles.procs()) {
        handles.makeCurrent();
        record.handleProcs = &procs;
    }
    Effect& effect() { return harness.effect(); }
    PluginCall call() { return PluginCall(&effect(), &record, &data, &result, entry); }
    bool save(const std::string& path) { PluginCall c = call(); return savePreset(c, path); }
    bool load(const std::string& path) { PluginCall c = call(); return loadPreset(c, path); }
    // Moves every value away from its default, each within what its record holds.
    void changeEveryValue() {
        Effect& e = effect();
        for (uint32_t i = 0; i < e.parameterCount; ++i) {
            Parameter& p = e.parameter(i);
            switch (p.kind) {
                case ParameterKind::Number: p.number = p.number == p.maximum ? p.minimum : p.maximum; break;
                case ParameterKind::Boolean: p.boolean = !p.boolean; break;
                case ParameterKind::List: p.listIndex = p.listIndex + 1 < p.itemCount ? p.itemCount - 1 : 0; break;
                case ParameterKind::Color: p.color = {0.25, 0.5, 0.75}; break;
                case ParameterKind::Point: p.point = {0.125, 0.875}; break;
                case ParameterKind::ImageFile: e.setImageFilePath(i, "Paper.png"); break;
                default: break;
            }
        }
    }

    const EntryPoint& entry;
    EffectHarness harness;
    editor::HostHandles handles;
    ps::HandleProcs procs;
    ps::FilterRecord record{};
    intptr_t data = 0;
    int16_t result = 0;
};

TEST(PresetFile, SavedValuesLoadBackFromAFileThatIsTheirBlock) {
    for (const char* key : {"BlackMist", "Diffusion", "DualTint", "ColorCorrect", "Light"}) {
        SCOPED_TRACE(key);
        TempFolder folder;
        PresetCall preset(key);
        preset.changeEveryValue();
        const Bytes changed = encodeBlock(preset.effect());
        ASSERT_TRUE(preset.save(folder / "look.qel"));
        EXPECT_EQ(readBytes(folder / "look.qel"), changed);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"look.qel"});

        preset.effect().resetToDefaults();
        ASSERT_NE(encodeBlock(preset.effect()), changed);
        ASSERT_TRUE(preset.load(folder / "look.qel"));
        EXPECT_EQ(encodeBlock(preset.effect()), changed);
        EXPECT_EQ(preset.handles.liveCount(), 0u);
    }
}

TEST(PresetFile, TheFileHoldsTheBlockOfTheParametersHandle) {
    plugin_state::resetForTests();
    editor::Picture picture = editor::Picture::blank(4, 4, 3, 8);
    editor::FilterHost host(picture, editor::HostOptions{});
    const EntryPoint& entry = *findEntryByKey("WarmCool");
    Effect* effect = findOrCreateEffect("WarmCool");
    effect->parameter(2).number = 40;
    ASSERT_EQ(host.call([&](int16_t selector, void* record, intptr_t* data, int16_t* result) {
        pluginMain(entry, selector, record, data, result);
    }, 2), 0);
    TempFolder folder;
    intptr_t data = 0;
    int16_t result = 0;
    PluginCall call(effect, &host.record(), &data, &result, entry);
    ASSERT_TRUE(savePreset(call, folder / "warm.qel"));
    EXPECT_EQ(readBytes(folder / "warm.qel"), host.parametersBlock());
    effect->resetToDefaults();
}

TEST(PresetFile, NameKeepsAnExactQelExtensionAndOtherwiseGainsOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"Soft", "Soft.qel"},         {"Soft.QEL", "Soft.QEL"},          {"Soft.qel", "Soft.qel"},
        {"look.txt", "look.txt.qel"}, {"look.Qel", "look.Qel.qel"},      {"look.", "look..qel"},
        {".qel", ".qel"},             {"a.qel.bak", "a.qel.bak.qel"},    {"presets.qel/look", "presets.qel/look.qel"},
        {"", ".qel"},                 {"look.qelx", "look.qelx.qel"},
    };
    for (const auto& [chosen, saved] : cases) EXPECT_EQ(presetFileName(chosen), saved) << chosen;
}

// Damaged or foreign files leave the values as they were; an empty file and one of another
// format version are passed over, and bytes after a whole block are not looked at.
TEST(PresetFile, LoadRefusesWhatIsNotAPresetOfThisEffectAndChangesNothing) {
    PresetCall source("BlackMist");
    source.changeEveryValue();
    const Bytes good = encodeBlock(source.effect());
    struct Case {
        const char* what;
        long sizeChange;  // bytes added to (or taken from) the end of a good preset
        size_t at;        // the byte set to `value`, if any
        uint8_t value;
        const char* title;  // written over the stored title, if any
        bool result, applied;
    };
    const long goodSize = long(good.size());
    const Case cases[] = {
        {"empty", -goodSize, 0, 1, nullptr, true, false},
        {"shorter than the header", 51 - goodSize, 0, 1, nullptr, false, false},
        {"the header alone", 52 - goodSize, 0, 1, nullptr, false, false},
        {"one byte short of its records", -1, 0, 1, nullptr, false, false},
        {"a count beyond any file", 0, 47, 0xFF, nullptr, false, false},
        {"another count", 152, 44, uint8_t(good[44] + 1), nullptr, false, false},
        {"another record size", 0, 48, 160, nullptr, false, false},
        {"the title in other case", 0, 0, 1, "ravo black mist", false, false},
        {"the title of Cool Mist", 0, 0, 1, "Ravo Cool Mist", false, false},
        {"version 2", 0, 0, 2, nullptr, true, false},
        {"version 0x101", 0, 1, 1, nullptr, true, false},
        {"version 2, short", -1, 0, 2, nullptr, false, false},
        {"larger than any effect's block", 1 << 20, 0, 1, nullptr, false, false},
        {"bytes after the block", 8, 0, 1, nullptr, true, true},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = good;
        file.resize(size_t(goodSize + c.sizeChange));
        if (c.at < file.size()) file[c.at] = c.value;
        if (c.title) std::strncpy(reinterpret_cast<char*>(file.data()) + 4, c.title, 40);
        writeBytes(folder / "case.qel", file);
        PresetCall target("BlackMist");
        const Bytes before = encodeBlock(target.effect());
        EXPECT_EQ(target.load(folder / "case.qel"), c.result);
        EXPECT_EQ(encodeBlock(target.effect()), c.applied ? good : before);
        EXPECT_EQ(target.handles.liveCount(), 0u);
        EXPECT_EQ(readBytes(folder / "case.qel"), file);
    }
    EXPECT_FALSE(source.load(folder / "missing.qel"));
    EXPECT_FALSE(source.load(folder.path().string()));  // a folder opens, but reads as no file
}

// A save that fails leaves the folder as it was: no new file, no temporary file, and an
// existing preset byte for byte.
TEST(PresetFile, AFailedSaveLeavesTheFolderAsItWas) {
    const Bytes old = {1, 2, 3, 4, 5};
    struct Case {
        const char* what;
        const char* target;
        std::function<void(PresetCall&, TempFolder&)> arrange;
    };
    const Case cases[] = {
        {"no such folder", "missing/look.qel", [](PresetCall&, TempFolder&) {}},
        {"the host gives no handle", "look.qel", [](PresetCall& p, TempFolder&) { p.handles.failAllocation(1); }},
        {"the handle cannot be locked", "look.qel",
         [](PresetCall& p, TempFolder&) { p.procs.lockProc = [](ps::Handle, ps::Boolean) -> ps::Ptr { return nullptr; }; }},
        {"the name is a folder", "taken.qel",
         [](PresetCall&, TempFolder& f) { std::filesystem::create_directory(f / "taken.qel"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        writeBytes(folder / "look.qel", old);
        PresetCall preset("Tint");
        c.arrange(preset, folder);
        const std::vector<std::string> before = folder.names();
        EXPECT_FALSE(preset.save(folder / c.target));
        EXPECT_EQ(folder.names(), before);
        EXPECT_EQ(readBytes(folder / "look.qel"), old);
        EXPECT_EQ(preset.handles.liveCount(), 0u);
    }
}

// A preset the plug-in saves is read by `ravo apply --preset`, and the one that command saves
// loads back into the plug-in with the same values.
TEST(PresetFile, PresetsPassBetweenThePlugInAndTheCommandLine) {
    TempFolder folder;
    editor::writePicture(editor::Picture::blank(8, 8, 3, 8), folder / "in.png");
    PresetCall plugin("WarmCool");
    plugin.changeEveryValue();
    const Bytes changed = encodeBlock(plugin.effect());
    ASSERT_TRUE(plugin.save(folder / "plugin.qel"));
    const std::string command = std::string("'") + RAVO_BUILD_DIR + "/ravo' apply WarmCool '" + (folder / "in.png") +
                                "' '" + (folder / "out.png") + "' --preset '" + (folder / "plugin.qel") +
                                "' --save-preset '" + (folder / "command.qel") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(readBytes(folder / "command.qel"), changed);
    plugin.effect().resetToDefaults();
    ASSERT_TRUE(plugin.load(folder / "command.qel"));
    EXPECT_EQ(encodeBlock(plugin.effect()), changed);
}

}  // namespace
