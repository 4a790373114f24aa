#include "editor/filter_choice.h"

#include <algorithm>
#include <cctype>

namespace editor {

namespace {

std::string folded(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The menu name without "Ravo " and "...", folded to lower case.
std::string bareMenuName(const std::string& name) {
    std::string bare = folded(name);
    if (bare.rfind("ravo ", 0) == 0) bare.erase(0, 5);
    if (bare.size() >= 3 && bare.compare(bare.size() - 3, 3, "...") == 0) bare.erase(bare.size() - 3);
    return bare;
}

}  // namespace

FilterChoice chooseFilter(const PluginLibrary& plugin, const std::string& name) {
    const std::string wanted = folded(name);
    const std::string wantedBare = bareMenuName(name);
    for (const MenuCommand& command : plugin.commands())
        if (folded(command.registryKey) == wanted || bareMenuName(command.menuName) == wantedBare)
            return {command.registryKey, command.menuName, command.available};
    for (const std::string& key : plugin.effectKeys())
        if (folded(key) == wanted) return {key, key, plugin.runsEffectsByKey()};
    throw UsageError("unknown filter \"" + name + "\"; `ravo list` shows the filters");
}

}  // namespace editor
