#include "host/replaced_file.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// A temporary file beside the destination, removed when the guard ends unless it was
// renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& destination) {
        // A name nobody uses yet; it ends in ".tmp" so that it never shows among presets.
        for (int attempt = 0; attempt < 100 && !stream_; ++attempt) {
            const std::string candidate = destination + "." + std::to_string(attempt) + ".tmp";
            if (OpenFile existing(std::fopen(candidate.c_str(), "rb")); existing) continue;
            stream_ = std::fopen(candidate.c_str(), "wb");
            if (stream_) name_ = candidate;
        }
    }
    ~TemporaryFile() {
        if (stream_) std::fclose(stream_);
        if (!name_.empty()) std::remove(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::FILE* stream() const { return stream_; }
    // Closes the file, reporting whether everything written reached it.
    bool close() {
        const bool closed = std::fclose(stream_) == 0;
        stream_ = nullptr;
        return closed;
    }
    // Renames the closed file over the destination; afterwards it is no longer removed.
    bool moveTo(const std::string& destination) {
#ifdef _WIN32
        const bool moved = MoveFileExA(name_.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
        const bool moved = std::rename(name_.c_str(), destination.c_str()) == 0;
#endif
        if (moved) name_.clear();
        return moved;
    }

private:
    std::string name_;
    std::FILE* stream_ = nullptr;
};

}  // namespace

bool writeReplacingFile(const std::string& path, const char* bytes, size_t size) {
    TemporaryFile file(path);
    if (!file.stream()) return false;
    if (size > 0 && std::fwrite(bytes, 1, size, file.stream()) != size) return false;
    if (std::fflush(file.stream()) != 0) return false;
    return file.close() && file.moveTo(path);
}
