// Finding the filter a user names on the command line: a registry key
// ("BlackMist") or a menu name with or without "Ravo " and "..." ("Black Mist"),
// in any case.
#pragma once

#include <stdexcept>
#include <string>

#include "editor/effect_description.h"
#include "editor/plugin_library.h"

namespace editor {

struct FilterChoice {
    std::string registryKey;
    std::string menuName;
    bool available = false;
};

// Throws UsageError naming the unknown filter.
FilterChoice chooseFilter(const PluginLibrary& plugin, const std::string& name);

// A known filter whose effect is not in this build.
class FilterUnavailable : public std::runtime_error {
public:
    explicit FilterUnavailable(const FilterChoice& choice)
        : std::runtime_error(choice.menuName + " (" + choice.registryKey + ") is not available in this build") {}
};

}  // namespace editor
