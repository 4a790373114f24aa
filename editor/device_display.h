// Pictures shown on a platform's own device context: the host's display procedure called
// with a context that is not one of this host's drawers (a Windows device context, from the
// dialog manager a plug-in brings along when the host offers none).
#pragma once

#include <cstdint>
#include <vector>

namespace editor {

// Opaque RGBA rows, placed with their top-left pixel at (row, column) of the context.
struct DevicePixels {
    int32_t width = 0, height = 0;
    int32_t row = 0, column = 0;
    std::vector<uint8_t> rgba;
};

// False when the context is not one this platform can draw into.
bool displayOnDevice(const DevicePixels& pixels, void* context);

}  // namespace editor
