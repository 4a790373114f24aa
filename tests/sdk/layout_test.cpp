// Binary layout of the host interface beyond what the sdk headers assert: the order of the
// geometry records' coordinates, the published values and byte order of four-character
// codes, and the PiPL bytes.
#include "sdk/pi_actions.h"
#include "sdk/pi_channel_ports.h"
#include "sdk/pi_filter.h"
#include "sdk/pipl.h"
#include "sdk/sp_basic.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace ps;

// The sdk headers pin the size of every record and the offset of every field the plug-in
// uses; what they leave open is the order of the coordinates inside the small geometry
// records those fields hold (the published order: v before h; top, left, bottom, right).
static_assert(offsetof(Point, v) == 0 && offsetof(Point, h) == 2);
static_assert(offsetof(VPoint, v) == 0 && offsetof(VPoint, h) == 4);
static_assert(offsetof(Rect, top) == 0 && offsetof(Rect, left) == 2 && offsetof(Rect, bottom) == 4 &&
              offsetof(Rect, right) == 6);
static_assert(offsetof(VRect, top) == 0 && offsetof(VRect, left) == 4 && offsetof(VRect, bottom) == 8 &&
              offsetof(VRect, right) == 12);

TEST(SdkFourCharCode, PublishedValues) {
    struct Case {
        uint32 code;
        uint32 expected;
    };
    const Case cases[] = {
        {fourCharCode("8BIM"), 0x3842494D},
        {kPhotoshopSignature, 0x3842494D},
        {PIFilterKind, 0x3842464D},
        {PIKindProperty, 0x6B696E64},
        {PIWin64X86CodeProperty, 0x38363634},
        {PIWin32X86CodeProperty, 0x77783836},
        {PIVersionProperty, 0x76657273},
        {PICategoryProperty, 0x63617467},
        {PINameProperty, 0x6E616D65},
        {PIImageModesProperty, 0x6D6F6465},
        {PIEnableInfoProperty, 0x656E626C},
        {PIFilterCaseInfoProperty, 0x66696369},
        {PITerminologyProperty, 0x6873746D},
        {PIAnyHost, 0x20202020},
        {uint32(kSPSuiteNotFoundError), 0x53214664},
        {uint32(kSPBadParameterError), 0x5061726D},
        {uint32(kSPUnimplementedError), 0x21494D50},
        {uint32(kSPUserCanceledError), 0x73746F70},
        {uint32(PIFilterInterfaceVersion), 0x00040000},
    };
    for (const auto& c : cases) EXPECT_EQ(c.code, c.expected) << std::hex << c.expected;
}

// The first property of the published PiPL byte example: vendor, key, id,
// length and data, all native little-endian (so a code's bytes lie reversed in memory).
TEST(SdkPipl, KindPropertyBytesMatchPublishedExample) {
    const uint32 header[5] = {PIAdobeVendorID, PIKindProperty, 0, 4, PIFilterKind};
    const unsigned char expected[20] = {0x4D, 0x49, 0x42, 0x38, 0x64, 0x6E, 0x69, 0x6B, 0x00, 0x00,
                                        0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x4D, 0x46, 0x42, 0x38};
    static_assert(sizeof header == sizeof expected);
    EXPECT_EQ(std::memcmp(header, expected, sizeof expected), 0);
}

TEST(SdkPipl, ModeFlagBitFollowsMemberOrder) {
    struct Case {
        int16 mode;
        int byte;
        uint8 mask;
    };
    const Case cases[] = {
        {plugInModeBitmap, 0, 0x80},      {plugInModeRGBColor, 0, 0x10}, {plugInModeMultichannel, 0, 0x01},
        {plugInModeDuotone, 1, 0x80},     {plugInModeLabColor, 1, 0x40}, {plugInModeRGB48, 1, 0x10},
        {plugInModeRGB96, 2, 0x80},       {plugInModeGray32, 2, 0x40},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(piplModeByte(c.mode), c.byte) << "mode " << c.mode;
        EXPECT_EQ(piplModeMask(c.mode), c.mask) << "mode " << c.mode;
    }
}

}  // namespace
