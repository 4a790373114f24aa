// Reading a small file (a preset, a registry) whole into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

// The bytes of a file. Throws FileError naming the problem: no such file, a
// folder or anything else that is not a regular file (refused before it is
// opened, so a pipe or a device cannot stall or flood the program), or an
// error while reading.
std::vector<uint8_t> readWholeFile(const std::string& path);

// Whether nothing at all is at the path (a dangling symbolic link counts as
// nothing); false when the path cannot be examined.
bool nothingAt(const std::string& path);

}  // namespace editor
