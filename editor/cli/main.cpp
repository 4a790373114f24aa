// ravo: runs the plug-in's filters on picture files through the stand-in host.
//
//   ravo list
//   ravo params FILTER
//   ravo apply FILTER INPUT OUTPUT [--set KEY=VALUE]... [--preset FILE] [--save-preset FILE]
//              [--tile HxW] [--rect TOP,LEFT,BOTTOM,RIGHT] [--depth 8|16] [--registry FILE]
//              [--max-pixels N] [--compression fast|default|best]
//   ravo dialog FILTER INPUT [OUTPUT] [--script FILE] [--snapshot FILE.png] and apply's options
//   ravo about [--snapshot FILE.png]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "editor/filter_choice.h"
#include "editor/dialog_script.h"
#include "editor/dialog_snapshot.h"
#include "editor/effect_description.h"
#include "editor/filter_host.h"
#include "editor/picture_file.h"
#include "editor/plugin_library.h"
#include "editor/program_path.h"
#include "editor/registry_file.h"
#include "editor/replacing_file.h"
#include "editor/same_file.h"
#include "editor/texture_folder.h"
#include "editor/whole_file.h"

namespace {

using namespace editor;
namespace fs = std::filesystem;

// Exit statuses.
constexpr int kUsage = 2;
constexpr int kBadFile = 3;
constexpr int kFilterFailed = 4;
constexpr int kPluginMissing = 5;

const char* const kUsageText =
    "usage: ravo list\n"
    "       ravo params FILTER\n"
    "       ravo apply FILTER INPUT OUTPUT [--set KEY=VALUE]... [--preset FILE] [--save-preset FILE]\n"
    "                  [--tile HxW] [--rect TOP,LEFT,BOTTOM,RIGHT] [--depth 8|16] [--registry FILE]\n"
    "                  [--max-pixels N]   (pictures over N pixels are refused; default 1000000000)\n"
    "                  [--compression fast|default|best]   (PNG and TIFF output; default fast)\n"
    "       ravo dialog FILTER INPUT [OUTPUT] [--script FILE] [--snapshot FILE.png] [apply's options]\n"
    "       ravo about [--snapshot FILE.png]\n"
    "testing options of apply (fault injection in the host):\n"
    "       [--withhold SUITE]... [--fail-buffer N] [--fail-handle N] [--abort-at-tile N]\n";

struct ApplyOptions {
    std::string filter, input, output;
    std::vector<std::string> settings;
    std::string preset, savePreset, registry;
    int32_t tileHeight = 256, tileWidth = 256;
    std::optional<std::array<int32_t, 4>> rect;
    int depth = 0;
    uint64_t maxPixels = kDefaultPixelLimit;
    Compression compression = Compression::fast;
    FaultPlan faults;
    // dialog: the script that plays the person at the dialog, and a picture of the dialog as
    // it opens. Without a script the dialog is answered with OK.
    bool dialog = false;
    std::string script, snapshot;
};

std::string pluginPath() {
    // In the platform's own form (backslashes on Windows): the plug-in finds its Textures
    // folder from this path, split at the platform's separator.
    if (const char* path = std::getenv("RAVO_PLUGIN"); path && *path) return fs::path(path).make_preferred().string();
    return (fs::path(programFolder()) / kPluginFileName).string();
}

uint32_t parseCount(const std::string& option, const std::string& text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end || value == 0 || value > 0x7fffffff)
        throw UsageError(option + " needs a whole number of at least 1, got \"" + text + "\"");
    return uint32_t(value);
}

std::vector<int32_t> parseInts(const std::string& option, const std::string& text, char separator, size_t count) {
    std::vector<int32_t> values;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        const std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        char* stop = nullptr;
        const long value = std::strtol(part.c_str(), &stop, 10);
        if (part.empty() || *stop || value < 0 || value > 1000000000) {
            values.clear();
            break;
        }
        values.push_back(int32_t(value));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (values.size() != count)
        throw UsageError(option + " needs " + std::to_string(count) + " whole numbers separated by '" +
                         std::string(1, separator) + "', got \"" + text + "\"");
    return values;
}

ApplyOptions parseApply(const std::vector<std::string>& args, bool dialog) {
    ApplyOptions options;
    options.dialog = dialog;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        // An empty file name is refused rather than taken as "no file".
        auto fileName = [&]() -> const std::string& {
            const std::string& name = value();
            if (name.empty()) throw UsageError(arg + " needs a file name, got \"\"");
            return name;
        };
        if (arg == "--set") options.settings.push_back(value());
        else if (arg == "--preset") options.preset = fileName();
        else if (arg == "--save-preset") options.savePreset = fileName();
        else if (arg == "--registry") options.registry = fileName();
        else if (dialog && arg == "--script") options.script = fileName();
        else if (dialog && arg == "--snapshot") options.snapshot = fileName();
        else if (arg == "--tile") {
            const std::vector<int32_t> size = parseInts(arg, value(), 'x', 2);
            if (size[0] < 1 || size[1] < 1 || size[0] > 32767 || size[1] > 32767)
                throw UsageError("--tile needs HxW with each side from 1 to 32767");
            options.tileHeight = size[0];
            options.tileWidth = size[1];
        } else if (arg == "--rect") {
            const std::vector<int32_t> r = parseInts(arg, value(), ',', 4);
            options.rect = std::array<int32_t, 4>{r[0], r[1], r[2], r[3]};
        } else if (arg == "--depth") {
            const std::string& depth = value();
            if (depth != "8" && depth != "16") throw UsageError("--depth takes 8 or 16, got \"" + depth + "\"");
            options.depth = std::stoi(depth);
        } else if (arg == "--max-pixels") {
            const std::string& text = value();
            const bool digits = !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == text.npos;
            const uint64_t pixels = digits ? std::stoull(text) : 0;
            if (pixels == 0 || pixels > kMaxPicturePixels)
                throw UsageError("--max-pixels needs a whole number from 1 to " + std::to_string(kMaxPicturePixels) +
                                 ", got \"" + text + "\"");
            options.maxPixels = pixels;
        } else if (arg == "--compression") {
            const std::string& name = value();
            const std::optional<Compression> compression = compressionNamed(name);
            if (!compression) throw UsageError("--compression takes fast, default or best, got \"" + name + "\"");
            options.compression = *compression;
        } else if (arg == "--withhold") options.faults.withheldSuites.insert(value());
        else if (arg == "--fail-buffer") options.faults.failBufferAllocation = parseCount(arg, value());
        else if (arg == "--fail-handle") options.faults.failHandleAllocation = parseCount(arg, value());
        else if (arg == "--abort-at-tile") options.faults.abortFromTile = parseCount(arg, value());
        else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') throw UsageError("unknown option " + arg);
        else positional.push_back(arg);
    }
    if (dialog) {
        if (positional.size() != 2 && positional.size() != 3) throw UsageError("dialog needs FILTER INPUT [OUTPUT]");
        if (positional[1].empty() || (positional.size() == 3 && positional[2].empty()))
            throw UsageError("dialog needs file names for INPUT and OUTPUT");
    } else {
        if (positional.size() != 3) throw UsageError("apply needs FILTER INPUT OUTPUT");
        if (positional[1].empty() || positional[2].empty()) throw UsageError("apply needs file names for INPUT and OUTPUT");
    }
    options.filter = positional[0];
    options.input = positional[1];
    if (positional.size() == 3) options.output = positional[2];
    return options;
}

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

int list(const PluginLibrary& plugin) {
    for (const MenuCommand& command : plugin.commands())
        std::printf("%-30s %-16s %-24s %s\n", command.menuName.c_str(), command.registryKey.c_str(),
                    command.entryPoint.c_str(), command.available ? "available" : "not available in this build");
    for (const std::string& key : plugin.effectKeys()) {
        bool hasCommand = false;
        for (const MenuCommand& command : plugin.commands()) hasCommand |= command.registryKey == key;
        if (!hasCommand)
            std::printf("%-30s %-16s %-24s %s\n", "(no menu command)", key.c_str(), "-",
                        plugin.runsEffectsByKey() ? "available" : "not available in this build");
    }
    return 0;
}

int params(const PluginLibrary& plugin, const std::string& filter) {
    const FilterChoice choice = chooseFilter(plugin, filter);
    if (!choice.available) throw FilterUnavailable(choice);
    const EffectDescription effect = EffectDescription::parse(plugin.describe(choice.registryKey));
    std::fputs(formatParameters(effect, textureFileNames(texturesFolderOf(plugin.path()))).c_str(), stdout);
    return 0;
}

// The key under which the host keeps the filter's last-used values; empty for an
// effect without a menu command, whose key only the plug-in knows.
std::string descriptorKeyOf(const PluginLibrary& plugin, const FilterChoice& choice) {
    for (const MenuCommand& command : plugin.commands())
        if (command.registryKey == choice.registryKey) return command.descriptorKey;
    return {};
}

int apply(const PluginLibrary& plugin, const ApplyOptions& options) {
    const FilterChoice choice = chooseFilter(plugin, options.filter);
    // An effect without a menu command has no entry point in a plug-in without the keyed entry.
    const EntryCall entry = plugin.entryFor(choice.registryKey);
    if (!entry) throw FilterUnavailable(choice);
    const std::string textures = texturesFolderOf(plugin.path());

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

    // The values a run starts from: those the registry remembers for the filter,
    // else the defaults; a preset, then the settings, change them.
    std::vector<uint8_t> block;
    std::optional<EffectDescription> description;
    if (choice.available) {
        const EffectDescription& effect = description.emplace(EffectDescription::parse(plugin.describe(choice.registryKey)));
        ParameterBlock values = effect.defaults();
        applyRemembered(effect, values, rememberedBlock(registry, descriptorKeyOf(plugin, choice), effect.title));
        if (!options.preset.empty()) applyPreset(effect, values, readWholeFile(options.preset), options.preset);
        for (const std::string& setting : options.settings) applySetting(effect, values, setting, textures);
        block = values.encode();
    }

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
    const bool showProgress = isatty(STDERR_FILENO);
    if (showProgress)
        host.onProgress = [](int32_t done, int32_t total) {
            std::fprintf(stderr, "\r%s %d/%d", "filtering", done, total);
            if (done == total) std::fputc('\n', stderr);
        };

    std::optional<ScriptedDriver> driver;
    if (options.dialog) {
        if (!description) throw FilterUnavailable(choice);
        driver.emplace(dialogScript(options), *description, textures, writeDialogSnapshot);
        host.dialogs().setDriver(&*driver);
    }
    const int16_t result = host.replay(entry, block, options.dialog ? ps::plugInDialogDisplay : ps::plugInDialogSilent);
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
    if (!options.output.empty()) writePicture(picture, options.output, options.compression);
    if (presetFile) presetFile->commit();
    if (registryFile) registryFile->commit();
    return 0;
}

// Presses OK in the about box, after writing its picture or printing its text.
class AboutDriver : public DialogDriver {
public:
    explicit AboutDriver(std::string snapshot) : snapshot_(std::move(snapshot)) {}
    std::optional<std::string> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
    void alert(AlertKind, const std::string&) override {}
    void runModal(DialogManager& manager, ps::ADMDialogRef dialog) override {
        ++shown;
        if (!snapshot_.empty()) writeDialogSnapshot(manager, dialog, snapshot_);
        else
            for (const auto& item : manager.dialog(dialog)->items)
                if (item->type == ps::kADMTextStaticType || item->type == ps::kADMTextStaticMultiLineType)
                    std::fputs(item->text.c_str(), stdout);
        manager.pressButton(dialog, "OK");
    }
    int shown = 0;

private:
    std::string snapshot_;
};

// Asks each menu command's entry point for its about box, as a host's About Plug-in menu does;
// the plug-in shows it on one of them.
int about(const PluginLibrary& plugin, const std::vector<std::string>& args) {
    std::string snapshot;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--snapshot" && i + 1 < args.size() && !args[i + 1].empty()) snapshot = args[++i];
        else throw UsageError("about takes only --snapshot FILE.png");
    }
    if (!snapshot.empty()) checkReplaceable(snapshot);
    Picture picture = Picture::blank(1, 1, 3, 8);
    FilterHost host(picture, HostOptions{.pluginPath = plugin.path()});
    AboutDriver driver(snapshot);
    host.dialogs().setDriver(&driver);
    for (const MenuCommand& command : plugin.commands()) {
        const EntryCall entry = plugin.entryFor(command.registryKey);
        if (entry) host.call(entry, ps::filterSelectorAbout);
        if (driver.shown) return 0;
    }
    std::fprintf(stderr, "ravo: the plug-in showed no about box\n");
    return kFilterFailed;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fprintf(args.empty() ? stderr : stdout, "%sThe plug-in is the file %s beside this program (or $RAVO_PLUGIN).\n",
                     kUsageText, kPluginFileName);
        return args.empty() ? kUsage : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command != "list" && command != "params" && command != "apply" && command != "dialog" && command != "about")
            throw UsageError("unknown command \"" + command + "\"; commands: list, params, apply, dialog, about");
        std::unique_ptr<PluginLibrary> plugin;
        try {
            plugin = PluginLibrary::open(pluginPath());
        } catch (const PluginError& e) {
            std::fprintf(stderr, "ravo: %s\n", e.what());
            return kPluginMissing;
        }
        if (command == "list") {
            if (!args.empty()) throw UsageError("list takes no arguments");
            return list(*plugin);
        }
        if (command == "params") {
            if (args.size() != 1) throw UsageError("params needs FILTER");
            return params(*plugin, args[0]);
        }
        if (command == "about") return about(*plugin, args);
        return apply(*plugin, parseApply(args, command == "dialog"));
    } catch (const FilterUnavailable& e) {
        std::fprintf(stderr, "ravo: %s\n", e.what());
        return kFilterFailed;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "ravo: %s\n", e.what());
        return kUsage;
    } catch (const FileError& e) {
        std::fprintf(stderr, "ravo: %s\n", e.what());
        return kBadFile;
    } catch (const PluginError& e) {
        std::fprintf(stderr, "ravo: %s\n", e.what());
        return kPluginMissing;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "ravo: out of memory\n");
        return kFilterFailed;
    }
}
