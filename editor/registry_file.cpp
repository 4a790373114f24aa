#include "editor/registry_file.h"

#include "editor/picture_file.h"
#include "editor/whole_file.h"
#include "fx/parameter_block.h"

namespace editor {

namespace {

constexpr char kMagic[8] = {'R', 'A', 'V', 'O', 'R', 'E', 'G', '1'};

void putU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(char(uint8_t(value >> (8 * i))));
}

struct Reader {
    const std::string& bytes;
    size_t at = 0;
    bool u32(uint32_t& value) {
        if (bytes.size() - at < 4 || at > bytes.size()) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) value |= uint32_t(uint8_t(bytes[at + size_t(i)])) << (8 * i);
        at += 4;
        return true;
    }
    bool take(size_t length, std::string& out) {
        if (bytes.size() - at < length) return false;
        out = bytes.substr(at, length);
        at += length;
        return true;
    }
};

}  // namespace

DescriptorRegistry loadRegistry(const std::string& path) {
    DescriptorRegistry registry;
    if (nothingAt(path)) return registry;
    const std::vector<uint8_t> contents = readWholeFile(path);
    const std::string bytes(contents.begin(), contents.end());
    if (bytes.size() < sizeof kMagic || bytes.compare(0, sizeof kMagic, kMagic, sizeof kMagic) != 0)
        throw FileError::reading(path, "not a Ravo registry file");
    Reader in{bytes, sizeof kMagic};
    uint32_t entries = 0;
    if (!in.u32(entries)) throw FileError::reading(path, "registry file is truncated");
    for (uint32_t e = 0; e < entries; ++e) {
        uint32_t keyLength = 0, items = 0;
        std::string key;
        if (!in.u32(keyLength) || !in.take(keyLength, key) || !in.u32(items))
            throw FileError::reading(path, "registry file is truncated");
        RegistryEntry entry;
        entry.persistent = true;
        for (uint32_t i = 0; i < items; ++i) {
            DescriptorItem item;
            uint32_t length = 0;
            std::string data;
            if (!in.u32(item.key) || !in.u32(item.type) || !in.u32(length) || !in.take(length, data))
                throw FileError::reading(path, "registry file is truncated");
            item.bytes.assign(data.begin(), data.end());
            entry.contents.push_back(std::move(item));
        }
        registry[key] = std::move(entry);
    }
    return registry;
}

std::vector<uint8_t> registryFileBytes(const DescriptorRegistry& registry) {
    std::string bytes(kMagic, sizeof kMagic);
    uint32_t count = 0;
    for (const auto& [key, entry] : registry) count += entry.persistent ? 1 : 0;
    putU32(bytes, count);
    for (const auto& [key, entry] : registry) {
        if (!entry.persistent) continue;
        putU32(bytes, uint32_t(key.size()));
        bytes += key;
        putU32(bytes, uint32_t(entry.contents.size()));
        for (const DescriptorItem& item : entry.contents) {
            putU32(bytes, item.key);
            putU32(bytes, item.type);
            putU32(bytes, uint32_t(item.bytes.size()));
            bytes.append(item.bytes.begin(), item.bytes.end());
        }
    }
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::vector<uint8_t> rememberedBlock(const DescriptorRegistry& registry, const std::string& descriptorKey,
                                     const std::string& effectTitle) {
    auto blockIn = [](const RegistryEntry& entry) {
        for (const DescriptorItem& item : entry.contents)
            if (item.key == parameter_block::kDescriptorKey) return item.bytes;
        return std::vector<uint8_t>();
    };
    if (!descriptorKey.empty()) {
        const auto found = registry.find(descriptorKey);
        return found == registry.end() ? std::vector<uint8_t>() : blockIn(found->second);
    }
    for (const auto& [key, entry] : registry) {
        const std::vector<uint8_t> block = blockIn(entry);
        ParameterBlock header;
        std::string error;
        if (ParameterBlock::decode(block.data(), block.size(), header, error) && header.effectName == effectTitle)
            return block;
    }
    return {};
}

}  // namespace editor
