// `ravo list` and `ravo params`: what the plug-in offers, as it describes itself.
#include <cstdio>

#include "editor/cli/commands.h"
#include "editor/cli/exit_status.h"
#include "editor/texture_folder.h"

namespace cli {

using namespace editor;

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
    return kDone;
}

int params(const PluginLibrary& plugin, const std::string& filter) {
    const FilterChoice choice = chooseFilter(plugin, filter);
    if (!choice.available) throw FilterUnavailable(choice);
    const EffectDescription effect = EffectDescription::parse(plugin.describe(choice.registryKey));
    std::fputs(formatParameters(effect, textureFileNames(texturesFolderOf(plugin.path()))).c_str(), stdout);
    return kDone;
}

}  // namespace cli
