// The plug-in file loaded by the stand-in host: its menu commands read from its
// PiPL data, its entry points, and what it says about its effects.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/filter_host.h"

namespace editor {

class PluginModule;

class PluginError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct MenuCommand {
    int16_t resourceId = 0;
    std::string menuName;      // "Ravo Black Mist..."
    std::string category;      // "Tessarine"
    std::string entryPoint;    // "PIMAIN_BlackMist"
    std::string descriptorKey; // the GUID under which the host keeps last-used values
    std::string registryKey;   // "BlackMist"
    bool available = false;
    std::vector<uint8_t> pipl;
    std::vector<uint8_t> aete;
};

// The properties of one PiPL resource.
struct PiplProperties {
    std::string kind, name, category, entryPoint, enable;
    uint32_t version = 0;
    int16_t terminologyId = 0;
    std::string scopeKey;
};
// Parses PiPL bytes; throws PluginError naming what is wrong.
PiplProperties parsePipl(const std::vector<uint8_t>& bytes);

class PluginLibrary {
public:
    // Loads the plug-in file. Throws PluginError with one line naming the problem.
    static std::unique_ptr<PluginLibrary> open(const std::string& path);
    ~PluginLibrary();

    const std::string& path() const { return path_; }
    const std::vector<MenuCommand>& commands() const { return commands_; }
    // Registry keys of every effect in this build, menu command or not.
    const std::vector<std::string>& effectKeys() const { return keys_; }
    // The plug-in's description of an effect's parameters; empty when it is not in this build.
    std::string describe(const std::string& registryKey) const;
    // The entry point that runs an effect: its menu command's export, or the keyed entry.
    EntryCall entryFor(const std::string& registryKey) const;
    // Whether effects without a menu command can be run, through the keyed entry
    // (the Linux plug-in has one; the Windows plug-in exports the entry points only).
    bool runsEffectsByKey() const;
    // The export of a menu command, by name; null when missing.
    void* symbol(const char* name) const;

private:
    PluginLibrary() = default;
    std::string path_;
    std::unique_ptr<PluginModule> module_;
    std::vector<MenuCommand> commands_;
    std::vector<std::string> keys_;
};

}  // namespace editor
