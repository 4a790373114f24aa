#include "host/preset_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "fx/effect_registry.h"
#include "fx/parameter_block.h"
#include "host/host_resources.h"
#include "host/persistence.h"
#include "host/replaced_file.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

uint32_t littleEndian32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

// The size of the largest block any registered effect writes. A preset file beyond it
// cannot be one of ours, so it is refused before the host is asked for memory to hold it.
uint64_t largestBlockSize() {
    static const uint64_t largest = [] {
        const EffectRegistry& registry = EffectRegistry::instance();
        uint32_t most = 0;
        for (uint32_t i = 0; i < registry.count(); ++i) {
            const std::unique_ptr<Effect, EffectDeleter> effect(registry.create(registry.keyAt(i)));
            if (effect) most = std::max(most, effect->parameterCount);
        }
        return parameter_block::blockSize(most);
    }();
    return largest;
}

// The length of an open file, or -1 when it cannot be told.
long fileLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return length;
}

}  // namespace

std::string presetFileName(const std::string& chosen) {
    const size_t dot = chosen.rfind('.');
    if (dot != std::string::npos) {
        const std::string extension = chosen.substr(dot + 1);
        if (extension == "qel" || extension == "QEL") return chosen;
    }
    return chosen + ".qel";
}

bool savePreset(PluginCall& call, const std::string& path) {
    const ps::HandleProcs* procs = call.handleProcs();
    OwnedHandle block(procs, writeBlock(call));
    if (!block.get()) return false;
    const HandleLock lock(procs, block.get());
    if (!lock) return false;
    return writeReplacingFile(path, lock.data(), lock.size());
}

bool loadPreset(PluginCall& call, const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    const long length = fileLength(file.get());
    if (length < 0) return false;
    if (length == 0) return true;
    if (uint64_t(length) > largestBlockSize()) return false;

    const ps::HandleProcs* procs = call.handleProcs();
    if (!procs || !procs->newProc) return false;
    const OwnedHandle handle(procs, procs->newProc(ps::int32(length)));
    if (!handle.get()) return false;
    const HandleLock lock(procs, handle.get());
    if (!lock || lock.size() < size_t(length)) return false;
    if (std::fread(lock.data(), 1, size_t(length), file.get()) != size_t(length)) return false;

    const auto* bytes = reinterpret_cast<const uint8_t*>(lock.data());
    if (size_t(length) < parameter_block::kHeaderSize) return false;
    const uint32_t count = littleEndian32(bytes + parameter_block::kCountOffset);
    if (uint64_t(length) < parameter_block::blockSize(count)) return false;
    // A block of another format version is passed over without complaint.
    if (littleEndian32(bytes) != parameter_block::kVersion) return true;
    return readBlock(*call.effect(), bytes, size_t(length));
}
