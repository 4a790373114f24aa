// Writing a file under a temporary name and renaming it over the destination, on
// Windows: the temporary file is created exclusively through the C runtime,
// flushed to disk with _commit, and moved over the destination with MoveFileEx
// (replace existing, write through, so the move itself is on disk when it
// returns). Narrow paths are in the ANSI code page, as fopen and the command line
// take them.
#include "editor/replacing_file.h"

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>

#include "editor/picture_codecs.h"
#include "editor/picture_file.h"
#include "editor/windows_error.h"

// Last, so that its macros cannot rename anything declared above.
#include "editor/windows_api.h"

namespace editor {
namespace {

using codecs::systemProblem;

// Tells apart the temporary files of one process; the pid tells processes apart.
std::atomic<unsigned> temporaryCounter{0};

std::wstring widePath(const std::string& path) {
    if (path.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, path.data(), int(path.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), int(path.size()), wide.data(), length);
    return wide;
}

// Folder part (with its trailing separator or drive colon, or empty) and name part of a path.
void splitPath(const std::string& path, std::string& folder, std::string& name) {
    const size_t cut = path.find_last_of("/\\:");
    folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    name = cut == std::string::npos ? path : path.substr(cut + 1);
}

// The file a write to `path` replaces: a symbolic link's target when it has one,
// so the link keeps pointing at the new picture; otherwise the path.
std::string replacedFile(const std::string& path) {
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    HANDLE file = CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;  // a dangling link is replaced itself
    std::wstring target(32768, L'\0');
    const DWORD length = GetFinalPathNameByHandleW(file, target.data(), DWORD(target.size()), VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length == 0 || length >= target.size()) return path;
    target.resize(length);
    // "\\?\UNC\server\share\x" is "\\server\share\x"; "\\?\C:\x" is "C:\x".
    if (target.rfind(L"\\\\?\\UNC\\", 0) == 0) target.replace(0, 8, L"\\\\");
    else if (target.rfind(L"\\\\?\\", 0) == 0) target.erase(0, 4);
    // Back to the narrow form; a target the code page cannot spell is left alone.
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, target.data(), int(target.size()), nullptr, 0,
                                         nullptr, &lossy);
    if (size <= 0 || lossy) return path;
    std::string narrow(size_t(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, target.data(), int(target.size()), narrow.data(), size, nullptr,
                        nullptr);
    return narrow;
}

// Whether a path names a device rather than a file: a path in the device
// namespace ("\\.\pipe\x", "\\.\COM1") or a reserved device name in any folder
// and with any extension ("NUL", "con.png", "COM1.tif"), which Windows sends
// to the device.
bool namesDevice(const std::string& path) {
    auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 4 && separator(path[0]) && separator(path[1]) && path[2] == '.' && separator(path[3]))
        return true;
    std::string folder, name;
    splitPath(path, folder, name);
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" || stem == "CONIN$" || stem == "CONOUT$")
        return true;
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '0' && stem[3] <= '9';
}

// Whether an existing path is something other than a file on disk (a console,
// a pipe, a printer port). It is opened without asking for any access.
bool isNotADiskFile(const std::string& path) {
    HANDLE file = CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD type = GetFileType(file);
    CloseHandle(file);
    return type != FILE_TYPE_DISK;
}

}  // namespace

ReplacingFile::ReplacingFile(const std::string& destination)
    : destination_(destination), target_(replacedFile(destination)) {
    std::string folder, name;
    splitPath(target_, folder, name);
    if (name.empty() || name == "." || name == "..") throw FileError::writing(destination, "not a file name");

    // Moving a file over a folder or a device would replace it or write into
    // it, so anything but a file on disk is refused, also behind a link.
    const std::string through = target_ == destination ? "is " : "is a link to ";
    if (namesDevice(target_)) throw FileError::writing(destination, through + "a device, not a regular file");
    const DWORD attributes = GetFileAttributesW(widePath(target_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            throw FileError::writing(destination, through + "a folder, not a regular file");
        if (isNotADiskFile(target_)) throw FileError::writing(destination, through + "a device, not a regular file");
        if (attributes & FILE_ATTRIBUTE_READONLY)
            throw FileError::writing(destination, "the existing file is write-protected");
    }

    // Keeps the temporary name within the usual 255-character name limit.
    const std::string stem = name.size() > 200 ? name.substr(0, 200) : name;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = folder + "." + stem + ".tmp-" + std::to_string(_getpid()) + "-" +
                     std::to_string(temporaryCounter.fetch_add(1));
        const int fd = _wopen(widePath(temporary_).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                              _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            const int error = errno;
            temporary_.clear();
            if (error == ENOENT) throw FileError::writing(destination, "the folder does not exist");
            throw FileError::writing(destination, systemProblem(error));
        }
        stream_ = _fdopen(fd, "wb");
        if (!stream_) {
            const int error = errno;
            _close(fd);
            _wunlink(widePath(temporary_).c_str());
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
    if (!committed_ && !temporary_.empty()) _wunlink(widePath(temporary_).c_str());
}

void ReplacingFile::close() {
    if (!stream_) throw FileError::writing(destination_, "the file is already closed");
    int error = 0;
    if (std::fflush(stream_) != 0) error = errno;
    if (!error && _commit(_fileno(stream_)) != 0) error = errno;
    // fclose releases the stream whatever it returns.
    if (std::fclose(stream_) != 0 && !error) error = errno;
    stream_ = nullptr;
    if (error) throw FileError::writing(destination_, systemProblem(error));
    closed_ = true;
}

void ReplacingFile::commit() {
    if (!closed_) close();
    if (committed_) throw FileError::writing(destination_, "the file is already in place");
    if (!MoveFileExW(widePath(temporary_).c_str(), widePath(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw FileError::writing(destination_, windowsProblem(GetLastError()));
    committed_ = true;
}

}  // namespace editor
