// Preset files: an effect's current values saved to disk as one parameter block, byte for
// byte the block the host keeps in its parameters handle, and loaded back by parameter
// name. A preset belongs to one effect (by title) and one version of it (by parameter count).
#pragma once

#include <string>

#include "host/plugin_call.h"

namespace preset_file {
// What the dialog's Save... and Load... commands show in the host's file dialogs.
inline constexpr const char* kSavePrompt = "Save Preset...";
inline constexpr const char* kLoadPrompt = "Load Preset...";
inline constexpr const char* kFilterDescription = "QEL Preset File (*.qel)";
inline constexpr const char* kFilterPattern = "*.qel";
// Shown when loadPreset returns false.
inline constexpr const char* kLoadFailedMessage = "Could not open file or preset is not for this filter.";
}  // namespace preset_file

// The name a preset is saved under: the chosen name when the text after its last "." is
// exactly "qel" or "QEL", otherwise the chosen name with ".qel" appended.
std::string presetFileName(const std::string& chosen);

// Saves the current values to path, replacing any file there only once the new one is
// complete. False when the host gives no handle for the block or the file cannot be
// written; an existing file is then left as it was.
bool savePreset(PluginCall& call, const std::string& path);

// Loads the values of a preset file. True when they were applied, and also for an empty
// file or a block of another format version, which change nothing. False, with every value
// unchanged, when the file cannot be read, is larger than any effect's block, is shorter
// than its header or its records, or belongs to another effect or another version of it.
bool loadPreset(PluginCall& call, const std::string& path);
