// A dialog as a person would see it, written as a PNG picture: how the stand-in host shows
// what the plug-in's windows look like.
#pragma once

#include <string>

#include "editor/dialog_manager.h"

namespace editor {

// Draws the dialog at its size, its items and the plug-in's drawing included, and writes it as
// an RGBA PNG under a temporary name renamed over `path` once complete. Throws FileError for a
// dialog that is gone or has no size and for a file that cannot be written; an existing file
// at `path` is then left as it was. Without a font the text is left out, said once on stderr.
void writeDialogSnapshot(DialogManager& manager, ps::ADMDialogRef dialog, const std::string& path);

}  // namespace editor
