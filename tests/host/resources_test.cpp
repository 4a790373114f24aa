#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/entry_table.h"
#include "host/resources.h"
#include "sdk/pi_types.h"

namespace {

struct Bytes {
    std::vector<uint8_t> v;
    Bytes& hex(std::initializer_list<uint8_t> bytes) {
        for (uint8_t byte : bytes) v.push_back(byte);
        return *this;
    }
    Bytes& text(const char* s) {
        for (size_t i = 0; s[i]; ++i) v.push_back(uint8_t(s[i]));
        return *this;
    }
};

const EntryPoint& warmCool() { return *findEntryByKey("WarmCool"); }

TEST(Resources, PiplOfWarmCoolMatchesHandWorkedBytes) {
    Bytes b;
    b.hex({0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00});
    // '8BIM' 'kind' id 0 length 4 '8BFM'
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x64, 0x6E, 0x69, 0x6B, 0, 0, 0, 0, 4, 0, 0, 0, 0x4D, 0x46, 0x42, 0x38});
    // 'name': Pascal "Ravo Warm/Cool..." (17 characters), 18 bytes and two of padding, length 20
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x65, 0x6D, 0x61, 0x6E, 0, 0, 0, 0, 20, 0, 0, 0, 17}).text("Ravo Warm/Cool...").hex({0, 0});
    // 'catg': Pascal "Tessarine", 10 bytes and two of padding, length 12
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x67, 0x74, 0x61, 0x63, 0, 0, 0, 0, 12, 0, 0, 0, 9}).text("Tessarine").hex({0, 0});
    // 'vers' 4.0
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x73, 0x72, 0x65, 0x76, 0, 0, 0, 0, 4, 0, 0, 0, 0x00, 0x00, 0x04, 0x00});
    // '8664': "PIMAIN_WarmCool" and its terminator, 16 bytes
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x34, 0x36, 0x36, 0x38, 0, 0, 0, 0, 16, 0, 0, 0}).text("PIMAIN_WarmCool").hex({0});
    // 'mode': RGB and RGB48
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x65, 0x64, 0x6F, 0x6D, 0, 0, 0, 0, 4, 0, 0, 0, 0x10, 0, 0, 0});
    // 'hstm': version 0, 'qelF', 'qelF', id 16035 (0x3EA3), the GUID and its terminator: 51 bytes + 1 pad, length 52
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x6D, 0x74, 0x73, 0x68, 0, 0, 0, 0, 52, 0, 0, 0});
    b.hex({0, 0, 0, 0, 0x46, 0x6C, 0x65, 0x71, 0x46, 0x6C, 0x65, 0x71, 0xA3, 0x3E});
    b.text("9A90E0BC-05CB-4cdc-8A0B-4D8F020F8102").hex({0, 0});
    // 'enbl': 40 characters and the terminator, 41 bytes + 3 pad, length 44
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x6C, 0x62, 0x6E, 0x65, 0, 0, 0, 0, 44, 0, 0, 0});
    b.text("in (PSHOP_ImageMode, RGBMode, RGB48Mode)").hex({0, 0, 0, 0});
    // 'fici': seven cases of 04 04 04 00
    b.hex({0x4D, 0x49, 0x42, 0x38, 0x69, 0x63, 0x69, 0x66, 0, 0, 0, 0, 28, 0, 0, 0});
    for (int i = 0; i < 7; ++i) b.hex({4, 4, 4, 0});

    EXPECT_EQ(piplResource(warmCool()), b.v);
}

// Hosts that step from one property to the next by the stored length alone, without
// rounding it up, must find the nine properties of every PiPL in order and end exactly at
// its end; every stored length is a whole multiple of 4.
TEST(Resources, SteppingByStoredLengthsWalksEveryPipl) {
    auto u32 = [](const std::vector<uint8_t>& bytes, size_t at) {
        return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
               uint32_t(bytes[at + 3]) << 24;
    };
    const char keys[9][5] = {"kind", "name", "catg", "vers", "8664", "mode", "hstm", "enbl", "fici"};
    for (size_t i = 0; i < kEntryCount; ++i) {
        const std::vector<uint8_t> pipl = piplResource(kEntryPoints[i]);
        SCOPED_TRACE(kEntryPoints[i].exportName);
        ASSERT_GE(pipl.size(), 10u);
        ASSERT_EQ(u32(pipl, 6), 9u);
        size_t at = 10;
        for (const auto& key : keys) {
            SCOPED_TRACE(key);
            ASSERT_LE(at + 16, pipl.size());
            EXPECT_EQ(u32(pipl, at), ps::fourCharCode("8BIM"));
            EXPECT_EQ(u32(pipl, at + 4), ps::fourCharCode(key));
            const uint32_t length = u32(pipl, at + 12);
            EXPECT_EQ(length % 4, 0u) << length;
            ASSERT_LE(length, pipl.size() - at - 16);
            at += 16 + length;
        }
        EXPECT_EQ(at, pipl.size());
    }
}

TEST(Resources, AeteOfWarmCoolMatchesHandWorkedBytes) {
    Bytes b;
    b.hex({1, 0, 1, 0, 0, 0, 0, 0, 1, 0});            // version 1, format 1.0, language 0, script 0, one suite
    b.hex({3}).text("QEL").hex({9}).text("Warm/Cool");  // suite name and description
    b.hex({0x46, 0x6C, 0x65, 0x71, 1, 0, 1, 0, 1, 0});  // 'qelF', level 1, version 1, one event
    b.hex({13}).text("QEL Warm/Cool").hex({0});         // event name, empty description
    b.hex({0x46, 0x6C, 0x65, 0x71, 0x46, 0x6C, 0x65, 0x71});  // class and id 'qelF'
    b.hex({0x6C, 0x6C, 0x75, 0x6E, 0, 0, 0});          // reply 'null', empty description, flags 0
    b.hex({0x52, 0x6D, 0x49, 0x23, 0, 0x00, 0xB0});    // direct parameter '#ImR', flags 00 b0
    b.hex({1, 0, 10}).text("parameters");              // one parameter
    b.hex({0x4D, 0x72, 0x61, 0x70, 0x54, 0x58, 0x45, 0x54, 0, 0, 0});  // 'parM' 'TEXT', no description, flags 0
    b.hex({0, 0, 0, 0, 0, 0});                         // no classes, operators or enumerations
    EXPECT_EQ(aeteResource(warmCool()), b.v);
}

TEST(Resources, EveryEntryHasItsOwnIdsNamesAndExports) {
    for (size_t i = 0; i < kEntryCount; ++i) {
        const EntryPoint& entry = kEntryPoints[i];
        EXPECT_EQ(entry.resourceId, 16000 + int(i));
        EXPECT_EQ(std::string(entry.exportName).rfind("PIMAIN_", 0), 0u);
        const std::vector<uint8_t> pipl = piplResource(entry);
        const std::string asText(pipl.begin(), pipl.end());
        EXPECT_NE(asText.find(std::string("Ravo ") + entry.shortName + "..."), std::string::npos);
        EXPECT_NE(asText.find(entry.descriptorKey), std::string::npos);
    }
    EXPECT_TRUE(kEntryPoints[0].showAbout);
    EXPECT_STREQ(findEntryByKey("InfraRed")->exportName, "PIMAIN_Infrared");
    EXPECT_STREQ(findEntryByKey("Light")->shortName, "Light!");
}

}  // namespace
