// The running program's folder on Windows, from GetModuleFileName. Paths are
// narrow strings in the ANSI code page, as the command line receives them.
#include "editor/program_path.h"

// Last, so that its macros cannot rename anything declared above.
#include "editor/windows_api.h"

namespace editor {

const char* const kPluginFileName = "Ravo.8bf";

std::string programFile() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        // A full buffer means the name was cut: try again with more room.
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
    return path;
}

std::string programFolder() {
    const std::string path = programFile();
    const size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator);
}

}  // namespace editor
