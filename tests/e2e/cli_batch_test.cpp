// `ravo apply FILTER INPUT... --out`: many files, each run on its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "editor/picture_file.h"
#include "tests/e2e/cli_run.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Three good pictures in three formats and one that is no picture, in a folder of their own.
fs::path shootFolder(const std::string& name) {
    const fs::path folder = tempDir() / name;
    fs::remove_all(folder);
    fs::create_directories(folder / "out");
    editor::writePicture(patternPicture(70, 50, 3, 16), (folder / "a.png").string());
    editor::writePicture(patternPicture(64, 40, 4, 8), (folder / "b.tif").string());
    editor::writePicture(patternPicture(50, 30, 3, 8), (folder / "c.jpg").string());
    std::ofstream(folder / "broken.png") << "not a picture";
    return folder;
}

std::string inputsOf(const fs::path& folder, bool withBroken) {
    std::string inputs;
    for (const char* name : {"a.png", "broken.png", "b.tif", "c.jpg"})
        if (withBroken || std::string(name) != "broken.png") inputs += quoted(folder / name) + " ";
    return inputs;
}

TEST(CliBatch, OneBrokenFileIsNamedAndTheOthersAreWritten) {
    const fs::path folder = shootFolder("batch-broken");
    const Outcome outcome = ravo("apply BlackMist " + inputsOf(folder, true) + "--out " + quoted(folder / "out"));
    EXPECT_EQ(outcome.status, 3) << outcome.err;
    EXPECT_EQ(lineCount(outcome.err), 2u) << outcome.err;
    EXPECT_NE(outcome.err.find("broken.png: cannot read"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("1 of 4 files failed: " + (folder / "broken.png").string()), std::string::npos);
    for (const char* name : {"a.png", "b.tif", "c.jpg"}) EXPECT_TRUE(fs::exists(folder / "out" / name)) << name;
    EXPECT_FALSE(fs::exists(folder / "out" / "broken.png"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "out"), fs::directory_iterator()), 3);
}

// Each file's output is the bytes its own single-file run writes, however many run at once.
TEST(CliBatch, AnyNumberOfJobsWritesTheSingleRunsBytes) {
    const fs::path folder = shootFolder("batch-jobs");
    const std::string options = " --set glowBrightness=30 --tile 16x16 --format tif";
    for (const char* jobs : {"1", "3"}) {
        const fs::path out = folder / ("j" + std::string(jobs));
        fs::create_directories(out);
        const Outcome outcome =
            ravo("apply BlackMist " + inputsOf(folder, false) + "--out " + quoted(out / "{name}-mist.{ext}") + " -j " + jobs + options);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
    }
    for (const char* source : {"a.png", "b.tif", "c.jpg"}) {
        const std::string stem = fs::path(source).stem().string();
        const fs::path single = folder / (stem + "-single.tif");
        ASSERT_EQ(ravo("apply BlackMist " + quoted(folder / source) + " " + quoted(single) + " --set glowBrightness=30 --tile 16x16").status, 0);
        EXPECT_EQ(bytesOf(folder / "j1" / (stem + "-mist.tif")), bytesOf(single)) << source;
        EXPECT_EQ(bytesOf(folder / "j3" / (stem + "-mist.tif")), bytesOf(single)) << source;
    }
}

// Names that would overwrite an input or each other stop the run before any file is written.
TEST(CliBatch, CollidingOutputsAreRefusedBeforeAnythingRuns) {
    const fs::path folder = shootFolder("batch-collide");
    const struct {
        std::string arguments;
        const char* error;
    } cases[] = {
        {quoted(folder / "a.png") + " " + quoted(folder / "b.tif") + " --out " + quoted(folder / "out/{ext}{{}}.png") +
             " --format png", "would both write"},
        {quoted(folder / "a.png") + " --out " + quoted(folder), "is the input"},
        {inputsOf(folder, false) + "--out " + quoted(folder / "out") + " --save-preset p.qel", "--save-preset"},
        {quoted(folder / "a.png") + " --out " + quoted(folder / "missing"), "folder does not exist"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = ravo("apply BlackMist " + c.arguments);
        EXPECT_NE(outcome.status, 0);
        EXPECT_EQ(lineCount(outcome.err), 1u) << outcome.err;
        EXPECT_NE(outcome.err.find(c.error), std::string::npos) << outcome.err;
        EXPECT_TRUE(fs::is_empty(folder / "out"));
    }
}

// On a terminal (here one that `script` gives) the run shows files done and tiles; --quiet
// shows nothing.
TEST(CliBatch, ProgressShowsOnATerminalUnlessQuiet) {
    const fs::path folder = shootFolder("batch-progress");
    for (const bool quiet : {false, true}) {
        const std::string command = "script -q -e -c \"" + quoted(buildDir() / "ravo") + " apply WarmCool " +
                                    inputsOf(folder, false) + "--out " + quoted(folder / "out") +
                                    (quiet ? " --quiet" : "") + "\" /dev/null </dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string screen;
        for (int c; (c = std::fgetc(pipe)) != EOF;) screen += char(c);
        EXPECT_EQ(pclose(pipe), 0) << screen;
        EXPECT_EQ(screen.find("3/3 files done") != std::string::npos, !quiet) << screen;
        EXPECT_EQ(screen.find(" tiles") != std::string::npos, !quiet) << screen;
    }
}

}  // namespace
