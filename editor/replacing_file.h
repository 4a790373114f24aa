// A new file written beside its destination under a temporary name and renamed
// over the destination only once it is complete, so a failed or interrupted
// write never leaves a half-written file where the old one was.
#pragma once

#include <cstdio>
#include <string>

namespace editor {

class ReplacingFile {
public:
    // Creates ".<name>.tmp-<pid>-<n>" in the destination's folder. For a
    // symbolic link that is its target's folder: the link stays and the file it
    // names is replaced. Throws FileError when the folder does not exist or
    // cannot be written, or when an existing destination is not a regular file
    // (a folder, a device, a pipe, a socket) or is write-protected: those are
    // never renamed over.
    explicit ReplacingFile(const std::string& destination);
    // Removes the temporary file unless commit() succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    std::FILE* stream() const { return stream_; }
    int descriptor() const { return fileno(stream_); }

    // Flushes and syncs the file and closes it, still under its temporary name,
    // so that several files can all be written before any of them replaces its
    // destination. Throws FileError (the temporary file is then removed by the
    // destructor).
    void close();
    // Closes the file if it is still open and renames it over the destination.
    // Throws FileError (the temporary file is then removed by the destructor).
    void commit();

private:
    std::string destination_;  // as given, for messages
    std::string target_;       // the file replaced: the destination, or the file its symbolic link names
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    bool closed_ = false;
    bool committed_ = false;
};

// Throws the FileError that writing `destination` would meet at its start (no
// such folder, a folder that cannot be written, a destination that is not a
// regular file or is write-protected), by creating and removing a temporary
// file there; the destination itself is not touched.
inline void checkReplaceable(const std::string& destination) { ReplacingFile probe(destination); }

}  // namespace editor
