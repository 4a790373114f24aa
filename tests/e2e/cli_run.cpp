#include "tests/e2e/cli_run.h"

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

#include "editor/picture_file.h"
#include "tests/e2e/plugin_fixture.h"

namespace test_support {

namespace fs = std::filesystem;

Outcome ravo(const std::string& arguments, const std::string& prefix) {
    static int runs = 0;
    const fs::path errFile = tempDir() / ("stderr-" + std::to_string(++runs) + ".txt");
    const std::string command =
        prefix + " " + quoted(buildDir() / "ravo") + " " + arguments + " 2>" + quoted(errFile);
    Outcome outcome;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return outcome;
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) outcome.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    outcome.err.assign(std::istreambuf_iterator<char>(err), std::istreambuf_iterator<char>());
    fs::remove(errFile);
    return outcome;
}

std::string quoted(const fs::path& path) {
    std::string text = "'";
    text += path.string();
    text += '\'';
    return text;
}

fs::path writeInput(const std::string& name, const editor::Picture& picture) {
    const fs::path path = tempDir() / name;
    editor::writePicture(picture, path.string());
    return path;
}

size_t lineCount(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

ParameterBlock presetAt(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ParameterBlock block;
    std::string error;
    EXPECT_TRUE(ParameterBlock::decode(bytes.data(), bytes.size(), block, error)) << path << ": " << error;
    return block;
}

}  // namespace test_support
