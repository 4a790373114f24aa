// `ravo apply FILTER INPUT OUTPUT` and `ravo dialog`: one picture through one filter.
#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <optional>

#include "editor/cli/commands.h"
#include "editor/cli/exit_status.h"
#include "editor/dialog_script.h"
#include "editor/dialog_snapshot.h"
#include "editor/registry_file.h"
#include "editor/replacing_file.h"
#include "editor/same_file.h"
#include "editor/texture_folder.h"
#include "editor/whole_file.h"

namespace cli {

namespace {

using namespace editor;

// The person at the dialog: the script's commands, after a snapshot of the dialog as it opens;
// without a script, OK.
std::vector<ScriptCommand> dialogScript(const ApplyOptions& options) {
    std::string text;
    if (!options.snapshot.empty()) text += "snapshot " + options.snapshot + "\n";
    if (options.script.empty()) return parseScript(text + "press OK\n");
    const std::vector<uint8_t> bytes = readWholeFile(options.script);
    std::vector<ScriptCommand> commands = parseScript(std::string(bytes.begin(), bytes.end()));
    if (!options.snapshot.empty()) commands.insert(commands.begin(), parseScript(text).front());
    return commands;
}

void writeAll(ReplacingFile& file, const std::string& path, const std::vector<uint8_t>& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.stream()) != bytes.size())
        throw FileError::writing(path, "could not write all bytes");
    file.close();
}

// Refuses a run in which one file would be written over another it reads or
// writes: INPUT, OUTPUT, the preset saved and the registry file must be four
// files, and the preset read may only be the one saved ("update my preset").
void checkDistinctFiles(const ApplyOptions& options) {
    struct Role {
        const char* name;
        const std::string& path;
        bool written;
    };
    enum { kInput, kOutput, kSnapshot, kSavedPreset, kRegistry, kReadPreset };
    const Role roles[] = {{"input", options.input, false},
                          {"output", options.output, true},
                          {"snapshot", options.snapshot, true},
                          {"preset to save", options.savePreset, true},
                          {"registry", options.registry, true},
                          {"preset", options.preset, false}};
    for (size_t i = 0; i < std::size(roles); ++i)
        for (size_t j = i + 1; j < std::size(roles); ++j) {
            const Role &a = roles[i], &b = roles[j];
            const bool harmless = (!a.written && !b.written) || (i == kSavedPreset && j == kReadPreset);
            if (a.path.empty() || b.path.empty() || harmless || !sameFile(a.path, b.path)) continue;
            throw UsageError("the " + std::string(b.name) + " \"" + b.path + "\" is the " + a.name +
                             (a.path == b.path ? "" : " \"" + a.path + "\"") + "; choose another file name");
        }
}

// The key under which the host keeps the filter's last-used values; empty for an
// effect without a menu command, whose key only the plug-in knows.
std::string descriptorKeyOf(const PluginLibrary& plugin, const FilterChoice& choice) {
    for (const MenuCommand& command : plugin.commands())
        if (command.registryKey == choice.registryKey) return command.descriptorKey;
    return {};
}

// How the run shows its tiles: a line redrawn on a terminal, lines for the run over many
// files that started this one, or nothing.
void showProgress(FilterHost& host, const ApplyOptions& options) {
    if (options.progressLines)
        host.onProgress = [](int32_t done, int32_t total) {
            std::fprintf(stderr, "progress %d %d\n", done, total);
            std::fflush(stderr);
        };
    else if (!options.quiet && isatty(STDERR_FILENO))
        host.onProgress = [](int32_t done, int32_t total) {
            std::fprintf(stderr, "\r%s %d/%d", "filtering", done, total);
            if (done == total) std::fputc('\n', stderr);
        };
}

}  // namespace

StartingValues startingValues(const PluginLibrary& plugin, const FilterChoice& choice, const ApplyOptions& options,
                              const DescriptorRegistry& registry) {
    StartingValues values;
    if (!choice.available) return values;
    const EffectDescription& effect =
        values.description.emplace(EffectDescription::parse(plugin.describe(choice.registryKey)));
    const std::string textures = texturesFolderOf(plugin.path());
    ParameterBlock block = effect.defaults();
    applyRemembered(effect, block, rememberedBlock(registry, descriptorKeyOf(plugin, choice), effect.title));
    if (!options.preset.empty()) applyPreset(effect, block, readWholeFile(options.preset), options.preset);
    for (const std::string& setting : options.settings) applySetting(effect, block, setting, textures);
    values.block = block.encode();
    return values;
}

int apply(const PluginLibrary& plugin, const ApplyOptions& options) {
    const FilterChoice choice = chooseFilter(plugin, options.filter);
    // An effect without a menu command has no entry point in a plug-in without the keyed entry.
    const EntryCall entry = plugin.entryFor(choice.registryKey);
    if (!entry) throw FilterUnavailable(choice);

    // Nothing is read or written before every file is known to be usable.
    checkDistinctFiles(options);
    if (!options.output.empty()) {
        outputFormatFor(options.output);
        checkReplaceable(options.output);
    }
    if (!options.snapshot.empty()) checkReplaceable(options.snapshot);
    if (!options.savePreset.empty()) checkReplaceable(options.savePreset);
    if (!options.registry.empty()) checkReplaceable(options.registry);
    DescriptorRegistry registry;
    if (!options.registry.empty()) registry = loadRegistry(options.registry);
    const StartingValues values = startingValues(plugin, choice, options, registry);

    Picture picture = readPicture(options.input, options.maxPixels);
    // Converted only when the depth changes: a copy at the same depth would double the memory.
    if (options.depth && options.depth != picture.depth) picture = convertDepth(picture, options.depth);
    if (options.rect) {
        const auto& r = *options.rect;
        if (r[0] >= r[2] || r[1] >= r[3] || r[2] > picture.height || r[3] > picture.width)
            throw UsageError("--rect " + std::to_string(r[0]) + "," + std::to_string(r[1]) + "," +
                             std::to_string(r[2]) + "," + std::to_string(r[3]) + " is not a non-empty area inside the " +
                             std::to_string(picture.width) + "x" + std::to_string(picture.height) + " picture");
    }

    HostOptions hostOptions;
    hostOptions.tileHeight = options.tileHeight;
    hostOptions.tileWidth = options.tileWidth;
    hostOptions.filterRect = options.rect;
    hostOptions.pluginPath = plugin.path();
    hostOptions.faults = options.faults;
    FilterHost host(picture, hostOptions);
    host.descriptors().registry() = registry;
    showProgress(host, options);

    std::optional<ScriptedDriver> driver;
    if (options.dialog) {
        if (!values.description) throw FilterUnavailable(choice);
        driver.emplace(dialogScript(options), *values.description, texturesFolderOf(plugin.path()), writeDialogSnapshot);
        host.dialogs().setDriver(&*driver);
    }
    const int16_t result =
        host.replay(entry, values.block, options.dialog ? ps::plugInDialogDisplay : ps::plugInDialogSilent);
    if (driver) {
        for (const auto& [kind, message] : driver->alerts())
            std::fprintf(stderr, "ravo: %s: %s\n", kind == AlertKind::error ? "error alert" : "alert", message.c_str());
        if (!driver->error().empty()) throw UsageError(driver->error());
        if (result == -128) {
            std::fprintf(stderr, "ravo: %s: cancelled in the dialog; nothing written\n", choice.menuName.c_str());
            return kFilterFailed;
        }
    }
    if (result != 0) {
        const std::string message = host.errorMessage();
        std::fprintf(stderr, "ravo: %s: %s\n", choice.menuName.c_str(),
                     message.empty() ? describeResult(result).c_str()
                                     : (message + " (result " + std::to_string(result) + ")").c_str());
        return kFilterFailed;
    }
    // All or nothing: the preset and the registry are written in full under
    // temporary names first, the picture replaces OUTPUT, and only then do they
    // replace theirs. A failure before that leaves every destination as it was.
    std::optional<ReplacingFile> presetFile, registryFile;
    if (!options.savePreset.empty()) writeAll(presetFile.emplace(options.savePreset), options.savePreset, host.parametersBlock());
    if (!options.registry.empty())
        writeAll(registryFile.emplace(options.registry), options.registry, registryFileBytes(host.descriptors().registry()));
    if (!options.output.empty()) writePicture(picture, options.output, options.compression, options.threads);
    if (presetFile) presetFile->commit();
    if (registryFile) registryFile->commit();
    return kDone;
}

}  // namespace cli
