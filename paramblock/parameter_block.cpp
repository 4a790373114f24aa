#include "paramblock/parameter_block.h"

#include <algorithm>
#include <cstring>

namespace {

using namespace parameter_block;

void putU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

uint32_t getU32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

void putDouble(uint8_t* at, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int i = 0; i < 8; ++i) at[i] = uint8_t(bits >> (8 * i));
}

double getDouble(const uint8_t* at) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= uint64_t(at[i]) << (8 * i);
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}

// Copies text into a fixed field, NUL-terminated within it; the rest of the field is zero.
void putText(uint8_t* field, size_t fieldSize, const std::string& text) {
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text.data(), std::min(text.size(), fieldSize - 1));
}

// The text of a fixed field up to its first NUL (or the whole field when it has none).
std::string getText(const uint8_t* field, size_t fieldSize) {
    const void* end = std::memchr(field, 0, fieldSize);
    const size_t length = end ? size_t(static_cast<const uint8_t*>(end) - field) : fieldSize;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void encodeRecord(const BlockRecord& record, uint8_t* out) {
    std::memset(out, 0, kRecordSize);
    putU32(out, uint32_t(record.kind));
    putText(out + kNameOffset, kNameSize, record.name);
    uint8_t* value = out + kValueOffset;
    switch (record.kind) {
        case ParameterKind::Number: putDouble(value, record.number); break;
        case ParameterKind::Boolean: value[0] = record.boolean ? 1 : 0; break;
        case ParameterKind::List: putU32(value, record.listIndex); break;
        case ParameterKind::Color:
            putDouble(value, record.color.red);
            putDouble(value + 8, record.color.green);
            putDouble(value + 16, record.color.blue);
            break;
        case ParameterKind::Point:
            putDouble(value, record.point.x);
            putDouble(value + 8, record.point.y);
            break;
        case ParameterKind::ImageFile: putText(value, kValueSize, record.fileName); break;
        default: break;
    }
}

BlockRecord decodeRecord(const uint8_t* in) {
    BlockRecord record;
    record.kind = ParameterKind(getU32(in));
    record.name = getText(in + kNameOffset, kNameSize);
    const uint8_t* value = in + kValueOffset;
    switch (record.kind) {
        case ParameterKind::Number: record.number = getDouble(value); break;
        case ParameterKind::Boolean: record.boolean = value[0] != 0; break;
        case ParameterKind::List: record.listIndex = getU32(value); break;
        case ParameterKind::Color:
            record.color = {getDouble(value), getDouble(value + 8), getDouble(value + 16)};
            break;
        case ParameterKind::Point: record.point = {getDouble(value), getDouble(value + 8)}; break;
        case ParameterKind::ImageFile: record.fileName = getText(value, kMaxFileNameLength); break;
        default: break;
    }
    return record;
}

}  // namespace

std::vector<uint8_t> ParameterBlock::encode() const {
    std::vector<uint8_t> bytes(blockSize(records.size()), 0);
    putU32(bytes.data(), version);
    putText(bytes.data() + kTitleOffset, kTitleSize, effectName);
    putU32(bytes.data() + kCountOffset, uint32_t(records.size()));
    putU32(bytes.data() + kRecordSizeOffset, kRecordSize);
    for (size_t i = 0; i < records.size(); ++i) encodeRecord(records[i], bytes.data() + kHeaderSize + i * kRecordSize);
    return bytes;
}

bool ParameterBlock::decode(const uint8_t* bytes, size_t size, ParameterBlock& out, std::string& error) {
    if (!bytes || size < kHeaderSize) {
        error = "parameter block shorter than its header";
        return false;
    }
    out = ParameterBlock();
    out.version = getU32(bytes);
    out.effectName = getText(bytes + kTitleOffset, kTitleSize);
    out.count = getU32(bytes + kCountOffset);
    out.recordSize = getU32(bytes + kRecordSizeOffset);
    if (out.recordSize != kRecordSize) return true;
    if (size < blockSize(out.count)) {
        error = "parameter block shorter than the records its header claims";
        return false;
    }
    out.records.reserve(out.count);
    for (uint32_t i = 0; i < out.count; ++i) out.records.push_back(decodeRecord(bytes + kHeaderSize + size_t(i) * kRecordSize));
    return true;
}
