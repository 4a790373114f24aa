// Child processes on Windows: CreateProcess with the error output on a pipe.
// Arguments are quoted as the C runtime's command-line parser reads them back.
#include "editor/child_process.h"

#include <mutex>
#include <stdexcept>

#include "editor/windows_error.h"

// Last, so that its macros cannot rename anything declared above.
#include "editor/windows_api.h"

namespace editor {

namespace {

// One argument as CommandLineToArgvW and the C runtime split it: in quotes when
// it holds a space, tab or quote (or is empty), backslashes doubled before a quote.
void appendQuoted(std::string& line, const std::string& argument) {
    if (!line.empty()) line += ' ';
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
        line += argument;
        return;
    }
    line += '"';
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
}

// Closes a handle at the end of a scope unless released.
struct Handle {
    HANDLE handle = nullptr;
    ~Handle() {
        if (handle) CloseHandle(handle);
    }
};

// Handles are inherited by every child created while they are inheritable: one
// child at a time gets its pipe's write end, so no other child keeps it open.
std::mutex startingChild;

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    std::string line;
    appendQuoted(line, program);
    for (const std::string& argument : arguments) appendQuoted(line, argument);

    std::lock_guard<std::mutex> lock(startingChild);
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle readEnd, writeEnd;
    if (!CreatePipe(&readEnd.handle, &writeEnd.handle, &inheritable, 0) ||
        !SetHandleInformation(readEnd.handle, HANDLE_FLAG_INHERIT, 0))
        throw std::runtime_error("cannot start \"" + program + "\": " + windowsProblem(GetLastError()));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = writeEnd.handle;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
        throw std::runtime_error("cannot start \"" + program + "\": " + windowsProblem(GetLastError()));
    CloseHandle(started.hThread);
    process_ = intptr_t(started.hProcess);
    errorPipe_ = intptr_t(readEnd.handle);
    readEnd.handle = nullptr;
}

ChildProcess::~ChildProcess() {
    if (errorPipe_ != -1) CloseHandle(HANDLE(errorPipe_));
    if (!waited_) wait();
    CloseHandle(HANDLE(process_));
}

bool ChildProcess::readErrorOutput(std::string& text) {
    if (errorPipe_ == -1) return false;
    char buffer[4096];
    DWORD n = 0;
    if (ReadFile(HANDLE(errorPipe_), buffer, sizeof buffer, &n, nullptr) && n > 0) {
        text.append(buffer, n);
        return true;
    }
    CloseHandle(HANDLE(errorPipe_));
    errorPipe_ = -1;
    return false;
}

int ChildProcess::wait() {
    if (waited_) return status_;
    DWORD code = 0;
    waited_ = true;
    if (WaitForSingleObject(HANDLE(process_), INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(HANDLE(process_), &code))
        // Exception codes (0xC0000005 and the like) are no exit status of ours.
        status_ = code < 256 ? int(code) : kEndedAbnormally;
    return status_;
}

}  // namespace editor
