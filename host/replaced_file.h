// Writing a whole file so that it either appears complete or not at all: the bytes go to
// a new file beside the destination, which is renamed over the destination once it is
// written and closed. A failed write never leaves a truncated file where a good one was.
#pragma once

#include <cstddef>
#include <string>

// Writes size bytes to path through a temporary file in the same folder. False when the
// temporary file cannot be created, written, closed or renamed; the temporary file is then
// removed and an existing file at path is left as it was.
bool writeReplacingFile(const std::string& path, const char* bytes, size_t size);
