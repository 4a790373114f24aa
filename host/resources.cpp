#include "host/resources.h"

#include <cstring>
#include <string>

#include "sdk/pi_types.h"

namespace {

class ByteWriter {
public:
    void u8(uint8_t value) { bytes.push_back(value); }
    void u16(uint16_t value) {
        u8(uint8_t(value));
        u8(uint8_t(value >> 8));
    }
    void u32(uint32_t value) {
        u16(uint16_t(value));
        u16(uint16_t(value >> 16));
    }
    void text(const char* value) { bytes.insert(bytes.end(), value, value + std::strlen(value)); }
    void cString(const char* value) {
        text(value);
        u8(0);
    }
    void pascal(const std::string& value) {
        u8(uint8_t(value.size()));
        text(value.c_str());
    }
    void raw(std::initializer_list<uint8_t> values) { bytes.insert(bytes.end(), values); }
    void padTo4() {
        while (bytes.size() % 4) u8(0);
    }
    std::vector<uint8_t> bytes;
};

constexpr uint32_t kVendor = ps::fourCharCode("8BIM");
constexpr uint32_t kScriptingId = ps::fourCharCode("qelF");

// One property: vendor, key, id 0, the length, then the data zero-padded to a multiple of
// 4 bytes. The stored length includes the padding: widely used hosts step from one property
// to the next by the stored length without rounding it up, and strings and numbers read the
// same with the zeros after them.
void property(ByteWriter& out, const char (&key)[5], const ByteWriter& data) {
    const size_t padded = (data.bytes.size() + 3) & ~size_t(3);
    out.u32(kVendor);
    out.u32(ps::fourCharCode(key));
    out.u32(0);
    out.u32(uint32_t(padded));
    out.bytes.insert(out.bytes.end(), data.bytes.begin(), data.bytes.end());
    out.bytes.resize(out.bytes.size() + padded - data.bytes.size(), 0);
}

std::string menuName(const EntryPoint& entry) { return std::string("Ravo ") + entry.shortName + "..."; }

}  // namespace

std::vector<uint8_t> piplResource(const EntryPoint& entry) {
    ByteWriter out;
    out.u16(1);
    out.u32(0);
    out.u32(9);
    ByteWriter kind, name, category, version, code, mode, terminology, enable, filterCases;
    kind.u32(ps::fourCharCode("8BFM"));
    name.pascal(menuName(entry));
    category.pascal("Tessarine");
    version.raw({0x00, 0x00, 0x04, 0x00});
    code.cString(entry.exportName);
    mode.raw({0x10, 0x00, 0x00, 0x00});
    terminology.u32(0);
    terminology.u32(kScriptingId);
    terminology.u32(kScriptingId);
    terminology.u16(uint16_t(entry.resourceId));
    terminology.cString(entry.descriptorKey);
    enable.cString("in (PSHOP_ImageMode, RGBMode, RGB48Mode)");
    for (int i = 0; i < 7; ++i) filterCases.raw({0x04, 0x04, 0x04, 0x00});
    property(out, "kind", kind);
    property(out, "name", name);
    property(out, "catg", category);
    property(out, "vers", version);
    // 64-bit hosts look for the entry point under the x86-64 key.
    property(out, "8664", code);
    property(out, "mode", mode);
    property(out, "hstm", terminology);
    property(out, "enbl", enable);
    property(out, "fici", filterCases);
    return out.bytes;
}

std::vector<uint8_t> aeteResource(const EntryPoint& entry) {
    ByteWriter out;
    out.u16(1);                 // resource version
    out.raw({1, 0});            // format version 1.0
    out.u16(0);                 // language
    out.u16(0);                 // script
    out.u16(1);                 // one suite
    out.pascal("QEL");
    out.pascal(entry.shortName);
    out.u32(kScriptingId);
    out.u16(1);                 // suite level
    out.u16(1);                 // suite version
    out.u16(1);                 // one event
    out.pascal(std::string("QEL ") + entry.shortName);
    out.pascal("");
    out.u32(kScriptingId);      // event class
    out.u32(kScriptingId);      // event id
    out.u32(ps::fourCharCode("null"));  // no reply
    out.pascal("");
    out.u16(0);
    out.u32(ps::fourCharCode("#ImR"));  // direct parameter: the image
    out.pascal("");
    out.u16(0xB000);
    out.u16(1);                 // one parameter
    out.pascal("parameters");
    out.u32(ps::fourCharCode("parM"));
    out.u32(ps::fourCharCode("TEXT"));
    out.pascal("");
    out.u16(0);
    out.u16(0);                 // classes
    out.u16(0);                 // comparison operators
    out.u16(0);                 // enumerations
    return out.bytes;
}
