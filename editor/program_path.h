// Where the running program lies, and the name of the plug-in file that the
// command line loads from beside it. One implementation file per platform.
#pragma once

#include <string>

namespace editor {

// The plug-in's file name on this platform: "Ravo.so", or "Ravo.8bf" on Windows.
extern const char* const kPluginFileName;

// The running program's file; empty when the system cannot tell.
std::string programFile();
// The folder of the running program; "." when the system cannot tell.
std::string programFolder();

}  // namespace editor
