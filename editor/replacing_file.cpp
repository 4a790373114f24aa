// Writing a file under a temporary name and renaming it over the destination.
#include "editor/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "editor/picture_codecs.h"
#include "editor/picture_file.h"

namespace editor {
namespace {

using codecs::systemProblem;

// Tells apart the temporary files of one process; the pid tells processes apart.
std::atomic<unsigned> temporaryCounter{0};

// Folder part (with its trailing slash, or empty) and name part of a path.
void splitPath(const std::string& path, std::string& folder, std::string& name) {
    const size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// Best effort: makes the rename itself durable. A failure here cannot undo the
// rename and loses nothing, so it is not reported.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The file a write to `path` replaces: a symbolic link's target when it has
// one, so the link keeps pointing at the new picture; otherwise the path.
std::string replacedFile(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return path;  // a dangling link is replaced itself
    std::string target = resolved;
    std::free(resolved);
    return target;
}

// What an existing destination is when it is not a regular file, or empty.
std::string notARegularFile(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& destination)
    : destination_(destination), target_(replacedFile(destination)) {
    std::string folder, name;
    splitPath(target_, folder, name);
    if (name.empty() || name == "." || name == "..") throw FileError::writing(destination, "not a file name");

    // Renaming over a folder, a device or a pipe would replace it with a plain
    // file, so anything but a regular file is refused, also behind a link.
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        if (const std::string kind = notARegularFile(existing.st_mode); !kind.empty())
            throw FileError::writing(destination, (target_ == destination ? "is " : "is a link to ") + kind +
                                                      ", not a regular file");
        // A file without any write permission was protected on purpose, even
        // against a user (such as root) whom the system would let write it.
        if (::access(target_.c_str(), W_OK) != 0 || (existing.st_mode & 0222) == 0)
            throw FileError::writing(destination, "the existing file is write-protected");
    }

    // Keeps the temporary name within the usual 255-byte name limit.
    const std::string stem = name.size() > 200 ? name.substr(0, 200) : name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = folder + "." + stem + ".tmp-" + std::to_string(::getpid()) + "-" +
                     std::to_string(temporaryCounter.fetch_add(1));
        const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            const int error = errno;
            temporary_.clear();
            if (error == ENOENT) throw FileError::writing(destination, "the folder does not exist");
            throw FileError::writing(destination, systemProblem(error));
        }
        // A replaced file keeps its permission bits.
        if (existing.st_mode != 0) ::fchmod(fd, existing.st_mode & 07777);
        stream_ = ::fdopen(fd, "wb");
        if (!stream_) {
            const int error = errno;
            ::close(fd);
            ::unlink(temporary_.c_str());
            temporary_.clear();
            throw FileError::writing(destination, systemProblem(error));
        }
        return;
    }
    temporary_.clear();
    throw FileError::writing(destination, "cannot find a free temporary name in the folder");
}

ReplacingFile::~ReplacingFile() {
    if (stream_) std::fclose(stream_);
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

void ReplacingFile::close() {
    if (!stream_) throw FileError::writing(destination_, "the file is already closed");
    int error = 0;
    if (std::fflush(stream_) != 0) error = errno;
    if (!error && ::fsync(fileno(stream_)) != 0 && errno != EINVAL && errno != EROFS) error = errno;
    // fclose releases the stream whatever it returns.
    if (std::fclose(stream_) != 0 && !error) error = errno;
    stream_ = nullptr;
    if (error) throw FileError::writing(destination_, systemProblem(error));
    closed_ = true;
}

void ReplacingFile::commit() {
    if (!closed_) close();
    if (committed_) throw FileError::writing(destination_, "the file is already in place");
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw FileError::writing(destination_, systemProblem(errno));
    committed_ = true;
    std::string folder, name;
    splitPath(target_, folder, name);
    syncFolder(folder);
}

}  // namespace editor
