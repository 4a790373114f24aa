#include <windows.h>

#include "editor/device_display.h"

namespace editor {

bool displayOnDevice(const DevicePixels& pixels, void* context) {
    HDC dc = static_cast<HDC>(context);
    const DWORD type = GetObjectType(dc);
    if (type != OBJ_DC && type != OBJ_MEMDC) return false;
    // A top-down 32-bit DIB takes blue, green, red, unused.
    std::vector<uint8_t> bgra(pixels.rgba.size());
    for (size_t n = 0; n + 3 < bgra.size(); n += 4) {
        bgra[n] = pixels.rgba[n + 2];
        bgra[n + 1] = pixels.rgba[n + 1];
        bgra[n + 2] = pixels.rgba[n];
        bgra[n + 3] = 0;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return SetDIBitsToDevice(dc, pixels.column, pixels.row, DWORD(pixels.width), DWORD(pixels.height), 0, 0, 0,
                             UINT(pixels.height), bgra.data(), &info, DIB_RGB_COLORS) != 0;
}

}  // namespace editor
