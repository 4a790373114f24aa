// The parameter block's bytes, written and read without any effect behind them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "paramblock/parameter_block.h"

namespace {

using namespace parameter_block;

uint32_t u32At(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

const uint8_t* record(const std::vector<uint8_t>& bytes, size_t i) { return bytes.data() + kHeaderSize + i * kRecordSize; }

BlockRecord named(ParameterKind kind, const char* name) {
    BlockRecord r;
    r.kind = kind;
    r.name = name;
    return r;
}

// One record of every kind, with values that differ from the zero a decoder starts from.
ParameterBlock everyKind() {
    ParameterBlock block;
    block.effectName = "Ravo Test Kinds";
    block.records = {named(ParameterKind::Input, "background"), named(ParameterKind::GroupBegin, "group"),
                     named(ParameterKind::Number, "amount"),    named(ParameterKind::Boolean, "invert"),
                     named(ParameterKind::List, "view"),        named(ParameterKind::Color, "tint"),
                     named(ParameterKind::Point, "center"),     named(ParameterKind::ImageFile, "texture"),
                     BlockRecord{ParameterKind::GroupEnd}};
    block.count = uint32_t(block.records.size());
    block.records[2].number = -12.5;
    block.records[3].boolean = true;
    block.records[4].listIndex = 2;
    block.records[5].color = {0.1, 0.2, 0.3};
    block.records[6].point = {-0.25, 0.4};
    block.records[7].fileName = "gravel.png";
    return block;
}

TEST(ParameterBlockCodec, SizeHeaderAndRecords) {
    const std::vector<uint8_t> bytes = everyKind().encode();
    ASSERT_EQ(bytes.size(), 52u + 152u * 9u);
    EXPECT_EQ(blockSize(27), 4156u);
    EXPECT_EQ(u32At(bytes, 0), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 4), "Ravo Test Kinds");
    EXPECT_EQ(u32At(bytes, 44), 9u);
    EXPECT_EQ(u32At(bytes, 48), 152u);
    // The title field is zero after its terminator.
    for (size_t i = 4 + std::strlen("Ravo Test Kinds"); i < 44; ++i) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(u32At(bytes, kHeaderSize + 2 * kRecordSize), 2u);
    EXPECT_STREQ(reinterpret_cast<const char*>(record(bytes, 2) + kNameOffset), "amount");
    double amount;
    std::memcpy(&amount, record(bytes, 2) + kValueOffset, 8);
    EXPECT_EQ(amount, -12.5);
    EXPECT_EQ(u32At(bytes, kHeaderSize + 4 * kRecordSize + kValueOffset), 2u);
}

TEST(ParameterBlockCodec, GroupEndAndInputRecordsAreZeroBeyondKind) {
    const std::vector<uint8_t> bytes = everyKind().encode();
    const uint8_t* groupEnd = record(bytes, 8);
    EXPECT_EQ(u32At(bytes, kHeaderSize + 8 * kRecordSize), 8u);
    for (size_t i = 4; i < kRecordSize; ++i) EXPECT_EQ(groupEnd[i], 0) << i;
    const uint8_t* input = record(bytes, 0);
    for (size_t i = kValueOffset; i < kRecordSize; ++i) EXPECT_EQ(input[i], 0) << i;
}

TEST(ParameterBlockCodec, FileNamesKeepSixtyThreeCharacters) {
    ParameterBlock block = everyKind();
    block.records[7].fileName = std::string(100, 'a');
    const std::vector<uint8_t> bytes = block.encode();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record(bytes, 7) + kValueOffset)), std::string(63, 'a'));
    ParameterBlock decoded;
    std::string error;
    ASSERT_TRUE(ParameterBlock::decode(bytes.data(), bytes.size(), decoded, error));
    EXPECT_EQ(decoded.records[7].fileName, std::string(63, 'a'));
}

TEST(ParameterBlockCodec, RoundTripCarriesEveryKind) {
    const ParameterBlock block = everyKind();
    const std::vector<uint8_t> bytes = block.encode();
    ParameterBlock decoded;
    std::string error;
    ASSERT_TRUE(ParameterBlock::decode(bytes.data(), bytes.size(), decoded, error)) << error;
    EXPECT_EQ(decoded.version, 1u);
    EXPECT_EQ(decoded.effectName, "Ravo Test Kinds");
    ASSERT_EQ(decoded.records.size(), 9u);
    EXPECT_EQ(decoded.records[4].name, "view");
    EXPECT_EQ(decoded.records[8].kind, ParameterKind::GroupEnd);
    EXPECT_EQ(decoded.records[2].number, -12.5);
    EXPECT_TRUE(decoded.records[3].boolean);
    EXPECT_EQ(decoded.records[4].listIndex, 2u);
    EXPECT_EQ(decoded.records[5].color.blue, 0.3);
    EXPECT_EQ(decoded.records[6].point.y, 0.4);
    EXPECT_EQ(decoded.records[7].fileName, "gravel.png");
    EXPECT_EQ(decoded.encode(), bytes);
}

TEST(ParameterBlockCodec, DecodeRefusesShortBlocks) {
    const std::vector<uint8_t> bytes = everyKind().encode();
    ParameterBlock block;
    std::string error;
    EXPECT_FALSE(ParameterBlock::decode(bytes.data(), bytes.size() - 10, block, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ParameterBlock::decode(bytes.data(), 20, block, error));
    EXPECT_FALSE(ParameterBlock::decode(nullptr, 0, block, error));
    // Another record size: the header is read, the records are not.
    std::vector<uint8_t> otherSize = bytes;
    otherSize[48] = 151;
    ASSERT_TRUE(ParameterBlock::decode(otherSize.data(), otherSize.size(), block, error));
    EXPECT_EQ(block.recordSize, 151u);
    EXPECT_TRUE(block.records.empty());
}

}  // namespace
