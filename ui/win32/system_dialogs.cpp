#include "ui/win32/system_dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "ui/win32/dialog_manager.h"
#include "ui/win32/text.h"

namespace win32ui {

namespace {

HWND owner() { return DialogManager::instance().activeWindow(); }

// "Description|*.ext|..." becomes the list of NUL-separated pairs the file dialogs take.
std::string filterList(const char* filter) {
    std::string list = filter ? filter : "";
    for (char& c : list)
        if (c == '|') c = '\0';
    list.append(2, '\0');
    return list;
}

}  // namespace

void showAlert(const char* message, bool error) {
    MessageBoxW(owner(), widened(message ? message : "").c_str(), L"Ravo",
                MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

bool chooseFile(FileDialogKind kind, const char* prompt, const char* filter, const char* startingFolder,
                const char* defaultName, char* path, ps::int32 maxLength) {
    if (!path || maxLength <= 0) return false;
    char chosen[MAX_PATH * 4] = {};
    if (defaultName) std::strncpy(chosen, defaultName, sizeof chosen - 1);
    const std::string filters = filterList(filter);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner();
    request.lpstrFilter = filter ? filters.c_str() : nullptr;
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof chosen;
    request.lpstrInitialDir = startingFolder;
    request.lpstrTitle = prompt;
    request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                    (kind == FileDialogKind::open ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    const BOOL ok = kind == FileDialogKind::open ? GetOpenFileNameA(&request) : GetSaveFileNameA(&request);
    // A path that does not fit is refused whole rather than cut short.
    const size_t length = std::strlen(chosen);
    if (!ok || length == 0 || length >= size_t(maxLength)) return false;
    std::memcpy(path, chosen, length + 1);
    return true;
}

bool chooseColor(const ps::ADMRGBColor& start, ps::ADMRGBColor& chosen) {
    static COLORREF customColors[16] = {};
    CHOOSECOLORW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner();
    request.rgbResult = RGB(start.red >> 8, start.green >> 8, start.blue >> 8);
    request.lpCustColors = customColors;
    request.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&request)) return false;
    // 8-bit components to 16: 255 becomes 65535.
    chosen = {ps::uint16(GetRValue(request.rgbResult) * 257), ps::uint16(GetGValue(request.rgbResult) * 257),
              ps::uint16(GetBValue(request.rgbResult) * 257)};
    return true;
}

}  // namespace win32ui
