// The stand-in host reads a PiPL whether each property's stored length counts the padding
// after its data (as widely used hosts need) or not (as the SDK's tools write it).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/plugin_library.h"
#include "sdk/pi_types.h"

namespace editor {
namespace {

void put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

struct Property {
    uint32_t key;
    std::vector<uint8_t> data;
};

std::vector<uint8_t> pascal(const std::string& text) {
    std::vector<uint8_t> data(text.size() + 1, uint8_t(text.size()));
    std::copy(text.begin(), text.end(), data.begin() + 1);
    return data;
}

std::vector<uint8_t> cString(const std::string& text) {
    std::vector<uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    return data;
}

// A PiPL of these properties, data zero-padded to 4 bytes, lengths stored with or without
// the padding.
std::vector<uint8_t> pipl(const std::vector<Property>& properties, bool lengthsPadded) {
    std::vector<uint8_t> out = {1, 0, 0, 0, 0, 0};
    put32(out, uint32_t(properties.size()));
    for (const Property& property : properties) {
        const size_t padded = (property.data.size() + 3) & ~size_t(3);
        put32(out, ps::fourCharCode("8BIM"));
        put32(out, property.key);
        put32(out, 0);
        put32(out, uint32_t(lengthsPadded ? padded : property.data.size()));
        out.insert(out.end(), property.data.begin(), property.data.end());
        out.resize(out.size() + padded - property.data.size(), 0);
    }
    return out;
}

TEST(PiplReader, ReadsStoredLengthsWithOrWithoutPadding) {
    std::vector<uint8_t> terminology(12, 0);
    terminology.insert(terminology.end(), {0xA3, 0x3E});
    const std::vector<uint8_t> scope = cString("9A90E0BC-05CB-4cdc-8A0B-4D8F020F8102");
    terminology.insert(terminology.end(), scope.begin(), scope.end());
    const std::vector<Property> properties = {
        {ps::fourCharCode("kind"), {0x4D, 0x46, 0x42, 0x38}},
        {ps::fourCharCode("name"), pascal("Ravo Warm/Cool...")},   // 18 bytes
        {ps::fourCharCode("catg"), pascal("Tessarine")},           // 10 bytes
        {ps::fourCharCode("vers"), {0x00, 0x00, 0x04, 0x00}},
        {ps::fourCharCode("8664"), cString("PIMAIN_WarmCool")},    // 16 bytes
        {ps::fourCharCode("hstm"), terminology},                   // 51 bytes
        {ps::fourCharCode("enbl"), cString("in (PSHOP_ImageMode, RGBMode, RGB48Mode)")},  // 41 bytes
    };
    for (const bool padded : {false, true}) {
        SCOPED_TRACE(padded ? "lengths with padding" : "lengths without padding");
        const PiplProperties read = parsePipl(pipl(properties, padded));
        EXPECT_EQ(read.kind, "8BFM");
        EXPECT_EQ(read.name, "Ravo Warm/Cool...");
        EXPECT_EQ(read.category, "Tessarine");
        EXPECT_EQ(read.version, 0x00040000u);
        EXPECT_EQ(read.entryPoint, "PIMAIN_WarmCool");
        EXPECT_EQ(read.terminologyId, 16035);
        EXPECT_EQ(read.scopeKey, "9A90E0BC-05CB-4cdc-8A0B-4D8F020F8102");
        EXPECT_EQ(read.enable, "in (PSHOP_ImageMode, RGBMode, RGB48Mode)");
    }
}

}  // namespace
}  // namespace editor
