// The host's descriptor registry kept in a file between runs of the command: the
// persistent entries only, so a filter opens with the values of its last run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/descriptors.h"

namespace editor {

// Loads the entries of a registry file; a missing file is an empty registry. Throws
// FileError when the file exists but cannot be read (a folder, a device) or is damaged.
DescriptorRegistry loadRegistry(const std::string& path);
// The bytes of a registry file holding the persistent entries.
std::vector<uint8_t> registryFileBytes(const DescriptorRegistry& registry);

// The parameter block remembered for an effect: the data under 'parM' in the entry
// under its descriptor key or, for an effect whose key the host does not know (one
// without a menu command), in the entry whose block names its title. Empty when none.
std::vector<uint8_t> rememberedBlock(const DescriptorRegistry& registry, const std::string& descriptorKey,
                                     const std::string& effectTitle);

}  // namespace editor
