// Another program run as a child process, its error output read through a pipe.
// The command line runs itself once per picture in a batch this way, so that no
// two pictures ever share a plug-in instance or a document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace editor {

class ChildProcess {
public:
    // Starts `program` with `arguments` (argv[1] on), the standard input and output
    // shared with this process and the error output into a pipe. Throws
    // std::runtime_error naming the program when it cannot be started.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    // Waits for the child if wait() was not called, so that no child outlives its record.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Appends what the child wrote to its error output since the last call, waiting
    // for more; false once the child has closed it.
    bool readErrorOutput(std::string& text);
    // Waits for the child to end: its exit status, or kEndedAbnormally when a signal
    // or an exception ended it.
    int wait();
    static constexpr int kEndedAbnormally = -1;

private:
    intptr_t process_ = 0;   // pid, or process handle on Windows
    intptr_t errorPipe_ = -1; // read end: descriptor, or pipe handle on Windows
    bool waited_ = false;
    int status_ = kEndedAbnormally;
};

}  // namespace editor
