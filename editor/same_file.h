// Whether two paths given on the command line name one file, so that writing
// one of them would destroy the other.
#pragma once

#include <string>

namespace editor {

// Paths that both exist are compared as files (device and inode, or volume and
// file index on Windows), so links and other spellings of one file match. Paths
// that do not exist yet are compared in their absolute, normalised form with
// links in their existing folders resolved (ignoring case on Windows). A path
// that exists and one that does not are different files.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace editor
