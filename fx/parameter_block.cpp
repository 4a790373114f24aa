#include "fx/parameter_block.h"

#include "fx/effect.h"
#include "paramblock/held_values.h"

ParameterBlock blockOf(const Effect& effect) {
    ParameterBlock block;
    block.effectName = effect.title();
    block.count = effect.parameterCount;
    block.records.resize(effect.parameterCount);
    for (uint32_t i = 0; i < effect.parameterCount; ++i) {
        const Parameter& p = effect.parameter(i);
        BlockRecord& r = block.records[i];
        r.kind = p.kind;
        if (p.name) r.name = p.name;
        r.number = p.number;
        r.boolean = p.boolean;
        r.listIndex = p.listIndex;
        r.color = p.color;
        r.point = p.point;
        r.fileName = p.path.substr(0, parameter_block::kMaxFileNameLength);
    }
    return block;
}

std::vector<uint8_t> encodeBlock(const Effect& effect) { return blockOf(effect).encode(); }

bool readBlock(Effect& effect, const uint8_t* bytes, size_t size) {
    ParameterBlock block;
    std::string error;
    if (!ParameterBlock::decode(bytes, size, block, error)) return false;
    if (block.effectName != effect.title() || block.count != effect.parameterCount ||
        block.recordSize != parameter_block::kRecordSize)
        return false;

    for (uint32_t i = 0; i < effect.parameterCount; ++i) {
        const BlockRecord& r = block.records[i];
        Parameter& p = effect.parameter(i);
        if (r.kind != p.kind || !p.name || r.name != p.name) continue;
        switch (p.kind) {
            case ParameterKind::Number: p.number = heldNumber(r.number, p.number, p.numberRange()); break;
            case ParameterKind::Boolean: p.boolean = r.boolean; break;
            case ParameterKind::List: p.listIndex = heldListIndex(r.listIndex, p.listIndex, p.itemCount); break;
            case ParameterKind::Color: p.color = heldColor(r.color, p.color); break;
            case ParameterKind::Point: p.point = heldPoint(r.point, p.point); break;
            case ParameterKind::ImageFile: effect.setImageFilePath(i, r.fileName.c_str()); break;
            default: break;
        }
    }
    return true;
}
