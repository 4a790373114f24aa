#include "editor/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "editor/picture_codecs.h"
#include "editor/picture_file.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool nothingAt(const std::string& path) {
    std::error_code error;
    return fs::status(path, error).type() == fs::file_type::not_found;
}

std::vector<uint8_t> readWholeFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) throw FileError::reading(path, "no such file");
    if (error) throw FileError::reading(path, error.message());
    if (status.type() == fs::file_type::directory) throw FileError::reading(path, "is a folder, not a file");
    if (status.type() != fs::file_type::regular) throw FileError::reading(path, "is not a regular file");

    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw FileError::reading(path, codecs::systemProblem(errno));
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    if (std::ferror(file.get())) throw FileError::reading(path, codecs::systemProblem(errno));
    return bytes;
}

}  // namespace editor
