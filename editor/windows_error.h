// The system's text for a Windows error code, made fit for a one-line message.
// Windows only.
#pragma once

#include <string>

namespace editor {

std::string windowsProblem(unsigned long error);

}  // namespace editor
