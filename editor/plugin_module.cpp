// The plug-in file on Linux: a shared library opened with dlopen, whose PiPL and
// AETE bytes and effect descriptions come from its Ravo* exports.
#include "editor/plugin_module.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <vector>

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

// The processor this program runs on, as ELF headers name it (EM_NONE: not checked).
#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int kMachine = EM_386;
#elif defined(__arm__)
constexpr int kMachine = EM_ARM;
#else
constexpr int kMachine = EM_NONE;
#endif

using ElfHeader = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);

bool readAt(int descriptor, void* buffer, size_t size, uint64_t offset) {
    auto* bytes = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t got = ::pread(descriptor, bytes, size, off_t(offset));
        if (got <= 0) return false;
        bytes += got;
        size -= size_t(got);
        offset += uint64_t(got);
    }
    return true;
}

// The end of a table or segment in the file, or the largest value when it does not fit.
uint64_t endOf(uint64_t offset, uint64_t count, uint64_t size) {
    const uint64_t most = ~uint64_t(0);
    if (size != 0 && count > most / size) return most;
    return offset > most - count * size ? most : offset + count * size;
}

// Why the system loader must not be given this file, or nothing when it may. The loader
// maps the file's segments straight into memory, so a file cut short crashes the program
// at the first touch of a missing page instead of failing; a library for another system
// fails with a message that does not say so plainly.
std::string libraryFileProblem(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return {};  // the loader names the problem
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{descriptor};
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return "it is not a file";
    const uint64_t size = uint64_t(status.st_size);

    ElfHeader header{};
    const size_t headerBytes = size_t(std::min<uint64_t>(size, sizeof header));
    if (headerBytes < SELFMAG || !readAt(descriptor, &header, headerBytes, 0) ||
        !std::equal(header.e_ident, header.e_ident + SELFMAG, ELFMAG))
        return "it is not a shared library (no ELF header)";
    const std::string truncated = "the file is damaged or truncated (it has " + std::to_string(size) + " bytes, ";
    if (headerBytes < sizeof header) return truncated + "too short for its ELF header)";
    const int wantedClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    if (header.e_ident[EI_CLASS] != wantedClass)
        return std::string("it is a ") + (header.e_ident[EI_CLASS] == ELFCLASS32 ? "32" : "64") +
               "-bit library; this program loads " + (wantedClass == ELFCLASS32 ? "32" : "64") + "-bit ones";
    const int wantedOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;
    if (header.e_ident[EI_DATA] != wantedOrder) return "it is a library for another kind of processor";
    if (header.e_type != ET_DYN) return "it is not a shared library";
    if (kMachine != EM_NONE && header.e_machine != kMachine)
        return "it is a library for another kind of processor (ELF machine " + std::to_string(header.e_machine) + ")";
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader))
        return "the file is damaged (its program header table is not one this system reads)";

    // Everything the loader reads must lie inside the file: the program headers, the
    // segments they describe and the section headers.
    uint64_t needed = endOf(header.e_phoff, header.e_phnum, sizeof(ProgramHeader));
    if (header.e_shoff != 0) needed = std::max(needed, endOf(header.e_shoff, header.e_shnum, header.e_shentsize));
    if (needed <= size) {
        std::vector<ProgramHeader> segments(header.e_phnum);
        if (!readAt(descriptor, segments.data(), segments.size() * sizeof(ProgramHeader), header.e_phoff))
            return truncated + "its program headers cannot be read)";
        for (const ProgramHeader& segment : segments)
            if (segment.p_filesz > 0) needed = std::max(needed, endOf(segment.p_offset, 1, segment.p_filesz));
    }
    if (needed > size) return truncated + "its contents need " + std::to_string(needed) + ")";
    return {};
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path) {
    // A name without a folder is a file in the current folder, not one the loader searches
    // for, so that the file checked is the file loaded.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    if (const std::string problem = libraryFileProblem(file); !problem.empty())
        throw PluginError("cannot load plug-in \"" + path + "\": " + problem);
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
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
