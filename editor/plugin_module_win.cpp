// The plug-in file on Windows: a DLL loaded with LoadLibrary whose only exports
// are the entry points. Its PIPL and AETE resources are found with the Windows
// resource functions, as a real host finds them; the effect keys, the command
// table and the parameter descriptions are RCDATA text written at build time by
// the same code the Linux plug-in's exports run:
//   RAVO_KEYS      registry key, tab, export of its menu command; one line per effect
//   RAVO_COMMANDS  export, tab, registry key; one line per menu command, built or not
//   RAVO_FX_<KEY>  the parameter description of the effect with that key (upper case)
#include "editor/plugin_module.h"

#include <algorithm>
#include <sstream>

#include "editor/plugin_library.h"
#include "editor/windows_error.h"

// Last, so that its macros cannot rename anything declared above.
#include "editor/windows_api.h"

namespace editor {

namespace {

HMODULE moduleOf(void* handle) { return static_cast<HMODULE>(handle); }

// A four-character resource type code ('PIPL') as the type name Windows stores ("PIPL").
std::string typeName(uint32_t type) {
    return {char(type >> 24), char(type >> 16), char(type >> 8), char(type)};
}

// The bytes of a resource; none when the module has no such resource.
std::optional<std::vector<uint8_t>> resourceBytes(HMODULE module, const char* name, const char* type) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return std::nullopt;
    const auto* first = static_cast<const uint8_t*>(bytes);
    return std::vector<uint8_t>(first, first + SizeofResource(module, found));
}

std::string textResource(HMODULE module, const std::string& name) {
    const auto bytes = resourceBytes(module, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// Hosts built with the Windows compilers call plug-ins with the x87 control word at
// the x64 default, 0x27F (53-bit precision), while the mingw-w64 start-up code leaves
// it at 0x37F (64-bit). The maths library linked into the plug-in computes some
// functions on the x87 unit, and exp and pow round differently under the two, so this
// host sets the word as a real host has it.
void useWindowsFpuControlWord() {
#if defined(__x86_64__)
    const unsigned short word = 0x27F;
    __asm__ volatile("fldcw %0" : : "m"(word));
#endif
}

BOOL CALLBACK collectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int16_t>*>(ids)->push_back(int16_t(reinterpret_cast<uintptr_t>(name)));
    return TRUE;
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path) {
    useWindowsFpuControlWord();
    // No error boxes from the system while loading: the command line reports the failure.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD error = GetLastError();
    SetThreadErrorMode(oldMode, nullptr);
    if (!module) throw PluginError("cannot load plug-in \"" + path + "\": " + windowsProblem(error));
    std::unique_ptr<PluginModule> plugin(new PluginModule(module));
    if (!resourceBytes(module, "RAVO_KEYS", MAKEINTRESOURCEA(10)) ||
        !resourceBytes(module, "RAVO_COMMANDS", MAKEINTRESOURCEA(10)))
        throw PluginError("\"" + path + "\" is not a Ravo plug-in: it carries no PiPL data");
    return plugin;
}

PluginModule::~PluginModule() { FreeLibrary(moduleOf(handle_)); }

void* PluginModule::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(moduleOf(handle_), name));
}

std::vector<int16_t> PluginModule::piplIds() const {
    std::vector<int16_t> ids;
    EnumResourceNamesA(moduleOf(handle_), "PIPL", collectId, reinterpret_cast<LONG_PTR>(&ids));
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::optional<std::vector<uint8_t>> PluginModule::resource(uint32_t type, int16_t id) const {
    return resourceBytes(moduleOf(handle_), MAKEINTRESOURCEA(uint16_t(id)), typeName(type).c_str());
}

std::string PluginModule::effectKeys() const { return textResource(moduleOf(handle_), "RAVO_KEYS"); }

std::optional<std::string> PluginModule::commandKey(const std::string& exportName) const {
    std::istringstream lines(textResource(moduleOf(handle_), "RAVO_COMMANDS"));
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos && line.compare(0, tab, exportName) == 0 && tab == exportName.size())
            return line.substr(tab + 1);
    }
    return std::nullopt;
}

std::string PluginModule::describe(const std::string& registryKey) const {
    // Resource names are kept in upper case; FindResource upper-cases the name it is given.
    if (registryKey.empty() || registryKey.find_first_not_of(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789") != std::string::npos)
        return "";
    return textResource(moduleOf(handle_), "RAVO_FX_" + registryKey);
}

PluginModule::KeyedEntryProc PluginModule::keyedEntry() const { return nullptr; }

}  // namespace editor
