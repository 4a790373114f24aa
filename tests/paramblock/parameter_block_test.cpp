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

// One record of every kind, as an effect's block has them.
ParameterBlock everyKind() {
    ParameterBlock block;
    block.effectName = "Ravo Test Kinds";
    const ParameterKind kinds[] = {ParameterKind::Input, ParameterKind::GroupBegin, ParameterKind::Number,
                                   ParameterKind::Boolean, ParameterKind::List, ParameterKind::Color,
                                   ParameterKind::Point, ParameterKind::ImageFile, ParameterKind::GroupEnd};
    for (ParameterKind kind : kinds) {
        block.records.emplace_back();
        block.records.back().kind = kind;
        block.records.back().name = kind == ParameterKind::GroupEnd ? "" : "key";
    }
    block.records[2].number = -12.5;
    block.records[4].listIndex = 2;
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
    EXPECT_STREQ(reinterpret_cast<const char*>(record(bytes, 2) + kNameOffset), "key");
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
