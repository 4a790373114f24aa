#include "editor/windows_error.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "editor/picture_codecs.h"

namespace editor {

std::string windowsProblem(unsigned long error) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? codecs::oneLine(text) : "Windows error " + std::to_string(error);
    if (text) LocalFree(text);
    return message;
}

}  // namespace editor
