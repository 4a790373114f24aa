#include "editor/windows_error.h"

// Last, so that its macros cannot rename anything declared above.
#include "editor/windows_api.h"

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
