// The plug-in file on Linux: a shared library opened with dlopen, whose PiPL and
// AETE bytes and effect descriptions come from its Ravo* exports.
#include "editor/plugin_module.h"

#include <dlfcn.h>

#include "editor/plugin_library.h"

namespace editor {

namespace {

using ResourceProc = const unsigned char* (*)(uint32_t type, int16_t id, uint32_t* size);
using DescribeProc = const char* (*)(const char* key);
using KeysProc = const char* (*)();
using CommandKeyProc = const char* (*)(const char* exportName);

constexpr uint32_t kPiplType = 0x5049504C;  // 'PIPL'
constexpr int16_t kFirstResourceId = 16000;
constexpr int kMaxResources = 64;

}  // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        throw PluginError("cannot load plug-in \"" + path + "\": " + (reason ? reason : "unknown error"));
    }
    std::unique_ptr<PluginModule> plugin(new PluginModule(handle));
    if (!plugin->symbol("RavoResource") || !plugin->symbol("RavoEffectKeys") || !plugin->symbol("RavoCommandKey"))
        throw PluginError("\"" + path + "\" is not a Ravo plug-in: it carries no PiPL data");
    return plugin;
}

PluginModule::~PluginModule() { dlclose(handle_); }

void* PluginModule::symbol(const char* name) const { return dlsym(handle_, name); }

std::vector<int16_t> PluginModule::piplIds() const {
    // The resources are numbered from the first id on without gaps.
    std::vector<int16_t> ids;
    for (int i = 0; i < kMaxResources; ++i) {
        const int16_t id = int16_t(kFirstResourceId + i);
        if (!resource(kPiplType, id)) break;
        ids.push_back(id);
    }
    return ids;
}

std::optional<std::vector<uint8_t>> PluginModule::resource(uint32_t type, int16_t id) const {
    auto resourceProc = reinterpret_cast<ResourceProc>(symbol("RavoResource"));
    uint32_t size = 0;
    const unsigned char* bytes = resourceProc ? resourceProc(type, id, &size) : nullptr;
    if (!bytes) return std::nullopt;
    return std::vector<uint8_t>(bytes, bytes + size);
}

std::string PluginModule::effectKeys() const {
    auto keysProc = reinterpret_cast<KeysProc>(symbol("RavoEffectKeys"));
    const char* text = keysProc ? keysProc() : nullptr;
    return text ? text : "";
}

std::optional<std::string> PluginModule::commandKey(const std::string& exportName) const {
    auto commandKeyProc = reinterpret_cast<CommandKeyProc>(symbol("RavoCommandKey"));
    const char* key = commandKeyProc ? commandKeyProc(exportName.c_str()) : nullptr;
    if (!key) return std::nullopt;
    return std::string(key);
}

std::string PluginModule::describe(const std::string& registryKey) const {
    auto describeProc = reinterpret_cast<DescribeProc>(symbol("RavoDescribeEffect"));
    const char* text = describeProc ? describeProc(registryKey.c_str()) : nullptr;
    return text ? text : "";
}

PluginModule::KeyedEntryProc PluginModule::keyedEntry() const {
    return reinterpret_cast<KeyedEntryProc>(symbol("RavoEffectMain"));
}

}  // namespace editor
