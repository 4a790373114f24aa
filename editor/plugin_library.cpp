#include "editor/plugin_library.h"

#include <algorithm>
#include <sstream>

#include "editor/plugin_module.h"
#include "sdk/pi_types.h"
#include "sdk/sp_basic.h"

namespace editor {

namespace {

constexpr uint32_t kPiplType = 0x5049504C;  // 'PIPL'
constexpr uint32_t kAeteType = 0x41455445;  // 'AETE'

uint32_t readU32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

std::string pascalString(const std::vector<uint8_t>& data) {
    if (data.empty() || data[0] + 1u > data.size()) throw PluginError("bad PiPL: a string is longer than its property");
    return std::string(data.begin() + 1, data.begin() + 1 + data[0]);
}

std::string cString(const std::vector<uint8_t>& data, size_t from = 0) {
    if (from > data.size()) return {};
    const auto end = std::find(data.begin() + long(from), data.end(), 0);
    return std::string(data.begin() + long(from), end);
}

}  // namespace

PiplProperties parsePipl(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 10 || bytes[0] != 1 || bytes[1] != 0) throw PluginError("bad PiPL: no header");
    const uint32_t count = readU32(bytes, 6);
    PiplProperties result;
    size_t at = 10;
    for (uint32_t i = 0; i < count; ++i) {
        if (bytes.size() - at < 16) throw PluginError("bad PiPL: property header past the end");
        const uint32_t vendor = readU32(bytes, at);
        const uint32_t key = readU32(bytes, at + 4);
        const uint32_t length = readU32(bytes, at + 12);
        if (length > bytes.size() - at - 16) throw PluginError("bad PiPL: property data past the end");
        const std::vector<uint8_t> data(bytes.begin() + long(at + 16), bytes.begin() + long(at + 16 + length));
        if (vendor == ps::kPhotoshopSignature) {
            if (key == ps::fourCharCode("kind") && length >= 4) {
                const uint32_t kind = readU32(data, 0);
                result.kind = {char(kind >> 24), char(kind >> 16), char(kind >> 8), char(kind)};
            } else if (key == ps::fourCharCode("name")) {
                result.name = pascalString(data);
            } else if (key == ps::fourCharCode("catg")) {
                result.category = pascalString(data);
            } else if (key == ps::fourCharCode("8664")) {
                result.entryPoint = cString(data);
            } else if (key == ps::fourCharCode("vers") && length >= 4) {
                result.version = readU32(data, 0);
            } else if (key == ps::fourCharCode("enbl")) {
                result.enable = cString(data);
            } else if (key == ps::fourCharCode("hstm") && length >= 15) {
                result.terminologyId = int16_t(data[12] | data[13] << 8);
                result.scopeKey = cString(data, 14);
            }
        }
        at += 16 + ((size_t(length) + 3) & ~size_t(3));
    }
    return result;
}

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path) {
    if (path.size() >= ps::kMaxPathLength)
        throw PluginError("cannot load plug-in \"" + path + "\": its path is " + std::to_string(path.size()) +
                          " bytes long, the host interface holds at most " +
                          std::to_string(ps::kMaxPathLength - 1));
    std::unique_ptr<PluginLibrary> library(new PluginLibrary);
    library->path_ = path;
    library->module_ = PluginModule::load(path);
    const PluginModule& module = *library->module_;

    std::vector<std::pair<std::string, std::string>> keyedExports;
    std::istringstream lines(module.effectKeys());
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        library->keys_.push_back(line.substr(0, tab));
        if (tab != std::string::npos && tab + 1 < line.size())
            keyedExports.emplace_back(line.substr(tab + 1), line.substr(0, tab));
    }

    for (const int16_t id : module.piplIds()) {
        MenuCommand command;
        command.resourceId = id;
        command.pipl = *module.resource(kPiplType, id);
        if (auto aete = module.resource(kAeteType, id)) command.aete = std::move(*aete);
        const PiplProperties properties = parsePipl(command.pipl);
        command.menuName = properties.name;
        command.category = properties.category;
        command.entryPoint = properties.entryPoint;
        command.descriptorKey = properties.scopeKey;
        command.registryKey = module.commandKey(command.entryPoint).value_or("");
        command.available = false;
        for (const auto& [exportName, builtKey] : keyedExports)
            command.available |= exportName == command.entryPoint && builtKey == command.registryKey;
        command.available &= library->symbol(command.entryPoint.c_str()) != nullptr;
        library->commands_.push_back(std::move(command));
    }
    return library;
}

PluginLibrary::~PluginLibrary() = default;

void* PluginLibrary::symbol(const char* name) const { return module_ ? module_->symbol(name) : nullptr; }

bool PluginLibrary::runsEffectsByKey() const { return module_ && module_->keyedEntry(); }

std::string PluginLibrary::describe(const std::string& registryKey) const {
    return module_ ? module_->describe(registryKey) : std::string();
}

EntryCall PluginLibrary::entryFor(const std::string& registryKey) const {
    for (const MenuCommand& command : commands_) {
        if (command.registryKey != registryKey) continue;
        auto entry = reinterpret_cast<ps::PluginMainProc>(symbol(command.entryPoint.c_str()));
        if (!entry) break;
        return [entry](int16_t selector, void* record, intptr_t* data, int16_t* result) {
            entry(selector, static_cast<ps::FilterRecord*>(record), data, result);
        };
    }
    auto keyed = module_ ? module_->keyedEntry() : nullptr;
    if (!keyed) return {};
    return [keyed, registryKey](int16_t selector, void* record, intptr_t* data, int16_t* result) {
        keyed(registryKey.c_str(), selector, static_cast<ps::FilterRecord*>(record), data, result);
    };
}

}  // namespace editor
