// Reads a text from a dialog-manager call that copies at most a given length (with the NUL)
// and answers the full length. A buffer is always passed, as some dialog managers do not
// accept a null one to ask for the length.
#pragma once

#include <string>
#include <vector>

#include "sdk/pi_types.h"

namespace ADM {

template <typename Copy>  // ps::int32 copy(char* text, ps::int32 maxLength)
std::string readText(Copy copy) {
    std::vector<char> buffer(256, '\0');
    ps::int32 length = copy(buffer.data(), ps::int32(buffer.size()));
    if (length >= ps::int32(buffer.size())) {
        buffer.assign(size_t(length) + 1, '\0');
        length = copy(buffer.data(), ps::int32(buffer.size()));
    }
    buffer.back() = '\0';
    return length > 0 ? std::string(buffer.data()) : std::string();
}

}  // namespace ADM
