// Running the built `ravo` command from the host tests.
#pragma once

#include <filesystem>
#include <string>

#include "editor/picture.h"
#include "paramblock/parameter_block.h"

namespace test_support {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs build/ravo with the arguments (given to the shell as they stand), after `prefix`: shell
// words such as environment assignments or "cd FOLDER &&".
Outcome ravo(const std::string& arguments, const std::string& prefix = "");
// A path quoted for the shell.
std::string quoted(const std::filesystem::path& path);
// Writes a picture into the temporary folder under this name.
std::filesystem::path writeInput(const std::string& name, const editor::Picture& picture);
size_t lineCount(const std::string& text);
// The parameter block of a preset file; fails the test when it cannot be read.
ParameterBlock presetAt(const std::filesystem::path& path);

}  // namespace test_support
