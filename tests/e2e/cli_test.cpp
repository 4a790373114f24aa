// The `ravo` command end to end on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "editor/picture_file.h"
#include "paramblock/parameter_block.h"
#include "tests/e2e/cli_run.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

TEST(Cli, ListShowsTheMenuCommands) {
    const Outcome outcome = ravo("list");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_GE(lineCount(outcome.out), 36u);
    for (const char* line : {"Ravo Warm/Cool...", "Ravo Temperature...", "Ravo Fluorescent...", "Ravo Black Mist..."})
        EXPECT_NE(outcome.out.find(line), std::string::npos) << line;
    EXPECT_NE(outcome.out.find("PIMAIN_WarmCool"), std::string::npos);
}

TEST(Cli, ParamsShowsWhatThePluginDefines) {
    const Outcome outcome = ravo("params WarmCool");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("3 parameters"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.out.find("temperature"), std::string::npos);
    EXPECT_NE(outcome.out.find("-50..50"), std::string::npos);
    EXPECT_NE(outcome.out.find("\"Output\", \"Original\""), std::string::npos);
    EXPECT_EQ(ravo("params 'ravo warm/cool...'").out, outcome.out);
}

TEST(Cli, WarmCoolTurnsGreyBlueIn8And16Bits) {
    const fs::path input = writeInput("grey.png", uniformPicture(40, 30, 3, 8, {100, 100, 100}));
    const fs::path output = tempDir() / "warm.png";
    const Outcome outcome = ravo("apply WarmCool " + quoted(input) + " " + quoted(output) + " --set temperature=50");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const editor::Picture result = editor::readPicture(output.string());
    EXPECT_TRUE(sample(result, 5, 5, 0) == 0 && sample(result, 5, 5, 1) == 100 && sample(result, 5, 5, 2) == 227);

    const fs::path output16 = tempDir() / "warm16.tif";
    ASSERT_EQ(ravo("apply 'Warm/Cool' " + quoted(input) + " " + quoted(output16) + " --depth 16 --set temperature=50").status, 0);
    const editor::Picture result16 = editor::readPicture(output16.string());
    EXPECT_EQ(result16.depth, 16);
    const uint16_t grey = editor::widen8To16(100);
    EXPECT_EQ(sample(result16, 5, 5, 2), grey + 16384);
    EXPECT_EQ(sample(result16, 5, 5, 0), 0);
}

// A camera picture keeps its colour profile and Exif data through a filter, whatever format
// it is written in.
TEST(Cli, ColourProfileAndExifDataSurviveTheFilter) {
    const fs::path input = sourceDir() / "samples" / "hubble_deep_field.jpg";
    const editor::Picture original = editor::readPicture(input.string());
    ASSERT_FALSE(original.iccProfile.empty());
    ASSERT_FALSE(original.exif.empty());
    for (const char* name : {"hubble.png", "hubble.jpg"}) {
        const fs::path output = tempDir() / name;
        const Outcome outcome =
            ravo("apply WarmCool " + quoted(input) + " " + quoted(output) + " --depth 16 --set temperature=20");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const editor::Picture result = editor::readPicture(output.string());
        EXPECT_EQ(result.iccProfile, original.iccProfile) << name;
        EXPECT_EQ(result.exif, original.exif) << name;
    }
}

TEST(Cli, SixteenBitFilesComeBackBitIdenticalThroughAnInactiveFilter) {
    for (const char* extension : {".png", ".tif"}) {
        editor::Picture picture = patternPicture(64, 48, 4, 16);
        // Every host value maps to a file value and back exactly.
        const fs::path input = writeInput(std::string("deep") + extension, picture);
        const fs::path output = tempDir() / (std::string("deep-out") + extension);
        const Outcome outcome = ravo("apply Temperature " + quoted(input) + " " + quoted(output) + " --tile 16x16");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const editor::Picture back = editor::readPicture(output.string());
        EXPECT_EQ(back.data, picture.data) << extension;
    }
}

// A preset's numbers are held to their ranges when read: a preset holding a temperature
// beyond the range renders exactly as the range's end, and --save-preset writes that end.
TEST(Cli, PresetNumbersAreHeldToTheirRange) {
    const fs::path input = writeInput("held-in.png", patternPicture(24, 16, 3, 8));
    const std::string in = " " + quoted(input) + " ";
    const std::tuple<const char*, double, const char*> cases[] = {
        {"WarmCool", 1e300, "50"}, {"WarmCool", 51, "50"}, {"Temperature", -1e300, "-100"}, {"Fluorescent", -3, "0"}};
    for (const auto& [filter, stored, limit] : cases) {
        const std::string what = std::string(filter) + " " + std::to_string(stored);
        const fs::path preset = tempDir() / "held.qel", saved = tempDir() / "held-saved.qel";
        ASSERT_EQ(ravo(std::string("apply ") + filter + in + quoted(tempDir() / "held-0.png") + " --save-preset " +
                       quoted(preset)).status, 0);
        ParameterBlock block = presetAt(preset);
        ASSERT_EQ(block.records.at(2).name, "temperature");
        block.records[2].number = stored;
        const std::vector<uint8_t> bytes = block.encode();
        std::ofstream(preset, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

        const fs::path fromPreset = tempDir() / "held-preset.png", fromLimit = tempDir() / "held-limit.png";
        const Outcome outcome = ravo(std::string("apply ") + filter + in + quoted(fromPreset) + " --preset " +
                                    quoted(preset) + " --save-preset " + quoted(saved));
        ASSERT_EQ(outcome.status, 0) << what << ": " << outcome.err;
        ASSERT_EQ(ravo(std::string("apply ") + filter + in + quoted(fromLimit) + " --set temperature=" + limit).status, 0);
        EXPECT_TRUE(editor::readPicture(fromPreset.string()).data == editor::readPicture(fromLimit.string()).data) << what;
        EXPECT_EQ(presetAt(saved).records.at(2).number, std::stod(limit)) << what;
    }
}

// A filter of the suite that this build does not provide, or none when every one is built.
std::string unavailableFilter() {
    for (const auto& command : sharedPlugin().commands())
        if (!command.available) return command.registryKey;
    return {};
}

// Bad input: one clear line, a non-zero status, no output file, the input untouched.
TEST(Cli, BadInputIsRefusedClearly) {
    const fs::path input = writeInput("bad-in.png", uniformPicture(8, 8, 3, 8, {1, 2, 3}));
    const fs::path text = tempDir() / "notes.png";
    std::ofstream(text) << "not a picture";
    struct Case {
        std::string arguments;
        std::string expected;
    };
    const fs::path out = tempDir() / "never.png";
    const std::string io = quoted(input) + " " + quoted(out);
    std::vector<Case> cases = {
        {"apply WarmCool " + quoted(tempDir() / "missing.png") + " " + quoted(out), "missing.png"},
        {"apply NoSuchFilter " + io, "unknown filter \"NoSuchFilter\""},
        {"apply WarmCool " + io + " --set warmth=3", "unknown parameter \"warmth\""},
        {"apply WarmCool " + io + " --set temperature=80", "outside its range -50 to 50"},
        {"apply WarmCool " + io + " --set temperature=hot", "is not a number"},
        {"apply WarmCool " + io + " --set view=sideways", "\"Output\", \"Original\""},
        {"apply WarmCool " + quoted(text) + " " + quoted(out), "notes.png"},
        {"apply WarmCool " + io + " --tile 0x5", "--tile"},
        {"apply WarmCool " + io + " --rect 0,0,9,9", "--rect"},
        {"apply WarmCool " + io + " --depth 12", "--depth"},
        {"apply WarmCool " + io + " --compression smallest", "--compression takes fast, default or best"},
        {"apply WarmCool " + io + " --threads 0", "--threads needs a whole number of at least 1"},
        {"apply WarmCool " + quoted(input) + " " + quoted(tempDir() / "out.bmp"), ".bmp"},
        {"apply WarmCool " + quoted(input) + " " + quoted(input), "is the input"},
        {"apply WarmCool " + io + " --set temperature=5 --withhold 'Photoshop Buffer Suite for Plug-ins'", "lacks a service"},
        {"apply WarmCool " + io + " --set temperature=5 --fail-buffer 1", "out of memory"},
        {"apply WarmCool " + io + " --set temperature=5 --fail-handle 1", "out of memory"},
        {"apply WarmCool " + io + " --set temperature=5 --abort-at-tile 1", "cancelled"},
        {"frobnicate", "unknown command"},
    };
    if (const std::string filter = unavailableFilter(); !filter.empty())
        cases.push_back({"apply " + filter + " " + io, "not available in this build"});
    const auto inputBytes = fs::file_size(input);
    for (const Case& c : cases) {
        const Outcome outcome = ravo(c.arguments);
        EXPECT_NE(outcome.status, 0) << c.arguments;
        EXPECT_EQ(lineCount(outcome.err), 1u) << c.arguments << "\n" << outcome.err;
        EXPECT_NE(outcome.err.find(c.expected), std::string::npos) << c.arguments << "\n" << outcome.err;
        EXPECT_FALSE(fs::exists(out)) << c.arguments;
        EXPECT_EQ(fs::file_size(input), inputBytes);
    }
    for (const auto& entry : fs::directory_iterator(tempDir()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}

}  // namespace
