// The Windows dialogs behind the basic suite of the plug-in's own dialog manager: message
// boxes, the open and save file dialogs, and the colour chooser.
#pragma once

#include "sdk/adm_suites.h"

namespace win32ui {

void showAlert(const char* message, bool error);
enum class FileDialogKind { open, save };
// Answers true and writes the chosen path (in the code page the C runtime opens files with)
// when the person chose a file whose path fits maxLength bytes with its NUL.
bool chooseFile(FileDialogKind kind, const char* prompt, const char* filter, const char* startingFolder,
                const char* defaultName, char* path, ps::int32 maxLength);
bool chooseColor(const ps::ADMRGBColor& start, ps::ADMRGBColor& chosen);

}  // namespace win32ui
