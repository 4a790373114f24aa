#include "editor/texture_folder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "paramblock/parameter_block.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

// Whether the file starts with the PNG signature or a JPEG start-of-image marker.
bool startsLikePicture(const fs::path& path) {
    std::array<uint8_t, 8> head{};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size()));
    const std::streamsize count = in.gcount();
    constexpr std::array<uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (count == 8 && head == kPngSignature) return true;
    return count >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff;
}

// A name the plug-in looks up: no path separator, drive or stream colon, "." or "..".
bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

}  // namespace

std::string texturesFolderOf(const std::string& pluginPath) {
    return (fs::path(pluginPath).parent_path() / "Textures").string();
}

std::vector<std::string> textureFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        std::string name;
        try {
            name = entry->path().filename().string();
        } catch (const std::system_error&) {
            continue;  // a name the system's narrow characters cannot spell, which the plug-in cannot open either
        }
        std::error_code ignored;
        if (isPlainFileName(name) && entry->is_regular_file(ignored) && startsLikePicture(entry->path()))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string textureNameProblem(const std::string& folder, const std::string& name) {
    if (!isPlainFileName(name)) return "not a plain file name";
    if (name.size() > parameter_block::kMaxFileNameLength)
        return "longer than the " + std::to_string(parameter_block::kMaxFileNameLength) + " bytes a setting holds";
    // Exactly a listed name: a folder that ignores case would find "Brick.png" on one system only.
    const std::vector<std::string> names = textureFileNames(folder);
    if (std::binary_search(names.begin(), names.end(), name)) return {};
    try {
        std::error_code error;
        const fs::path path = fs::path(folder) / name;
        if (fs::is_regular_file(path, error) && !startsLikePicture(path)) return "not a PNG or JPEG file";
    } catch (const std::system_error&) {
        // A name the system cannot spell as a path is no file of the folder.
    }
    return "no such file";
}

}  // namespace editor
