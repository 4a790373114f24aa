// The `ravo` commands, each given the plug-in and its arguments; each returns the
// exit status and throws editor's UsageError, FileError, PluginError or
// FilterUnavailable, which main turns into one line and a status.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/cli/apply_options.h"
#include "editor/descriptors.h"
#include "editor/effect_description.h"
#include "editor/filter_choice.h"
#include "editor/plugin_library.h"

namespace cli {

int list(const editor::PluginLibrary& plugin);
int params(const editor::PluginLibrary& plugin, const std::string& filter);
int about(const editor::PluginLibrary& plugin, const std::vector<std::string>& args);
// One INPUT to one OUTPUT, with or without the dialog.
int apply(const editor::PluginLibrary& plugin, const ApplyOptions& options);
// Many inputs, each in a run of its own.
int applyBatch(const editor::PluginLibrary& plugin, const ApplyOptions& options);

// The values a run starts from: those the registry remembers for the filter, else the
// defaults; the preset, then the settings, change them. No description and an empty
// block for a filter that is not available.
struct StartingValues {
    std::optional<editor::EffectDescription> description;
    std::vector<uint8_t> block;
};
StartingValues startingValues(const editor::PluginLibrary& plugin, const editor::FilterChoice& choice,
                              const ApplyOptions& options, const editor::DescriptorRegistry& registry);

}  // namespace cli
