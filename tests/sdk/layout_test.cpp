// Binary layout of the host interface as it lands in memory: a field written
// through our declarations must sit at the published byte offset, and
// four-character codes must have the published values and byte order.
#include "sdk/pi_actions.h"
#include "sdk/pi_channel_ports.h"
#include "sdk/pi_filter.h"
#include "sdk/pipl.h"
#include "sdk/sp_basic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using namespace ps;

// A nonzero value of the field's type whose lowest byte is nonzero.
template <typename T>
T marker()
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<T>(std::uintptr_t{0x5A});
    else
        return T(0x5A);
}

// Zero a record, write one field, and report where the first nonzero byte is.
template <typename Record>
std::size_t markedOffset(void (*mark)(Record&))
{
    Record record;
    std::memset(&record, 0, sizeof record);
    mark(record);
    unsigned char bytes[sizeof(Record)];
    std::memcpy(bytes, &record, sizeof record);
    for (std::size_t i = 0; i < sizeof bytes; ++i)
        if (bytes[i] != 0) return i;
    return sizeof bytes;
}

template <typename Record>
struct FieldCase {
    const char* field;
    std::size_t offset;  // published 64-bit offset
    void (*mark)(Record&);
};

#define FIELD(Record, field, offset) \
    FieldCase<Record>{#field, offset, [](Record& r) { r.field = marker<std::remove_cvref_t<decltype(r.field)>>(); }}

template <typename Record>
void expectOffsets(const std::vector<FieldCase<Record>>& cases)
{
    for (const auto& c : cases) EXPECT_EQ(markedOffset(c.mark), c.offset) << c.field;
}

TEST(SdkLayout, FilterRecordFieldsSitAtPublishedOffsets)
{
    if (sizeof(void*) != 8) GTEST_SKIP() << "published offsets are for 64-bit";
    expectOffsets<FilterRecord>({
        FIELD(FilterRecord, abortProc, 4),
        FIELD(FilterRecord, parameters, 20),
        FIELD(FilterRecord, imageSize.v, 28),
        FIELD(FilterRecord, filterRect.top, 34),
        FIELD(FilterRecord, inRect.top, 64),
        FIELD(FilterRecord, inLoPlane, 72),
        FIELD(FilterRecord, outRect.top, 76),
        FIELD(FilterRecord, inData, 88),
        FIELD(FilterRecord, inRowBytes, 96),
        FIELD(FilterRecord, outData, 100),
        FIELD(FilterRecord, outRowBytes, 108),
        FIELD(FilterRecord, imageMode, 156),
        FIELD(FilterRecord, displayPixels, 248),
        FIELD(FilterRecord, handleProcs, 256),
        FIELD(FilterRecord, outTileHeight, 416),
        FIELD(FilterRecord, descriptorParameters, 432),
        FIELD(FilterRecord, errorString, 440),
        FIELD(FilterRecord, documentInfo, 456),
        FIELD(FilterRecord, sSPBasic, 464),
        FIELD(FilterRecord, plugInRef, 472),
        FIELD(FilterRecord, depth, 480),
        FIELD(FilterRecord, bigDocumentData, 504),
        FIELD(FilterRecord, maxSpace64, 552),
        FIELD(FilterRecord, allowOverrangeColors, 560),
        FIELD(FilterRecord, reserved[0], 561),
    });
    EXPECT_EQ(sizeof(FilterRecord), 608u);
}

TEST(SdkLayout, DocumentAndScriptingFieldsSitAtPublishedOffsets)
{
    if (sizeof(void*) != 8) GTEST_SKIP() << "published offsets are for 64-bit";
    expectOffsets<BigDocumentStruct>({
        FIELD(BigDocumentStruct, filterRect32.top, 12),
        FIELD(BigDocumentStruct, outRect32.top, 44),
    });
    expectOffsets<PIDescriptorParameters>({
        FIELD(PIDescriptorParameters, playInfo, 2),
        FIELD(PIDescriptorParameters, descriptor, 8),
        FIELD(PIDescriptorParameters, readDescriptorProcs, 24),
    });
    expectOffsets<ReadImageDocumentDesc>({
        FIELD(ReadImageDocumentDesc, depth, 12),
        FIELD(ReadImageDocumentDesc, targetCompositeChannels, 808),
        FIELD(ReadImageDocumentDesc, alphaChannels, 848),
    });
    expectOffsets<ReadChannelDesc>({
        FIELD(ReadChannelDesc, port, 16),
        FIELD(ReadChannelDesc, channelType, 62),
        FIELD(ReadChannelDesc, writePort, 80),
    });
    expectOffsets<PixelMemoryDesc>({
        FIELD(PixelMemoryDesc, rowBits, 8),
        FIELD(PixelMemoryDesc, depth, 20),
    });
    expectOffsets<PSPixelMap>({
        FIELD(PSPixelMap, baseAddr, 40),
    });
}

TEST(SdkLayout, CallbackTableEntriesSitAtPublishedOffsets)
{
    if (sizeof(void*) != 8) GTEST_SKIP() << "published offsets are for 64-bit";
    expectOffsets<HandleProcs>({
        FIELD(HandleProcs, newProc, 8),
        FIELD(HandleProcs, lockProc, 40),
        FIELD(HandleProcs, unlockProc, 48),
    });
    expectOffsets<SPBasicSuite>({
        FIELD(SPBasicSuite, AcquireSuite, 0),
        FIELD(SPBasicSuite, ReleaseSuite, 8),
    });
    expectOffsets<PSBufferSuite1>({
        FIELD(PSBufferSuite1, New, 0),
        FIELD(PSBufferSuite1, Dispose, 8),
    });
    expectOffsets<PSChannelPortsSuite1>({
        FIELD(PSChannelPortsSuite1, ReadPixelsFromLevel, 72),
        FIELD(PSChannelPortsSuite1, WritePixelsToBaseLevel, 80),
        FIELD(PSChannelPortsSuite1, ReadScaledPixels, 88),
    });
    expectOffsets<SPPluginsSuite4>({
        FIELD(SPPluginsSuite4, GetPluginFileSpecification, 64),
    });
    expectOffsets<PSActionDescriptorProcs>({
        FIELD(PSActionDescriptorProcs, PutData, 344),
        FIELD(PSActionDescriptorProcs, GetDataLength, 352),
        FIELD(PSActionDescriptorProcs, GetData, 360),
    });
    EXPECT_EQ(sizeof(PSActionDescriptorProcs), 46 * sizeof(void*));
}

#undef FIELD

TEST(SdkFourCharCode, PublishedValues)
{
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

TEST(SdkFourCharCode, StoredReversedInMemory)
{
    const OSType code = fourCharCode("8BIM");
    char bytes[4];
    std::memcpy(bytes, &code, sizeof bytes);
    EXPECT_EQ(std::string(bytes, 4), "MIB8");
}

// The first property of the published PiPL byte example: vendor, key, id,
// length and data, all native little-endian.
TEST(SdkPipl, KindPropertyBytesMatchPublishedExample)
{
    const uint32 header[5] = {PIAdobeVendorID, PIKindProperty, 0, 4, PIFilterKind};
    const unsigned char expected[20] = {0x4D, 0x49, 0x42, 0x38, 0x64, 0x6E, 0x69, 0x6B, 0x00, 0x00,
                                        0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x4D, 0x46, 0x42, 0x38};
    static_assert(sizeof header == sizeof expected);
    EXPECT_EQ(std::memcmp(header, expected, sizeof expected), 0);
}

TEST(SdkPipl, ModeFlagBitFollowsMemberOrder)
{
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
