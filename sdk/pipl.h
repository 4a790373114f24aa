// Constants of the two resources a host reads from a filter module: the PiPL
// (plug-in property list: kind, entry point, menu name, modes, ...) and the
// AETE (scripting terminology). Both are stored little-endian; a four-character
// code is written as its native uint32, so '8BIM' appears as the bytes "MIB8".
#pragma once

#include "sdk/pi_types.h"

namespace ps {

// ---------------------------------------------------------------------------
// Resource identity

// Resource type names as stored in the module. Windows upper-cases string
// type names before searching, so they are written upper-case rather than
// trusting the resource compiler to do it (not every one is known to).
inline constexpr char kPiPLResourceType[] = "PIPL";
inline constexpr char kAeteResourceType[] = "AETE";

// The same types as four-character codes.
inline constexpr ResType kPIPropertyList = fourCharCode("PiPL");
inline constexpr ResType kPITerminologyResource = fourCharCode("aete");

// Id of the first PiPL / AETE resource; further entries count up from here.
inline constexpr int16 kFirstPiPLResourceId = 16000;

// ---------------------------------------------------------------------------
// PiPL layout: a 10-byte header (uint16 reserved, int32 version, int32 count),
// then properties of a 16-byte header (vendor, key, id, length) followed by the
// data, zero-padded to a multiple of 4.

inline constexpr uint16 kPiPLReservedWord = 1;
inline constexpr int32 kCurrentPiPLVersion = 0;
inline constexpr int kPiPLHeaderSize = 10;
inline constexpr int kPIPropertyHeaderSize = 16;

inline constexpr OSType PIAdobeVendorID = fourCharCode("8BIM");

// ---------------------------------------------------------------------------
// Property keys

inline constexpr PIType PIKindProperty = fourCharCode("kind");            // uint32 kind code
inline constexpr PIType PIWin64X86CodeProperty = fourCharCode("8664");    // C string: entry point, x64
inline constexpr PIType PIWin32X86CodeProperty = fourCharCode("wx86");    // C string: entry point, x86
inline constexpr PIType PIWin64ARMCodeProperty = fourCharCode("wa64");    // C string: entry point, ARM64
inline constexpr PIType PIVersionProperty = fourCharCode("vers");         // int32 major << 16 | minor
inline constexpr PIType PICategoryProperty = fourCharCode("catg");        // Pascal string: submenu
inline constexpr PIType PINameProperty = fourCharCode("name");            // Pascal string: menu item
inline constexpr PIType PIImageModesProperty = fourCharCode("mode");      // mode flag bits
inline constexpr PIType PIEnableInfoProperty = fourCharCode("enbl");      // C string: enable expression
inline constexpr PIType PIFilterCaseInfoProperty = fourCharCode("fici");  // 7 x 4-byte records
inline constexpr PIType PITerminologyProperty = fourCharCode("hstm");     // scripting terminology
inline constexpr PIType PIPriorityProperty = fourCharCode("prty");        // int32 load order
inline constexpr PIType PIRequiredHostProperty = fourCharCode("host");    // uint32 host signature
inline constexpr PIType PIComponentProperty = fourCharCode("cmpt");       // int32 version + C string id
inline constexpr PIType PIMaxSize32Property = fourCharCode("ms32");       // int32 height, int32 width
inline constexpr PIType PIMinSize32Property = fourCharCode("mn32");       // int32 height, int32 width
inline constexpr PIType PIFilterLayerSupportProperty = fourCharCode("flly");  // flag byte
inline constexpr PIType PIMonitorScalingAwareProperty = fourCharCode("pmsa"); // int32 1
inline constexpr PIType PINoAboutBoxProperty = fourCharCode("nabo");      // int32 1

// 'kind' value of a filter module.
inline constexpr OSType PIFilterKind = fourCharCode("8BFM");

// 'host' value meaning any host.
inline constexpr OSType PIAnyHost = fourCharCode("    ");

// 'vers' value of the filter interface we implement.
inline constexpr int32 PIFilterInterfaceVersion = (int32(latestFilterVersion) << 16) | latestFilterSubVersion;

// 'flly': top bit of the first byte = supports smart filters (filter layers).
inline constexpr uint8 PIFilterLayerSupportFlag = 0x80;

// ---------------------------------------------------------------------------
// 'mode' flag bits: image mode n (plugInMode* constant) is bit 0x80 >> (n & 7)
// of byte n >> 3. The template covers the first 10 modes in 2 bytes; bits of
// the deep modes (Gray16 and later) are unconfirmed, so those modes are also
// enabled through the 'enbl' expression.

constexpr int piplModeByte(int16 mode)
{
    return mode >> 3;
}

constexpr uint8 piplModeMask(int16 mode)
{
    return uint8(0x80 >> (mode & 7));
}

// ---------------------------------------------------------------------------
// 'fici': seven 4-byte records, record i for filter case i + 1.
// Bytes: inputHandling, outputHandling, flags1, flags2 (0).

inline constexpr int kFilterCaseInfoCount = 7;
inline constexpr int kFilterCaseInfoSize = 4;

// Input and output handling values.
inline constexpr uint8 filterDataHandlingCantFilter = 0;
inline constexpr uint8 filterDataHandlingNone = 1;
inline constexpr uint8 filterDataHandlingBlackMat = 2;
inline constexpr uint8 filterDataHandlingGrayMat = 3;
inline constexpr uint8 filterDataHandlingWhiteMat = 4;
inline constexpr uint8 filterDataHandlingDefringe = 5;         // input only
inline constexpr uint8 filterDataHandlingBlackZap = 6;         // input only
inline constexpr uint8 filterDataHandlingGrayZap = 7;          // input only
inline constexpr uint8 filterDataHandlingWhiteZap = 8;         // input only
inline constexpr uint8 filterDataHandlingFillMask = 9;         // output, editable transparency only
inline constexpr uint8 filterDataHandlingBackgroundZap = 10;   // input only
inline constexpr uint8 filterDataHandlingForegroundZap = 11;   // input only

// flags1 bits.
inline constexpr uint8 PIFilterDontCopyToDestination = 0x01;
inline constexpr uint8 PIFilterWorksWithBlankData = 0x02;
inline constexpr uint8 PIFilterFiltersLayerMask = 0x04;
inline constexpr uint8 PIFilterWritesOutsideSelection = 0x08;

// ---------------------------------------------------------------------------
// 'hstm': int32 version, OSType classID, OSType eventID, int16 terminologyID
// (the AETE resource id), then a NUL-terminated scope string; padded to 4.

inline constexpr int32 kPITerminologyVersion = 0;
inline constexpr int kPITerminologyMinSize = 15;

// ---------------------------------------------------------------------------
// AETE (Windows form: leading uint16 1, little-endian numbers, Pascal
// strings with no word alignment after them).

inline constexpr uint16 kAeteReservedWord = 1;
inline constexpr uint8 kAeteMajorVersion = 1;
inline constexpr uint8 kAeteMinorVersion = 0;
inline constexpr int16 kAeteLanguageEnglish = 0;
inline constexpr int16 kAeteScriptRoman = 0;
inline constexpr int16 kAeteSuiteLevel = 1;
inline constexpr int16 kAeteSuiteVersion = 1;

// Parameter flag word.
inline constexpr uint16 kAeteFlagOptional = 0x8000;      // clear = required
inline constexpr uint16 kAeteFlagList = 0x4000;          // clear = single item
inline constexpr uint16 kAeteFlagEnumerated = 0x2000;
inline constexpr uint16 kAeteFlagChangesState = 0x1000;  // direct parameter only
inline constexpr uint16 kAeteFlagsRequiredSingle = 0x0000;
inline constexpr uint16 kAeteFlagsOptionalSingle = kAeteFlagOptional;
inline constexpr uint16 kAeteFlagsRequiredEnumerated = kAeteFlagEnumerated;
// Direct parameter of a filter event: optional, single, enumerated, changes state.
inline constexpr uint16 kAeteFlagsDirectParameter =
    kAeteFlagOptional | kAeteFlagEnumerated | kAeteFlagChangesState;
// Reply flags ('null' reply).
inline constexpr uint16 kAeteFlagsReply = 0x0000;

static_assert(kAeteFlagsDirectParameter == 0xB000);

}  // namespace ps
