#include <gtest/gtest.h>

#include <cmath>
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
    std::vector<Case> cases;
    auto withTitle = good;
    std::memcpy(withTitle.data() + 4, "ravo test kinds", 15);
    cases.push_back({"title in another case", withTitle});
    auto withCount = good;
    withCount[44] = 8;
    cases.push_back({"another count", withCount});
    auto withRecordSize = good;
    withRecordSize[48] = 151;
    cases.push_back({"another record size", withRecordSize});
    cases.push_back({"cut in the last record", std::vector<uint8_t>(good.begin(), good.end() - 1)});
    cases.push_back({"header only", std::vector<uint8_t>(good.begin(), good.begin() + 52)});
    cases.push_back({"shorter than the header", std::vector<uint8_t>(good.begin(), good.begin() + 51)});
    auto unterminated = good;
    std::memset(unterminated.data() + 4, 'R', 40);
    cases.push_back({"title without terminator", unterminated});
    auto hugeCount = good;
    hugeCount[44] = hugeCount[45] = hugeCount[46] = hugeCount[47] = 0xff;
    cases.push_back({"count beyond the bytes", hugeCount});
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

// Records whose key or kind differ, or whose value the parameter cannot hold, are skipped one by one.
TEST(EffectBlock, SkipsRecordsOneByOne) {
    auto source = makeKinds();
    source->parameter(2).number = 60;
    source->parameter(3).boolean = true;
    source->parameter(4).listIndex = 1;
    source->parameter(5).color = {0.5, 0.5, 0.5};
    source->parameter(6).point = {0.1, 0.1};
    const std::vector<uint8_t> good = encodeBlock(*source);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        size_t index;
        void (*damage)(uint8_t* record, double nan, double inf);
    };
    const Case cases[] = {
        {"another key", 2, [](uint8_t* r, double, double) { r[kNameOffset] = 'X'; }},
        {"another kind", 3, [](uint8_t* r, double, double) { r[0] = 2; }},
        {"key without terminator", 3, [](uint8_t* r, double, double) { std::memset(r + kNameOffset, 'k', kNameSize); }},
        {"not-a-number", 2, [](uint8_t* r, double n, double) { std::memcpy(r + kValueOffset, &n, 8); }},
        {"infinite number", 2, [](uint8_t* r, double, double i) { std::memcpy(r + kValueOffset, &i, 8); }},
        {"list index beyond the items", 4, [](uint8_t* r, double, double) { r[kValueOffset] = 3; }},
        {"huge list index", 4, [](uint8_t* r, double, double) { std::memset(r + kValueOffset, 0xff, 4); }},
        {"infinite colour", 5, [](uint8_t* r, double, double i) { std::memcpy(r + kValueOffset + 8, &i, 8); }},
        {"not-a-number point", 6, [](uint8_t* r, double n, double) { std::memcpy(r + kValueOffset, &n, 8); }},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.damage(record(bytes, c.index), nan, inf);
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

}  // namespace
