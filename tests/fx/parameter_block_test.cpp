#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fx/effect_registry.h"
#include "fx/parameter_block.h"
#include "tests/fx/test_effect.h"

namespace {

using namespace parameter_block;
using EffectPtr = std::unique_ptr<Effect, EffectDeleter>;

EffectPtr makeKinds() { return EffectPtr(effectClassOf<KindsEffect>().create()); }

uint8_t* record(std::vector<uint8_t>& bytes, size_t i) { return bytes.data() + kHeaderSize + i * kRecordSize; }

TEST(EffectBlock, FileNamesKeepSixtyThreeCharacters) {
    auto effect = makeKinds();
    const std::string longName(100, 'a');
    effect->setImageFilePath(7, longName.c_str());
    std::vector<uint8_t> bytes = encodeBlock(*effect);
    const char* stored = reinterpret_cast<const char*>(record(bytes, 7) + kValueOffset);
    EXPECT_EQ(std::string(stored), std::string(63, 'a'));
    auto loaded = makeKinds();
    ASSERT_TRUE(readBlock(*loaded, bytes.data(), bytes.size()));
    EXPECT_EQ(std::string(loaded->imageFilePath(7)), std::string(63, 'a'));
}

TEST(EffectBlock, RoundTripCarriesEveryKind) {
    auto effect = makeKinds();
    effect->parameter(2).number = -12.5;
    effect->parameter(3).boolean = true;
    effect->parameter(4).listIndex = 2;
    effect->parameter(5).color = {0.1, 0.2, 0.3};
    effect->parameter(6).point = {-0.25, 0.4};
    effect->setImageFilePath(7, "gravel.png");
    const std::vector<uint8_t> bytes = encodeBlock(*effect);
    auto loaded = makeKinds();
    ASSERT_TRUE(readBlock(*loaded, bytes.data(), bytes.size()));
    EXPECT_EQ(loaded->numberValue(2), -12.5);
    EXPECT_TRUE(loaded->booleanValue(3));
    EXPECT_EQ(loaded->listValue(4), 2u);
    EXPECT_EQ(loaded->colorValue(5).blue, 0.3);
    EXPECT_EQ(loaded->pointValue(6).y, 0.4);
    EXPECT_STREQ(loaded->imageFilePath(7), "gravel.png");
    EXPECT_EQ(encodeBlock(*loaded), bytes);
}

// Blocks that are not for this effect, or shorter than they claim, leave every value alone.
TEST(EffectBlock, RejectsBlocksNotForThisEffect) {
    auto source = makeKinds();
    source->parameter(2).number = 77;
    const std::vector<uint8_t> good = encodeBlock(*source);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    // The good block with these bytes written at `at`.
    auto changed = [&](size_t at, const std::string& bytes) {
        std::vector<uint8_t> block = good;
        std::copy(bytes.begin(), bytes.end(), block.begin() + std::ptrdiff_t(at));
        return block;
    };
    const Case cases[] = {
        {"title in another case", changed(4, "ravo test kinds")},
        {"another count", changed(44, "\x08")},
        {"another record size", changed(48, "\x97")},
        {"cut in the last record", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 52)},
        {"shorter than the header", std::vector<uint8_t>(good.begin(), good.begin() + 51)},
        {"title without terminator", changed(4, std::string(40, 'R'))},
        {"count beyond the bytes", changed(44, "\xff\xff\xff\xff")},
    };
    for (const Case& c : cases) {
        auto effect = makeKinds();
        EXPECT_FALSE(readBlock(*effect, c.bytes.data(), c.bytes.size())) << c.what;
        EXPECT_EQ(effect->numberValue(2), 25.0) << c.what;
    }
    auto effect = makeKinds();
    EXPECT_FALSE(readBlock(*effect, nullptr, 0));
}

TEST(EffectBlock, VersionIsNotExaminedByTheReader) {
    auto source = makeKinds();
    source->parameter(2).number = 60;
    std::vector<uint8_t> bytes = encodeBlock(*source);
    bytes[0] = 2;
    auto effect = makeKinds();
    EXPECT_TRUE(readBlock(*effect, bytes.data(), bytes.size()));
    EXPECT_EQ(effect->numberValue(2), 60.0);
}

// Records whose key or kind differ, or whose list index is beyond the items, are skipped one by one.
TEST(EffectBlock, SkipsRecordsOneByOne) {
    auto source = makeKinds();
    source->parameter(2).number = 60;
    source->parameter(3).boolean = true;
    source->parameter(4).listIndex = 1;
    source->parameter(5).color = {0.5, 0.5, 0.5};
    source->parameter(6).point = {0.1, 0.1};
    const std::vector<uint8_t> good = encodeBlock(*source);
    struct Case {
        const char* what;
        size_t index;
        void (*damage)(uint8_t* record);
    };
    const Case cases[] = {
        {"another key", 2, [](uint8_t* r) { r[kNameOffset] = 'X'; }},
        {"another kind", 3, [](uint8_t* r) { r[0] = 2; }},
        {"key without terminator", 3, [](uint8_t* r) { std::memset(r + kNameOffset, 'k', kNameSize); }},
        {"list index beyond the items", 4, [](uint8_t* r) { r[kValueOffset] = 3; }},
        {"huge list index", 4, [](uint8_t* r) { std::memset(r + kValueOffset, 0xff, 4); }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.damage(record(bytes, c.index));
        auto effect = makeKinds();
        const std::vector<uint8_t> before = encodeBlock(*effect);
        ASSERT_TRUE(readBlock(*effect, bytes.data(), bytes.size())) << c.what;
        const std::vector<uint8_t> after = encodeBlock(*effect);
        for (size_t i = 1; i < 8; ++i) {
            const uint8_t* expected = i == c.index ? before.data() : good.data();
            EXPECT_EQ(std::memcmp(after.data() + kHeaderSize + i * kRecordSize,
                                  expected + kHeaderSize + i * kRecordSize, kRecordSize),
                      0)
                << c.what << ", record " << i;
        }
    }
}

// A stored number reaches the effect held to its record's range; one that is no number at all
// leaves the current value. A whole number's range takes in the whole numbers its slider
// offers (trunc(minimum) to trunc(maximum)) and keeps a stored fraction, as the dialog does.
TEST(EffectBlock, HoldsStoredNumbersToTheirRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double stored;
        double minimum, maximum;
        bool whole;
        double expected;
    };
    constexpr double kCurrent = 7.0;
    const Case cases[] = {
        {1e300, -50, 50, false, 50},      {-1e300, -50, 50, false, -50},  {51, -50, 50, false, 50},
        {-51, -50, 50, false, -50},       {50, -50, 50, false, 50},       {-50, -50, 50, false, -50},
        {20.5, -50, 50, false, 20.5},     {nan, -50, 50, false, kCurrent}, {inf, -50, 50, false, kCurrent},
        {-inf, -50, 50, false, kCurrent}, {1e300, -50, 50, true, 50},     {12.9, -50, 50, true, 12.9},
        {0, 0.5, 10, true, 0},            {-1, 0.5, 10, true, 0},         {0, 0.5, 10, false, 0.5},
        {10.7, 0.5, 10.7, true, 10.7},    {0, -10.5, -0.5, true, 0},      {0, -10.5, -0.5, false, -0.5},
    };
    for (const Case& c : cases) {
        auto source = makeKinds();
        source->parameter(2).number = c.stored;
        const std::vector<uint8_t> bytes = encodeBlock(*source);
        auto effect = makeKinds();
        Parameter& amount = effect->parameter(2);
        amount.minimum = c.minimum;
        amount.maximum = c.maximum;
        amount.flags = c.whole ? uint16_t(amount.flags | ParameterFlag::Whole) : uint16_t(amount.flags & ~ParameterFlag::Whole);
        amount.number = kCurrent;
        ASSERT_TRUE(readBlock(*effect, bytes.data(), bytes.size()));
        EXPECT_EQ(effect->numberValue(2), c.expected)
            << c.stored << " into " << c.minimum << ".." << c.maximum << (c.whole ? " whole" : "");
    }
}

// Colour components are fractions, held to 0..1; a point has no range (corners and positions
// may lie outside the picture). A non-finite component or coordinate keeps the current value.
TEST(EffectBlock, HoldsStoredColoursAndPoints) {
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct Case {
        RGBValue stored, expectedColor;
        PointValue point, expectedPoint;
    };
    const Case cases[] = {
        {{1.5, -0.25, 1e300}, {1.0, 0.0, 1.0}, {3.0, -1e300}, {3.0, -1e300}},
        {{nan, 0.3, 0.3}, {0.25, 0.5, 0.75}, {nan, 0.0}, {0.1, -0.1}},
        {{0.3, 0.3, -inf}, {0.25, 0.5, 0.75}, {0.0, inf}, {0.1, -0.1}},
    };
    for (const Case& c : cases) {
        auto source = makeKinds();
        source->parameter(5).color = c.stored;
        source->parameter(6).point = c.point;
        const std::vector<uint8_t> bytes = encodeBlock(*source);
        auto effect = makeKinds(), expected = makeKinds();
        effect->parameter(5).color = {0.25, 0.5, 0.75};
        effect->parameter(6).point = {0.1, -0.1};
        ASSERT_TRUE(readBlock(*effect, bytes.data(), bytes.size()));
        expected->parameter(5).color = c.expectedColor;
        expected->parameter(6).point = c.expectedPoint;
        EXPECT_EQ(encodeBlock(*effect), encodeBlock(*expected)) << c.stored.red << " " << c.point.x;
    }
}

}  // namespace
