// The running program's folder on Linux, from /proc/self/exe.
#include "editor/program_path.h"

#include <filesystem>
#include <system_error>

namespace editor {

const char* const kPluginFileName = "Ravo.so";

std::string programFile() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.string();
}

std::string programFolder() {
    const std::string self = programFile();
    return self.empty() ? std::string(".") : std::filesystem::path(self).parent_path().string();
}

}  // namespace editor
