// Texts of the dialog manager are UTF-8; Windows controls take UTF-16.
#pragma once

#include <windows.h>

#include <string>

namespace win32ui {

inline std::wstring widened(const std::string& text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

inline std::string narrowed(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), text.data(), length, nullptr, nullptr);
    return text;
}

inline std::string windowText(HWND window) {
    std::wstring wide(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    wide.resize(size_t(GetWindowTextW(window, wide.data(), int(wide.size()))));
    return narrowed(wide);
}

}  // namespace win32ui
