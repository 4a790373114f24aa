// Basic types and constants of the Photoshop-compatible filter plug-in interface.
//
// Every type here has the same size on Win64 and on x86-64 Linux (fixed-width
// integers only, no `long`), so the plug-in and our stand-in host share one
// binary layout. Four-character codes are uint32 values built by fourCharCode().
#pragma once

#include <cstddef>
#include <cstdint>

namespace ps {

using std::intptr_t;
using std::size_t;

// ---------------------------------------------------------------------------
// Fixed-width integers and reals

using int8 = std::int8_t;
using int16 = std::int16_t;
using int32 = std::int32_t;
using int64 = std::int64_t;
using uint8 = std::uint8_t;
using uint16 = std::uint16_t;
using uint32 = std::uint32_t;
using uint64 = std::uint64_t;
using unsigned8 = std::uint8_t;
using unsigned16 = std::uint16_t;
using unsigned32 = std::uint32_t;
using unsigned64 = std::uint64_t;
using real32 = float;
using real64 = double;

// One byte, 1 = true. Not the same as SPBoolean.
using Boolean = unsigned char;

// 16-bit result code of the filter interface (see the result codes below).
using OSErr = int16;

// 16.16 fixed point: 1.0 = 0x00010000.
using Fixed = int32;

// Four-character codes.
using OSType = uint32;
using ResType = uint32;
using PIType = uint32;
using DescType = uint32;
using DescriptorKeyID = uint32;
using DescriptorTypeID = uint32;
using DescriptorClassID = uint32;
using DescriptorEnumID = uint32;
using DescriptorEnumTypeID = uint32;
using DescriptorUnitID = uint32;
using DescriptorEventID = uint32;

using Ptr = char*;
// Opaque: only the host's lock procedure turns a Handle into a data pointer.
using Handle = char**;

// Pascal string: byte 0 is the length, up to 255 characters follow.
using Str255 = unsigned char[256];
using ConstStr255Param = const unsigned char*;

// PICA (suite) results and booleans. SPBoolean is 4 bytes as on Windows; the
// Linux build mirrors the Windows definition so both layouts agree.
using SPErr = int32;
using SPBoolean = int32;
using ASBoolean = int32;

// ---------------------------------------------------------------------------
// Opaque host objects: the plug-in only ever holds pointers to them. A host
// may complete these structs with its own definitions.

struct OpaqueSPPlugin;
struct OpaqueBuffer;
struct OpaqueChannelPort;
struct OpaqueReadDescriptor;
struct OpaqueWriteDescriptor;
struct OpaqueActionDescriptor;
struct OpaqueActionList;
struct OpaqueActionReference;
struct OpaqueZString;

using SPPluginRef = OpaqueSPPlugin*;
using BufferID = OpaqueBuffer*;
using PIChannelPort = OpaqueChannelPort*;
using PIReadDescriptor = OpaqueReadDescriptor*;
using PIWriteDescriptor = OpaqueWriteDescriptor*;
using PIActionDescriptor = OpaqueActionDescriptor*;
using PIActionList = OpaqueActionList*;
using PIActionReference = OpaqueActionReference*;
using ASZString = OpaqueZString*;
using PIDescriptorHandle = Handle;

// ---------------------------------------------------------------------------
// Geometry and colour

// v = vertical (row), h = horizontal (column).
struct Point {
    int16 v;
    int16 h;
};

// Width = right - left, height = bottom - top.
struct Rect {
    int16 top;
    int16 left;
    int16 bottom;
    int16 right;
};

struct VPoint {
    int32 v;
    int32 h;
};

struct VRect {
    int32 top;
    int32 left;
    int32 bottom;
    int32 right;
};

struct PSRGBColor {
    uint16 red;
    uint16 green;
    uint16 blue;
};

// A colour in the document's own colour space.
using FilterColor = unsigned char[4];

using LookUpTable = unsigned8[256];

// What FilterRecord::platformData and AboutRecord::platformData point to: on
// Windows the window that should own plug-in dialogs.
struct PlatformData {
    intptr_t hwnd;
};

static_assert(sizeof(Boolean) == 1 && sizeof(OSErr) == 2 && sizeof(SPBoolean) == 4);
static_assert(sizeof(Point) == 4 && alignof(Point) == 2);
static_assert(sizeof(Rect) == 8 && alignof(Rect) == 2);
static_assert(sizeof(VPoint) == 8 && alignof(VPoint) == 4);
static_assert(sizeof(VRect) == 16 && alignof(VRect) == 4);
static_assert(sizeof(PSRGBColor) == 6 && alignof(PSRGBColor) == 2);
static_assert(sizeof(FilterColor) == 4 && sizeof(LookUpTable) == 256 && sizeof(Str255) == 256);
#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(Handle) == 8 && sizeof(PIChannelPort) == 8 && sizeof(PlatformData) == 8);
#endif

// ---------------------------------------------------------------------------
// Four-character codes

// 'abcd' = a<<24 | b<<16 | c<<8 | d. Stored as a native (little-endian) uint32,
// so the bytes of '8BIM' in memory read "MIB8".
constexpr uint32 fourCharCode(const char (&code)[5])
{
    return (uint32(uint8(code[0])) << 24) | (uint32(uint8(code[1])) << 16) |
           (uint32(uint8(code[2])) << 8) | uint32(uint8(code[3]));
}

inline constexpr OSType kPhotoshopSignature = fourCharCode("8BIM");

// ---------------------------------------------------------------------------
// Entry point selectors

inline constexpr int16 filterSelectorAbout = 0;  // parameter block is an AboutRecord
inline constexpr int16 plugInSelectorAbout = 0;
inline constexpr int16 filterSelectorParameters = 1;
inline constexpr int16 filterSelectorPrepare = 2;
inline constexpr int16 filterSelectorStart = 3;
inline constexpr int16 filterSelectorContinue = 4;
inline constexpr int16 filterSelectorFinish = 5;

// Filter interface version announced in the PiPL ('vers' = major << 16 | minor).
inline constexpr int16 latestFilterVersion = 4;
inline constexpr int16 latestFilterSubVersion = 0;

// ---------------------------------------------------------------------------
// Result codes (stored in *result; positive = plug-in already reported it)

inline constexpr OSErr noErr = 0;
inline constexpr OSErr coercedParamErr = 2;
inline constexpr OSErr readErr = -19;
inline constexpr OSErr writErr = -20;
inline constexpr OSErr openErr = -23;
inline constexpr OSErr dskFulErr = -34;
inline constexpr OSErr ioErr = -36;
inline constexpr OSErr eofErr = -39;  // also: no more keys in a descriptor
inline constexpr OSErr fnfErr = -43;
inline constexpr OSErr fLckdErr = -45;
inline constexpr OSErr vLckdErr = -46;
inline constexpr OSErr paramErr = -50;
inline constexpr OSErr memFullErr = -108;
inline constexpr OSErr nilHandleErr = -109;
inline constexpr OSErr memWZErr = -111;
inline constexpr OSErr userCanceledErr = -128;
inline constexpr OSErr errMissingParameter = -1715;

inline constexpr OSErr filterBadParameters = -30100;
inline constexpr OSErr filterBadMode = -30101;

inline constexpr OSErr errPlugInHostInsufficient = -30900;
inline constexpr OSErr errPlugInPropertyUndefined = -30901;
inline constexpr OSErr errHostDoesNotSupportColStep = -30902;
inline constexpr OSErr errInvalidSamplePoint = -30903;
inline constexpr OSErr errReportString = -30904;  // host shows *errorString
inline constexpr OSErr errHostVersionIncompatible = -30905;

// Channel ports: a PixelMemoryDesc value the host cannot serve.
inline constexpr OSErr errUnknownPort = -30910;
inline constexpr OSErr errUnsupportedRowBits = -30911;
inline constexpr OSErr errUnsupportedColBits = -30912;
inline constexpr OSErr errUnsupportedBitOffset = -30913;
inline constexpr OSErr errUnsupportedDepth = -30914;
inline constexpr OSErr errUnsupportedDepthConversion = -30915;

inline constexpr OSErr errWrongPlatformFilePath = -30916;
inline constexpr OSErr errIllegalCharInID = -30917;

// ---------------------------------------------------------------------------
// PICA suite errors (SPErr; most are four-character codes)

inline constexpr SPErr kSPNoError = 0;
inline constexpr SPErr kSPSuiteNotFoundError = SPErr(fourCharCode("S!Fd"));
inline constexpr SPErr kSPBadParameterError = SPErr(fourCharCode("Parm"));
inline constexpr SPErr kSPUnimplementedError = SPErr(fourCharCode("!IMP"));
inline constexpr SPErr kSPUserCanceledError = SPErr(fourCharCode("stop"));
inline constexpr SPErr kSPOutOfMemoryError = -108;
inline constexpr SPErr kSPSuiteAlreadyExistsError = SPErr(fourCharCode("SExi"));
inline constexpr SPErr kSPSuiteAlreadyReleasedError = SPErr(fourCharCode("SRel"));

// ---------------------------------------------------------------------------
// Image modes (FilterRecord::imageMode, PSPixelMap, ReadImageDocumentDesc)

inline constexpr int16 plugInModeBitmap = 0;
inline constexpr int16 plugInModeGrayScale = 1;
inline constexpr int16 plugInModeIndexedColor = 2;
inline constexpr int16 plugInModeRGBColor = 3;
inline constexpr int16 plugInModeCMYKColor = 4;
inline constexpr int16 plugInModeHSLColor = 5;
inline constexpr int16 plugInModeHSBColor = 6;
inline constexpr int16 plugInModeMultichannel = 7;
inline constexpr int16 plugInModeDuotone = 8;
inline constexpr int16 plugInModeLabColor = 9;
inline constexpr int16 plugInModeGray16 = 10;
inline constexpr int16 plugInModeRGB48 = 11;
inline constexpr int16 plugInModeLab48 = 12;
inline constexpr int16 plugInModeCMYK64 = 13;
inline constexpr int16 plugInModeDeepMultichannel = 14;
inline constexpr int16 plugInModeDuotone16 = 15;
inline constexpr int16 plugInModeRGB96 = 16;
inline constexpr int16 plugInModeGray32 = 17;

// ---------------------------------------------------------------------------
// Channel types (ReadChannelDesc / WriteChannelDesc::channelType)

inline constexpr int16 ctUnspecified = 0;
inline constexpr int16 ctRed = 1;
inline constexpr int16 ctGreen = 2;
inline constexpr int16 ctBlue = 3;
inline constexpr int16 ctCyan = 4;
inline constexpr int16 ctMagenta = 5;
inline constexpr int16 ctYellow = 6;
inline constexpr int16 ctBlack = 7;
inline constexpr int16 ctL = 8;
inline constexpr int16 ctA = 9;
inline constexpr int16 ctB = 10;
inline constexpr int16 ctDuotone = 11;
inline constexpr int16 ctIndex = 12;
inline constexpr int16 ctBitmap = 13;
inline constexpr int16 ctColorSelected = 14;
inline constexpr int16 ctColorProtected = 15;
inline constexpr int16 ctTransparency = 16;
inline constexpr int16 ctLayerMask = 17;
inline constexpr int16 ctInvertedLayerMask = 18;
inline constexpr int16 ctSelectionMask = 19;
inline constexpr int16 ctSpotColor = 20;
inline constexpr int16 ctVectorMask = 21;
inline constexpr int16 ctSmartFilterMask = 22;

// ReadImageDocumentDesc::documentType
inline constexpr int32 dtImageDocument = 0;
inline constexpr int32 dtImageScrap = 1;

// ---------------------------------------------------------------------------
// Filter cases (FilterRecord::filterCase; 0 = the host did not say)

inline constexpr int16 filterCaseUnsupported = -1;
inline constexpr int16 filterCaseFlatImageNoSelection = 1;
inline constexpr int16 filterCaseFlatImageWithSelection = 2;
inline constexpr int16 filterCaseFloatingSelection = 3;
inline constexpr int16 filterCaseEditableTransparencyNoSelection = 4;
inline constexpr int16 filterCaseEditableTransparencyWithSelection = 5;
inline constexpr int16 filterCaseProtectedTransparencyNoSelection = 6;
inline constexpr int16 filterCaseProtectedTransparencyWithSelection = 7;

// ---------------------------------------------------------------------------
// Padding requests (inputPadding, outputPadding, maskPadding); 0..255 = fill value

inline constexpr int16 plugInWantsEdgeReplication = -1;
inline constexpr int16 plugInDoesNotWantPadding = -2;
inline constexpr int16 plugInWantsErrorOnBoundsException = -3;  // the default

// FilterRecord::samplingSupport
inline constexpr char hostDoesNotSupportSampling = 0;
inline constexpr char hostSupportsIntegralSampling = 1;
inline constexpr char hostSupportsFractionalSampling = 2;

// FilterRecord::wantLayout
inline constexpr int16 piLayoutTraditional = 0;  // rows, columns, planes interleaved
inline constexpr int16 piLayoutRowsColumnsPlanes = 1;
inline constexpr int16 piLayoutRowsPlanesColumns = 2;
inline constexpr int16 piLayoutColumnsRowsPlanes = 3;
inline constexpr int16 piLayoutColumnsPlanesRows = 4;
inline constexpr int16 piLayoutPlanesRowsColumns = 5;
inline constexpr int16 piLayoutPlanesColumnsRows = 6;

// ---------------------------------------------------------------------------
// Scripting: descriptor type, unit, event and key codes

inline constexpr DescriptorTypeID typeInteger = fourCharCode("long");
inline constexpr DescriptorTypeID typeFloat = fourCharCode("doub");
inline constexpr DescriptorTypeID typeBoolean = fourCharCode("bool");
inline constexpr DescriptorTypeID typeChar = fourCharCode("TEXT");
inline constexpr DescriptorTypeID typeText = fourCharCode("TEXT");
inline constexpr DescriptorTypeID typeEnumerated = fourCharCode("enum");
inline constexpr DescriptorTypeID typeUnitFloat = fourCharCode("UntF");
inline constexpr DescriptorTypeID typeNull = fourCharCode("null");
inline constexpr DescriptorTypeID typeObjectSpecifier = fourCharCode("obj ");
inline constexpr DescriptorTypeID typeImageReference = fourCharCode("#ImR");

inline constexpr DescriptorUnitID unitNone = fourCharCode("#Nne");
inline constexpr DescriptorUnitID unitPercent = fourCharCode("#Prc");
inline constexpr DescriptorUnitID unitPixels = fourCharCode("#Pxl");
inline constexpr DescriptorUnitID unitAngle = fourCharCode("#Ang");
inline constexpr DescriptorUnitID unitDistance = fourCharCode("#Rlt");
inline constexpr DescriptorUnitID unitDensity = fourCharCode("#Rsl");

inline constexpr DescriptorEventID eventFilter = fourCharCode("Fltr");
inline constexpr DescriptorKeyID keyAmount = fourCharCode("Amnt");

// ---------------------------------------------------------------------------
// Play and record dialog options (PIDescriptorParameters::playInfo / recordInfo)

using PIDialogPlayOptions = int32;
using PIDialogRecordOptions = int32;

// playInfo
inline constexpr PIDialogPlayOptions plugInDialogDontDisplay = 0;  // UI only if values are missing or bad
inline constexpr PIDialogPlayOptions plugInDialogDisplay = 1;      // UI, initialised from the descriptor
inline constexpr PIDialogPlayOptions plugInDialogSilent = 2;       // never UI; fail if data is insufficient

// recordInfo
inline constexpr PIDialogRecordOptions plugInDialogOptional = 0;  // UI only if needed or asked for
inline constexpr PIDialogRecordOptions plugInDialogRequired = 1;  // UI always
inline constexpr PIDialogRecordOptions plugInDialogNone = 2;      // no UI

}  // namespace ps
