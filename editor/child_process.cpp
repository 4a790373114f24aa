// Child processes on POSIX systems: posix_spawn with the error output on a pipe.
#include "editor/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace editor {

namespace {

// Closes a descriptor at the end of a scope unless released.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

// posix_spawn's file actions, destroyed with the scope.
struct SpawnActions {
    posix_spawn_file_actions_t actions;
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    // Both ends close on exec, so children started at the same time from other
    // threads never hold this pipe open; dup2 onto descriptor 2 clears the flag
    // for this child's copy only.
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot start \"" + program + "\": " + std::strerror(errno));
    Descriptor readEnd{ends[0]}, writeEnd{ends[1]};
    SpawnActions spawn;
    posix_spawn_file_actions_adddup2(&spawn.actions, writeEnd.fd, STDERR_FILENO);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &spawn.actions, nullptr, argv.data(), environ);
    if (error != 0) throw std::runtime_error("cannot start \"" + program + "\": " + std::strerror(error));
    process_ = pid;
    errorPipe_ = readEnd.fd;
    readEnd.fd = -1;
}

ChildProcess::~ChildProcess() {
    if (errorPipe_ >= 0) close(int(errorPipe_));
    if (!waited_) wait();
}

bool ChildProcess::readErrorOutput(std::string& text) {
    if (errorPipe_ < 0) return false;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(int(errorPipe_), buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, size_t(n));
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        close(int(errorPipe_));
        errorPipe_ = -1;
        return false;
    }
}

int ChildProcess::wait() {
    if (waited_) return status_;
    int status = 0;
    pid_t ended;
    do ended = waitpid(pid_t(process_), &status, 0);
    while (ended < 0 && errno == EINTR);
    waited_ = true;
    status_ = ended >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : kEndedAbnormally;
    return status_;
}

}  // namespace editor
