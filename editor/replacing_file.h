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
    // cannot be written, or when an existing destination is write-protected.
    explicit ReplacingFile(const std::string& destination);
    // Removes the temporary file unless commit() succeeded.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    std::FILE* stream() const { return stream_; }
    int descriptor() const { return fileno(stream_); }

    // Flushes and syncs the file, closes it and renames it over the destination.
    // Throws FileError (the temporary file is then removed by the destructor).
    void commit();

private:
    std::string destination_;  // as given, for messages
    std::string target_;       // the file replaced: the destination, or the file its symbolic link names
    std::string temporary_;
    std::FILE* stream_ = nullptr;
    bool committed_ = false;
};

}  // namespace editor
