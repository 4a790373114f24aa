// ravo: runs the plug-in's filters on picture files through the stand-in host.
//
//   ravo list
//   ravo params FILTER
//   ravo apply FILTER INPUT OUTPUT [--set KEY=VALUE]... [--preset FILE] [--save-preset FILE]
//              [--tile HxW] [--rect TOP,LEFT,BOTTOM,RIGHT] [--depth 8|16] [--registry FILE]
//              [--max-pixels N] [--compression fast|default|best] [--quiet]
//   ravo apply FILTER INPUT... --out DIR|PATTERN [--format png|tif|jpg] [-j N] and the options above
//   ravo dialog FILTER INPUT [OUTPUT] [--script FILE] [--snapshot FILE.png] and apply's options
//   ravo about [--snapshot FILE.png] [--withhold SUITE]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/cli/commands.h"
#include "editor/cli/exit_status.h"
#include "editor/picture_file.h"
#include "editor/program_path.h"

namespace {

using namespace editor;
using namespace cli;
namespace fs = std::filesystem;

const char* const kUsageText =
    "usage: ravo list\n"
    "       ravo params FILTER\n"
    "       ravo apply FILTER INPUT OUTPUT [--set KEY=VALUE]... [--preset FILE] [--save-preset FILE]\n"
    "                  [--tile HxW] [--rect TOP,LEFT,BOTTOM,RIGHT] [--depth 8|16] [--registry FILE]\n"
    "                  [--max-pixels N]   (pictures over N pixels are refused; default 1000000000)\n"
    "                  [--compression fast|default|best]   (PNG, TIFF and JPEG output; default fast)\n"
    "                  [--threads N]      (threads that compress TIFF output; default one per core,\n"
    "                                     with --out one per core shared among the -j files)\n"
    "                  [--quiet]          (no progress display)\n"
    "       ravo apply FILTER INPUT... --out DIR|PATTERN [--format png|tif|jpg] [-j N] [apply's options]\n"
    "                  (PATTERN fields: {name} the input's name without extension, {ext} the output's\n"
    "                  extension; N files at once, default one per core)\n"
    "       ravo dialog FILTER INPUT [OUTPUT] [--script FILE] [--snapshot FILE.png] [apply's options]\n"
    "       ravo about [--snapshot FILE.png] [--withhold SUITE]\n"
    "testing options of apply (fault injection in the host):\n"
    "       [--withhold SUITE]... [--fail-buffer N] [--fail-handle N] [--abort-at-tile N]\n";

std::string pluginPath() {
    // In the platform's own form (backslashes on Windows): the plug-in finds its Textures
    // folder from this path, split at the platform's separator.
    if (const char* path = std::getenv("RAVO_PLUGIN"); path && *path) return fs::path(path).make_preferred().string();
    return (fs::path(programFolder()) / kPluginFileName).string();
}

int run(const std::string& command, const std::vector<std::string>& args) {
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
    const ApplyOptions options = parseApply(args, command == "dialog");
    return options.isBatch() ? applyBatch(*plugin, options) : apply(*plugin, options);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        std::fprintf(args.empty() ? stderr : stdout, "%sThe plug-in is the file %s beside this program (or $RAVO_PLUGIN).\n",
                     kUsageText, kPluginFileName);
        return args.empty() ? kUsage : kDone;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        return run(command, args);
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
