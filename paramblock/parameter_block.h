// The parameter block: the one flat, little-endian shape in which an effect's values leave
// the plug-in (parameters handle, descriptor registry, scripting, preset files).
//
//   header (52 bytes): version u32, effect title char[40], count u32, record size u32 (152)
//   record (152 bytes): kind u32, scripting key char[84], value bytes[64]
//
// This codec works on bytes only: the plug-in and the stand-in host both read and write
// blocks through it, and neither needs the other's types to do so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "paramblock/parameter_kind.h"
#include "paramblock/parameter_values.h"

namespace parameter_block {
constexpr uint32_t kVersion = 1;
constexpr size_t kHeaderSize = 52;
constexpr size_t kTitleOffset = 4;
constexpr size_t kTitleSize = 40;
constexpr size_t kCountOffset = 44;
constexpr size_t kRecordSizeOffset = 48;
constexpr uint32_t kRecordSize = 152;
constexpr size_t kNameOffset = 4;
constexpr size_t kNameSize = 84;
constexpr size_t kValueOffset = 88;
constexpr size_t kValueSize = 64;
// The longest file name an ImageFile record holds.
constexpr size_t kMaxFileNameLength = kValueSize - 1;
// The descriptor key 'parM' under which the block travels.
constexpr uint32_t kDescriptorKey = 0x7061724D;

constexpr uint64_t blockSize(uint64_t count) { return kHeaderSize + uint64_t(kRecordSize) * count; }
}  // namespace parameter_block

// One record of a block, decoded by kind.
struct BlockRecord {
    ParameterKind kind = ParameterKind::None;
    std::string name;
    double number = 0.0;
    bool boolean = false;
    uint32_t listIndex = 0;
    RGBValue color;
    PointValue point;
    std::string fileName;
};

struct ParameterBlock {
    uint32_t version = parameter_block::kVersion;
    std::string effectName;
    uint32_t count = 0;
    uint32_t recordSize = parameter_block::kRecordSize;
    // Decoded only when recordSize is 152; then records.size() == count.
    std::vector<BlockRecord> records;

    std::vector<uint8_t> encode() const;
    // Decodes bytes; false (with a one-line reason) when they are shorter than the
    // header or than the records the header claims. Texts end at their first NUL or at
    // the end of their field.
    static bool decode(const uint8_t* bytes, size_t size, ParameterBlock& out, std::string& error);
};
