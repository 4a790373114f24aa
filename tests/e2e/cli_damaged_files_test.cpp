// The `ravo` command given damaged or hostile files: pictures that state sizes their bytes
// do not hold, and a plug-in file cut short. Each gets one line and its exit status, and
// nothing is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editor/picture_file.h"
#include "tests/e2e/cli_run.h"
#include "tests/e2e/plugin_fixture.h"
#include "tests/support/crafted_files.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

TEST(CliDamagedFiles, PicturesOverThePixelLimitAreRefusedAndNothingIsWritten) {
    TempFolder folder;
    // Which sizes each reader refuses is tested with the readers; here the command's answer.
    crafted::TiffStating over;  // one row of 40000 pixels over the limit
    over.width = 40000;
    over.height = over.rowsPerStrip = 25001;
    writeBytes(folder / "huge.png", crafted::pngStating(40000, 40000, 16, 6));
    writeBytes(folder / "over.tif", over.bytes());
    editor::writePicture(uniformPicture(30, 20, 3, 8, {10, 20, 30}), folder / "small.png");

    struct Case {
        std::string arguments;
        int status;
        std::string message;  // part of the one line; empty for success
    };
    const std::vector<Case> cases = {
        {"huge.png out.png", 3, "too large (40000 x 40000 pixels; the limit is 1000000000 pixels"},
        {"over.tif out.png", 3, "too large (40000 x 25001 pixels; the limit is 1000000000 pixels"},
        {"small.png out.png --max-pixels 599", 3, "too large (30 x 20 pixels; the limit is 599 pixels"},
        {"small.png out.png --max-pixels 600", 0, ""},
        {"small.png out.png --max-pixels 0", 2, "--max-pixels needs a whole number from 1 to 2147483648"},
        {"small.png out.png --max-pixels 2147483649", 2, "--max-pixels needs a whole number"},
        {"small.png out.png --max-pixels -5", 2, "--max-pixels needs a whole number"},
        {"small.png out.png --max-pixels 1e9", 2, "--max-pixels needs a whole number"},
        {"small.png out.png --compression default", 0, ""},
        {"small.png out.png --compression best", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const Outcome run = ravo("apply WarmCool " + c.arguments, "cd " + quoted(folder.path()) + " &&");
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == 0) {
            EXPECT_TRUE(fs::exists(folder / "out.png"));
            fs::remove(folder / "out.png");
        } else {
            EXPECT_EQ(lineCount(run.err), 1u) << run.err;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        }
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"huge.png", "over.tif", "small.png"}));
    }
}

// A plug-in file cut anywhere, or not a library at all, is refused before the system loader
// maps it (a cut file would crash the program at the first missing page).
TEST(CliDamagedFiles, DamagedPluginFileIsRefusedBeforeLoading) {
    TempFolder folder;
    std::ifstream in(buildDir() / "Ravo.so", std::ios::binary);
    const std::vector<uint8_t> plugin((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(plugin.size(), 4096u);
    auto firstBytes = [&](size_t size) { return std::vector<uint8_t>(plugin.begin(), plugin.begin() + long(size)); };

    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"empty", {}, 5, "it is not a shared library (no ELF header)"},
        {"text", {'h', 'e', 'l', 'l', 'o', '\n'}, 5, "it is not a shared library (no ELF header)"},
        {"magic only", firstBytes(4), 5, "too short for its ELF header"},
        {"ELF header only", firstBytes(64), 5, "damaged or truncated (it has 64 bytes"},
        {"inside the program headers", firstBytes(100), 5, "damaged or truncated (it has 100 bytes"},
        {"first page", firstBytes(4096), 5, "damaged or truncated (it has 4096 bytes"},
        {"half", firstBytes(plugin.size() / 2), 5, "damaged or truncated"},
        {"all but a kilobyte", firstBytes(plugin.size() - 1024), 5, "damaged or truncated"},
        {"all but a byte", firstBytes(plugin.size() - 1), 5, "damaged or truncated"},
        {"whole", plugin, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / "Ravo.so";
        writeBytes(path, c.bytes);
        const Outcome run = ravo("list", "RAVO_PLUGIN=" + quoted(fs::path(path)));
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status != 0) {
            EXPECT_EQ(lineCount(run.err), 1u) << run.err;
            EXPECT_EQ(run.err.rfind("ravo: cannot load plug-in \"" + path + "\": ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        }
    }
}

}  // namespace
