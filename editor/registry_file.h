// The host's descriptor registry kept in a file between runs of the command: the
// persistent entries only, so a filter opens with the values of its last run.
#pragma once

#include <string>

#include "editor/descriptors.h"

namespace editor {

// Loads the entries of a registry file; a missing file is an empty registry. Throws
// FileError when the file exists but cannot be read or is damaged.
DescriptorRegistry loadRegistry(const std::string& path);
// Writes the persistent entries, replacing the file only once it is complete.
void saveRegistry(const std::string& path, const DescriptorRegistry& registry);

}  // namespace editor
