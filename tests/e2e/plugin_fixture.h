// Loads the built plug-in file for the host tests. Each fresh copy is a separate
// file, so its process-wide state (the first call, the cached host verdict)
// starts anew, as in a new host process.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/filter_host.h"
#include "editor/picture.h"
#include "editor/plugin_library.h"

namespace test_support {

std::filesystem::path buildDir();
std::filesystem::path sourceDir();
// A private temporary folder, removed at exit.
std::filesystem::path tempDir();
// The plug-in as built, loaded once for the whole test run.
editor::PluginLibrary& sharedPlugin();
// A fresh copy of the plug-in file, loaded on its own.
std::unique_ptr<editor::PluginLibrary> freshPlugin();

// A picture of one pixel value everywhere.
editor::Picture uniformPicture(int32_t width, int32_t height, int channels, int depth,
                               std::vector<uint16_t> pixel);
// A picture with a varied pattern (alpha opaque).
editor::Picture patternPicture(int32_t width, int32_t height, int channels, int depth);
uint16_t sample(const editor::Picture& picture, int32_t x, int32_t y, int channel);

// The block of an effect's defaults with some numbers set by key.
std::vector<uint8_t> blockWith(const editor::PluginLibrary& plugin, const std::string& key,
                               const std::vector<std::pair<std::string, std::string>>& settings);

}  // namespace test_support
