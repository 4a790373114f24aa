// The files of `ravo apply` in hostile places: destinations that are not files,
// one file in two roles, presets and registries that are folders or damaged, runs
// that fail half way, and the registry bringing back the last values.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "editor/picture_file.h"
#include "paramblock/parameter_block.h"
#include "tests/e2e/cli_run.h"
#include "tests/e2e/plugin_fixture.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

// A fresh folder of its own for each test.
fs::path folderFor(const std::string& name) {
    const fs::path folder = tempDir() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// Every entry of a folder with what it holds, to see that a run changed nothing.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_symlink()) entries[name] = "link to " + fs::read_symlink(entry.path()).string();
        else if (entry.is_regular_file()) entries[name] = bytesOf(entry.path());
        else entries[name] = "type " + std::to_string(int(entry.status().type()));
    }
    return entries;
}

// A run that fails with `status` and one line naming `expected`, leaving `folder` as it was.
void expectRefused(const fs::path& folder, const std::string& arguments, int status, const std::string& expected) {
    const auto before = snapshot(folder);
    const Outcome outcome = ravo(arguments);
    EXPECT_EQ(outcome.status, status) << arguments << "\n" << outcome.err;
    EXPECT_EQ(lineCount(outcome.err), 1u) << outcome.err;
    EXPECT_NE(outcome.err.find(expected), std::string::npos) << arguments << "\n" << outcome.err;
    EXPECT_EQ(snapshot(folder), before) << arguments;
}

// The three places a run writes, each with the arguments that make `target` it.
struct Role {
    const char* name;
    std::function<std::string(const fs::path& input, const fs::path& target, const fs::path& output)> arguments;
};
const Role kWrittenRoles[] = {
    {"OUTPUT", [](auto& in, auto& target, auto&) { return "apply WarmCool " + quoted(in) + " " + quoted(target); }},
    {"--save-preset",
     [](auto& in, auto& target, auto& out) {
         return "apply WarmCool " + quoted(in) + " " + quoted(out) + " --save-preset " + quoted(target);
     }},
    {"--registry",
     [](auto& in, auto& target, auto& out) {
         return "apply WarmCool " + quoted(in) + " " + quoted(out) + " --registry " + quoted(target);
     }},
};

// Each role refuses the existing non-file at `target` with exit 3 and leaves it as it was.
void expectRefusedInEveryRole(const fs::path& folder, const fs::path& target) {
    const fs::path input = writeInput("refuse-in.png", uniformPicture(8, 8, 3, 8, {90, 90, 90}));
    const fs::path output = folder / "never.png";
    for (const Role& role : kWrittenRoles)
        expectRefused(folder, role.arguments(input, target, output) + " --set temperature=30", 3, "not a regular file");
}

TEST(CliFiles, DestinationsThatAreNotRegularFilesAreRefused) {
    const fs::path folder = folderFor("not-files");
    ASSERT_EQ(mkfifo((folder / "fifo.png").c_str(), 0666), 0);
    fs::create_directory(folder / "folder.png");
    const int unixSocket = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (folder / "socket.png").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(bind(unixSocket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("fifo.png", folder / "link-to-fifo.png");
    fs::create_symlink(folder / "folder.png", folder / "link-to-folder.png");
    for (const char* name : {"fifo.png", "folder.png", "socket.png", "link-to-fifo.png", "link-to-folder.png"})
        expectRefusedInEveryRole(folder, folder / name);
    close(unixSocket);
}

TEST(CliFiles, DevicesAreNeverReplaced) {
    const fs::path folder = folderFor("devices");
    // The same device as /dev/full: writing it fails, so a device written through would show.
    if (mknod((folder / "device.png").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make a device node here: " << std::strerror(errno);
    fs::create_symlink("device.png", folder / "link-to-device.png");
    for (const char* name : {"device.png", "link-to-device.png"}) expectRefusedInEveryRole(folder, folder / name);
    EXPECT_TRUE(fs::is_character_file(folder / "device.png"));
}

// A link to a regular file stays a link, and the file it names gets the new contents.
TEST(CliFiles, ALinkToAFileKeepsTheLinkAndReplacesItsTarget) {
    const fs::path folder = folderFor("links");
    const fs::path input = writeInput("link-in.png", uniformPicture(8, 8, 3, 8, {90, 90, 90}));
    for (const Role& role : kWrittenRoles) {
        fs::create_directories(folder / "real");
        const fs::path target = folder / "real" / "target.png", link = folder / "link.png";
        // An empty registry file, which would do as the registry too.
        const std::string old("RAVOREG1\0\0\0\0", 12);
        writeBytes(target, old);
        fs::create_symlink(target, link);
        const Outcome outcome = ravo(role.arguments(input, link, folder / "out.png"));
        EXPECT_EQ(outcome.status, 0) << role.name << "\n" << outcome.err;
        EXPECT_TRUE(fs::is_symlink(link)) << role.name;
        EXPECT_EQ(fs::read_symlink(link), target) << role.name;
        EXPECT_NE(bytesOf(target), old) << role.name;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), fs::directory_iterator()), 1) << role.name;
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
}

// INPUT, OUTPUT, the preset saved and the registry are four files; the preset read is
// none of the files written except the preset saved. Nothing is read or written.
TEST(CliFiles, OneFileInTwoRolesIsAUsageError) {
    const fs::path f = folderFor("roles");
    const fs::path in = writeInput("roles/in.png", uniformPicture(8, 8, 3, 8, {90, 90, 90}));
    ASSERT_EQ(ravo("apply WarmCool " + quoted(in) + " " + quoted(f / "out.png") + " --save-preset " +
                   quoted(f / "look.qel") + " --registry " + quoted(f / "r.reg"))
                  .status,
              0);
    fs::create_symlink("in.png", f / "soft.png");
    fs::create_hard_link(in, f / "hard.png");
    fs::create_directory(f / "sub");
    const std::string run = "apply WarmCool " + quoted(in) + " ";
    const std::string out = quoted(f / "out.png"), fresh = quoted(f / "fresh.png");
    struct Case {
        std::string arguments;
        std::string expected;
    };
    const Case cases[] = {
        {run + out + " --save-preset " + quoted(in), "the preset to save \"" + in.string() + "\" is the input"},
        {run + out + " --save-preset " + out, "the preset to save \"" + (f / "out.png").string() + "\" is the output"},
        {run + fresh + " --save-preset " + quoted(f / "sub" / ".." / "fresh.png"), "is the output"},
        {run + out + " --registry " + quoted(in), "the registry"},
        {run + out + " --registry " + out, "the registry"},
        {run + fresh + " --save-preset " + quoted(f / "new.qel") + " --registry " + quoted(f / "." / "new.qel"),
         "is the preset to save"},
        {run + quoted(f / "soft.png"), "is the input"},
        {run + quoted(f / "hard.png"), "is the input"},
        {run + out + " --preset " + out, "the preset \"" + (f / "out.png").string() + "\" is the output"},
        {run + out + " --preset " + quoted(f / "r.reg") + " --registry " + quoted(f / "r.reg"), "is the registry"},
    };
    for (const Case& c : cases) expectRefused(f, c.arguments + " --set temperature=30", 2, c.expected);
    // Reading a preset and saving the changed values over it updates it.
    const Outcome update = ravo(run + out + " --preset " + quoted(f / "look.qel") + " --save-preset " +
                                quoted(f / "look.qel") + " --set temperature=7");
    ASSERT_EQ(update.status, 0) << update.err;
    EXPECT_EQ(presetAt(f / "look.qel").records.at(2).number, 7.0);
}

// Each problem is named in one line, with exit 2 for what the user typed or chose
// and 3 for a file that cannot be used.
TEST(CliFiles, PresetAndRegistryProblemsAreNamedWithTheirStatus) {
    const fs::path f = folderFor("problems");
    const fs::path in = writeInput("problems/in.png", uniformPicture(8, 8, 3, 8, {90, 90, 90}));
    const std::string run = "apply WarmCool " + quoted(in) + " " + quoted(f / "out.png");
    ASSERT_EQ(ravo(run + " --save-preset " + quoted(f / "good.qel")).status, 0);
    ASSERT_EQ(ravo("apply Temperature " + quoted(in) + " " + quoted(f / "t.png") + " --save-preset " +
                   quoted(f / "temperature.qel"))
                  .status,
              0);
    fs::remove(f / "out.png");
    const std::string good = bytesOf(f / "good.qel");
    auto withU32 = [&](size_t offset, uint32_t value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) bytes[offset + size_t(i)] = char(value >> (8 * i));
        return bytes;
    };
    writeBytes(f / "two.qel", withU32(parameter_block::kCountOffset, 2));
    writeBytes(f / "wide.qel", withU32(parameter_block::kRecordSizeOffset, 160));
    writeBytes(f / "v2.qel", withU32(0, 2));
    writeBytes(f / "cut.qel", good.substr(0, 100));
    fs::create_directory(f / "folder");
    ASSERT_EQ(mkfifo((f / "fifo.qel").c_str(), 0666), 0);
    struct Case {
        std::string arguments;
        int status;
        std::string expected;
    };
    const Case cases[] = {
        {" --preset " + quoted(f / "folder"), 3, "is a folder"},
        {" --registry " + quoted(f / "folder"), 3, "is a folder"},
        {" --preset " + quoted(f / "missing.qel"), 3, "no such file"},
        {" --preset " + quoted(f / "fifo.qel"), 3, "not a regular file"},
        {" --preset " + quoted(f / "cut.qel"), 3, "damaged preset"},
        {" --preset ''", 2, "--preset needs a file name"},
        {" --save-preset ''", 2, "--save-preset needs a file name"},
        {" --registry ''", 2, "--registry needs a file name"},
        {" --preset " + quoted(f / "two.qel"), 2, "is for a version of Ravo Warm/Cool with 2 parameters; this one has 3"},
        {" --preset " + quoted(f / "wide.qel"), 2, "has records of 160 bytes"},
        {" --preset " + quoted(f / "v2.qel"), 2, "has block version 2"},
        {" --preset " + quoted(f / "temperature.qel"), 2, "is for Ravo Temperature, not for Ravo Warm/Cool"},
    };
    for (const Case& c : cases) expectRefused(f, run + c.arguments, c.status, c.expected);
}

// Every destination is checked before the work and written all or none: a run that
// fails leaves no new file behind and every existing file as it was.
TEST(CliFiles, AFailedRunWritesNothing) {
    const fs::path f = folderFor("all-or-none");
    const fs::path in = writeInput("all-or-none/in.png", uniformPicture(8, 8, 3, 8, {90, 90, 90}));
    const fs::path transparent = writeInput("all-or-none/alpha.png", uniformPicture(8, 8, 4, 8, {90, 90, 90, 255}));
    const std::string keep = " --save-preset " + quoted(f / "keep.qel") + " --registry " + quoted(f / "keep.reg");
    ASSERT_EQ(ravo("apply WarmCool " + quoted(in) + " " + quoted(f / "out.png") + keep).status, 0);
    for (const char* name : {"keep.qel", "keep.reg"}) {
        fs::copy_file(f / name, f / ("locked" + fs::path(name).extension().string()));
        fs::permissions(f / ("locked" + fs::path(name).extension().string()), fs::perms::owner_read |
                                                                                  fs::perms::group_read |
                                                                                  fs::perms::others_read);
    }
    const std::string run = "apply WarmCool " + quoted(in) + " ";
    const std::string out = quoted(f / "out.png"), fresh = quoted(f / "fresh.png");
    const std::string keepPreset = " --save-preset " + quoted(f / "keep.qel");
    const std::string keepRegistry = " --registry " + quoted(f / "keep.reg");
    const std::string cases[] = {
        run + out + " --save-preset " + quoted(f / "missing" / "p.qel") + keepRegistry,
        run + out + keepPreset + " --registry " + quoted(f / "missing" / "r.reg"),
        run + fresh + " --save-preset " + quoted(f / "missing" / "p.qel"),
        run + fresh + " --registry " + quoted(f / "missing" / "r.reg"),
        run + out + " --save-preset " + quoted(f / "locked.qel") + keepRegistry,
        run + out + keepPreset + " --registry " + quoted(f / "locked.reg"),
        run + quoted(f / "missing" / "out.png") + keep,
        // Refused only when the picture is written, after the filter ran.
        "apply WarmCool " + quoted(transparent) + " " + quoted(f / "out.jpg") + keep,
    };
    for (const std::string& arguments : cases) expectRefused(f, arguments + " --set temperature=30", 3, "");
}

// A run with --registry starts from the values of the filter's last run; a preset and
// --set still change them. Checked by the pixels and by the preset saved.
TEST(CliFiles, TheRegistryBringsBackTheLastValues) {
    struct Case {
        const char* filter;
        const char* key;
        size_t index;
        double value, otherValue;
    };
    const Case cases[] = {
        {"WarmCool", "temperature", 2, 20, -5},
        {"FastBlur", "blurX", 1, 7, 2},  // no menu command: its registry entry is found by its title
    };
    const fs::path f = folderFor("registry");
    const fs::path in = writeInput("registry/in.png", patternPicture(24, 16, 3, 8));
    int runs = 0;
    auto render = [&](const Case& c, const std::string& options) {
        const fs::path out = f / ("out-" + std::to_string(++runs) + ".png");
        const Outcome outcome = ravo(std::string("apply ") + c.filter + " " + quoted(in) + " " + quoted(out) + options);
        EXPECT_EQ(outcome.status, 0) << options << "\n" << outcome.err;
        return outcome.status == 0 ? editor::readPicture(out.string()).data : editor::PixelBytes();
    };
    for (const Case& c : cases) {
        const std::string registry = " --registry " + quoted(f / (std::string(c.filter) + ".reg"));
        const std::string set = std::string(" --set ") + c.key + "=" + std::to_string(c.value);
        const std::string setOther = std::string(" --set ") + c.key + "=" + std::to_string(c.otherValue);
        const std::string preset = quoted(f / (std::string(c.filter) + ".qel"));
        const std::string otherPreset = quoted(f / (std::string(c.filter) + "-other.qel"));

        const auto withValue = render(c, set + registry);
        EXPECT_NE(withValue, render(c, "")) << c.filter;
        EXPECT_EQ(render(c, registry + " --save-preset " + preset), withValue) << c.filter;
        EXPECT_EQ(presetAt(f / (std::string(c.filter) + ".qel")).records.at(c.index).number, c.value) << c.filter;

        const auto withOther = render(c, setOther + " --save-preset " + otherPreset);
        EXPECT_EQ(render(c, registry + " --preset " + otherPreset), withOther) << c.filter;
        EXPECT_EQ(render(c, registry + set), withValue) << c.filter;
        EXPECT_EQ(render(c, registry + setOther), withOther) << c.filter;
    }
}

}  // namespace
