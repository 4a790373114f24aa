// Channel ports: the document description the host hands over
// (FilterRecord::documentInfo), the per-channel records with their read and
// write ports, the pixel-memory descriptor used to move pixels through a port,
// and the PICA channel ports suite. Natural alignment throughout.
#pragma once

#include "sdk/pi_types.h"
#include "sdk/sp_basic.h"

namespace ps {

inline constexpr char kPSChannelPortsSuite[] = "Photoshop ChannelPorts Suite for Plug-ins";
inline constexpr int32 kPSChannelPortsSuiteVersion2 = 2;
inline constexpr int32 kPSChannelPortsSuiteVersion3 = 3;

inline constexpr int32 kCurrentMinVersReadImageDocDesc = 0;
inline constexpr int32 kCurrentMaxVersReadImageDocDesc = 6;
inline constexpr int32 kCurrentMinVersReadChannelDesc = 0;
inline constexpr int32 kCurrentMaxVersReadChannelDesc = 5;
inline constexpr int32 kCurrentMinVersWriteChannelDesc = 0;
inline constexpr int32 kCurrentMaxVersWriteChannelDesc = 1;
inline constexpr int32 kCurrentMinVersReadLayerDesc = 0;
inline constexpr int32 kCurrentMaxVersReadLayerDesc = 3;

// ---------------------------------------------------------------------------
// Pixel memory and scaling

// A buffer as the host reads or writes it. Steps are in BITS: rowBits =
// rowBytes * 8; colBits = 8 for one 8-bit plane, 32 for interleaved 8-bit RGBA.
struct PixelMemoryDesc {
    void* data;
    int32 rowBits;
    int32 colBits;
    int32 bitOffset;
    int32 depth;  // bits per sample: 1, 8, 16 or 32
};

// Read sourceRect scaled to the extent of destinationRect (equal extents = 1:1).
struct PSScaling {
    VRect sourceRect;
    VRect destinationRect;
};

// ---------------------------------------------------------------------------
// Channel, layer and document descriptions. "[vN]" fields are valid only when
// the record's maxVersion is at least N.

struct ReadChannelDesc {
    int32 minVersion;
    int32 maxVersion;
    ReadChannelDesc* next;
    PIChannelPort port;  // for reading
    VRect bounds;
    int32 depth;
    VPoint tileSize;
    VPoint tileOrigin;
    Boolean target;
    Boolean shown;
    int16 channelType;  // ct* constant
    void* contextInfo;
    const char* name;
    PIChannelPort writePort;  // [v1] null when the channel may not be written
    unsigned32 alphaID;       // [v2] alpha channels only
    const uint16* unicodeName;  // [v3] UTF-16, native byte order
    Boolean isEnabled;        // [v4]
    VRect limitBounds;        // [v5] bounds trimmed to transparency
};

struct WriteChannelDesc {
    int32 minVersion;
    int32 maxVersion;
    WriteChannelDesc* next;
    PIChannelPort port;
    VRect bounds;
    int32 depth;
    VPoint tileSize;
    VPoint tileOrigin;
    int16 channelType;
    int16 padding;
    void* contextInfo;
    const char* name;
    const uint16* unicodeName;  // [v1]
};

struct ReadLayerDesc {
    int32 minVersion;
    int32 maxVersion;
    ReadLayerDesc* next;
    ReadChannelDesc* compositeChannelsList;
    ReadChannelDesc* transparency;
    ReadChannelDesc* layerMask;
    unsigned32 sheetID;
    const char* name;
    Boolean isPixelBased;
    const uint16* unicodeName;  // [v1]
    Boolean isVisible;          // [v2]
    Boolean isAdjustor;
    Boolean isContentGenerator;
    Boolean isRendered;
    unsigned8 opacity;
    unsigned8 fillOpacity;
    PIType blendMode;
    ReadChannelDesc* vectorMask;
    ReadChannelDesc* smartFilterMask;  // [v3]
};

// Version 6 layout.
struct ReadImageDocumentDesc {
    int32 minVersion;
    int32 maxVersion;
    int32 imageMode;
    int32 depth;
    VRect bounds;
    Fixed hResolution;
    Fixed vResolution;
    LookUpTable redLUT;
    LookUpTable greenLUT;
    LookUpTable blueLUT;
    ReadChannelDesc* targetCompositeChannels;
    ReadChannelDesc* targetTransparency;
    ReadChannelDesc* targetLayerMask;
    ReadChannelDesc* mergedCompositeChannels;
    ReadChannelDesc* mergedTransparency;
    ReadChannelDesc* alphaChannels;
    ReadChannelDesc* selection;
    SPPlatformFileSpecification* fileSpec;   // [v1]
    ReadLayerDesc* layersDescriptor;         // [v2]
    int32 documentType;                      // [v2] dtImageDocument / dtImageScrap
    ReadImageDocumentDesc* next;             // [v2]
    void* iCCprofileData;                    // [v3]
    int32 iCCprofileSize;                    // [v3]
    int32 compositeChannelCount;             // [v3]
    int32 layerCount;                        // [v3]
    int32 alphaChannelCount;                 // [v3]
    ReadChannelDesc* targetSmartFilterMask;  // [v4]
    SPPlatformFileSpecificationW* fileSpecW; // [v5]
    XPlatFileSpec* fileSpecX;                // [v6]
};

// ---------------------------------------------------------------------------
// PSChannelPortsSuite1: one table for suite versions 2 and 3. A host that
// hands out version 2 fills only the first 15 entries (CountLevels .. Dispose);
// the last 7 exist in version 3 only. Every entry returns SPErr.

struct PSChannelPortsSuite1 {
    SPErr (*CountLevels)(PIChannelPort port, int32* count);
    SPErr (*GetDepth)(PIChannelPort port, int32 level, int32* depth);
    SPErr (*GetDataBounds)(PIChannelPort port, int32 level, VRect* bounds);
    SPErr (*GetWriteLimit)(PIChannelPort port, int32 level, VRect* writeBounds);
    SPErr (*GetTilingGrid)(PIChannelPort port, int32 level, VPoint* tileOrigin, VPoint* tileSize);
    SPErr (*GetSupportRect)(PIChannelPort port, int32 level, const VRect* bounds, int32* supportLevel,
                            VRect* supportBounds);
    SPErr (*GetDependentRect)(PIChannelPort port, int32 sourceLevel, const VRect* sourceBounds,
                              int32 dependentLevel, VRect* dependentBounds);
    SPErr (*CanRead)(PIChannelPort port, Boolean* canRead);
    SPErr (*CanWrite)(PIChannelPort port, Boolean* canWrite);
    // bounds: in = wanted, out = what was read / written.
    SPErr (*ReadPixelsFromLevel)(PIChannelPort port, int32 level, VRect* bounds,
                                 const PixelMemoryDesc* destination);
    SPErr (*WritePixelsToBaseLevel)(PIChannelPort port, VRect* bounds, const PixelMemoryDesc* source);
    SPErr (*ReadScaledPixels)(PIChannelPort port, VRect* readRect, const PSScaling* scaling,
                              const PixelMemoryDesc* destination);
    SPErr (*FindSourceForScaledRead)(PIChannelPort port, const VRect* readRect, const PSScaling* scaling,
                                     int32 dstDepth, int32* sourceLevel, VRect* sourceRect,
                                     VRect* sourceScalingBounds);
    SPErr (*New)(PIChannelPort* port, const VRect* rect, int32 depth, Boolean globalScope);
    SPErr (*Dispose)(PIChannelPort* port);
    // Version 3 only.
    SPErr (*SupportsOperation)(const char* operation, Boolean* supported);
    SPErr (*ApplyOperation)(const char* operation, PIChannelPort source, PIChannelPort destination,
                            PIChannelPort mask, void* parameters, VRect* rect);
    SPErr (*AddOperation)(const char* operation,
                          SPErr (*proc)(PIChannelPort source, PIChannelPort destination, PIChannelPort mask,
                                        void* parameters, VRect* rect, void* refCon),
                          void* refCon);
    SPErr (*RemoveOperation)(const char* operation, void** refCon);
    SPErr (*NewCopyOnWrite)(PIChannelPort* result, PIChannelPort basePort, VRect* writeLimit,
                            Boolean globalScope);
    SPErr (*Freeze)(PIChannelPort port);
    SPErr (*Restore)(PIChannelPort port, VRect* area);
};

// ---------------------------------------------------------------------------
// 64-bit layout

static_assert(offsetof(PSScaling, sourceRect) == 0);
static_assert(sizeof(PSScaling) == 32);
static_assert(offsetof(PSScaling, destinationRect) == 16);

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(offsetof(PixelMemoryDesc, data) == 0);
static_assert(offsetof(PixelMemoryDesc, rowBits) == 8);
static_assert(offsetof(PixelMemoryDesc, colBits) == 12);
static_assert(offsetof(PixelMemoryDesc, bitOffset) == 16);
static_assert(offsetof(PixelMemoryDesc, depth) == 20);
static_assert(sizeof(PixelMemoryDesc) == 24);

static_assert(offsetof(ReadChannelDesc, minVersion) == 0);
static_assert(offsetof(ReadChannelDesc, maxVersion) == 4);
static_assert(offsetof(ReadChannelDesc, next) == 8);
static_assert(offsetof(ReadChannelDesc, port) == 16);
static_assert(offsetof(ReadChannelDesc, bounds) == 24);
static_assert(offsetof(ReadChannelDesc, depth) == 40);
static_assert(offsetof(ReadChannelDesc, tileSize) == 44);
static_assert(offsetof(ReadChannelDesc, tileOrigin) == 52);
static_assert(offsetof(ReadChannelDesc, target) == 60);
static_assert(offsetof(ReadChannelDesc, shown) == 61);
static_assert(offsetof(ReadChannelDesc, channelType) == 62);
static_assert(offsetof(ReadChannelDesc, contextInfo) == 64);
static_assert(offsetof(ReadChannelDesc, name) == 72);
static_assert(offsetof(ReadChannelDesc, writePort) == 80);
static_assert(offsetof(ReadChannelDesc, alphaID) == 88);
static_assert(offsetof(ReadChannelDesc, unicodeName) == 96);
static_assert(offsetof(ReadChannelDesc, isEnabled) == 104);
static_assert(offsetof(ReadChannelDesc, limitBounds) == 108);
static_assert(sizeof(ReadChannelDesc) == 128);

static_assert(offsetof(WriteChannelDesc, minVersion) == 0);
static_assert(offsetof(WriteChannelDesc, maxVersion) == 4);
static_assert(offsetof(WriteChannelDesc, next) == 8);
static_assert(offsetof(WriteChannelDesc, port) == 16);
static_assert(offsetof(WriteChannelDesc, bounds) == 24);
static_assert(offsetof(WriteChannelDesc, depth) == 40);
static_assert(offsetof(WriteChannelDesc, tileSize) == 44);
static_assert(offsetof(WriteChannelDesc, tileOrigin) == 52);
static_assert(offsetof(WriteChannelDesc, channelType) == 60);
static_assert(offsetof(WriteChannelDesc, padding) == 62);
static_assert(offsetof(WriteChannelDesc, contextInfo) == 64);
static_assert(offsetof(WriteChannelDesc, name) == 72);
static_assert(offsetof(WriteChannelDesc, unicodeName) == 80);
static_assert(sizeof(WriteChannelDesc) == 88);

static_assert(offsetof(ReadLayerDesc, minVersion) == 0);
static_assert(offsetof(ReadLayerDesc, maxVersion) == 4);
static_assert(offsetof(ReadLayerDesc, next) == 8);
static_assert(offsetof(ReadLayerDesc, compositeChannelsList) == 16);
static_assert(offsetof(ReadLayerDesc, transparency) == 24);
static_assert(offsetof(ReadLayerDesc, layerMask) == 32);
static_assert(offsetof(ReadLayerDesc, sheetID) == 40);
static_assert(offsetof(ReadLayerDesc, name) == 48);
static_assert(offsetof(ReadLayerDesc, isPixelBased) == 56);
static_assert(offsetof(ReadLayerDesc, unicodeName) == 64);
static_assert(offsetof(ReadLayerDesc, isVisible) == 72);
static_assert(offsetof(ReadLayerDesc, isAdjustor) == 73);
static_assert(offsetof(ReadLayerDesc, isContentGenerator) == 74);
static_assert(offsetof(ReadLayerDesc, isRendered) == 75);
static_assert(offsetof(ReadLayerDesc, opacity) == 76);
static_assert(offsetof(ReadLayerDesc, fillOpacity) == 77);
static_assert(offsetof(ReadLayerDesc, blendMode) == 80);
static_assert(offsetof(ReadLayerDesc, vectorMask) == 88);
static_assert(offsetof(ReadLayerDesc, smartFilterMask) == 96);
static_assert(sizeof(ReadLayerDesc) == 104);

static_assert(offsetof(ReadImageDocumentDesc, minVersion) == 0);
static_assert(offsetof(ReadImageDocumentDesc, maxVersion) == 4);
static_assert(offsetof(ReadImageDocumentDesc, imageMode) == 8);
static_assert(offsetof(ReadImageDocumentDesc, depth) == 12);
static_assert(offsetof(ReadImageDocumentDesc, bounds) == 16);
static_assert(offsetof(ReadImageDocumentDesc, hResolution) == 32);
static_assert(offsetof(ReadImageDocumentDesc, vResolution) == 36);
static_assert(offsetof(ReadImageDocumentDesc, redLUT) == 40);
static_assert(offsetof(ReadImageDocumentDesc, greenLUT) == 296);
static_assert(offsetof(ReadImageDocumentDesc, blueLUT) == 552);
static_assert(offsetof(ReadImageDocumentDesc, targetCompositeChannels) == 808);
static_assert(offsetof(ReadImageDocumentDesc, targetTransparency) == 816);
static_assert(offsetof(ReadImageDocumentDesc, targetLayerMask) == 824);
static_assert(offsetof(ReadImageDocumentDesc, mergedCompositeChannels) == 832);
static_assert(offsetof(ReadImageDocumentDesc, mergedTransparency) == 840);
static_assert(offsetof(ReadImageDocumentDesc, alphaChannels) == 848);
static_assert(offsetof(ReadImageDocumentDesc, selection) == 856);
static_assert(offsetof(ReadImageDocumentDesc, fileSpec) == 864);
static_assert(offsetof(ReadImageDocumentDesc, layersDescriptor) == 872);
static_assert(offsetof(ReadImageDocumentDesc, documentType) == 880);
static_assert(offsetof(ReadImageDocumentDesc, next) == 888);
static_assert(offsetof(ReadImageDocumentDesc, iCCprofileData) == 896);
static_assert(offsetof(ReadImageDocumentDesc, iCCprofileSize) == 904);
static_assert(offsetof(ReadImageDocumentDesc, compositeChannelCount) == 908);
static_assert(offsetof(ReadImageDocumentDesc, layerCount) == 912);
static_assert(offsetof(ReadImageDocumentDesc, alphaChannelCount) == 916);
static_assert(offsetof(ReadImageDocumentDesc, targetSmartFilterMask) == 920);
static_assert(offsetof(ReadImageDocumentDesc, fileSpecW) == 928);
static_assert(offsetof(ReadImageDocumentDesc, fileSpecX) == 936);
static_assert(sizeof(ReadImageDocumentDesc) == 944);

static_assert(offsetof(PSChannelPortsSuite1, CountLevels) == 0);
static_assert(offsetof(PSChannelPortsSuite1, GetDepth) == 8);
static_assert(offsetof(PSChannelPortsSuite1, GetDataBounds) == 16);
static_assert(offsetof(PSChannelPortsSuite1, GetWriteLimit) == 24);
static_assert(offsetof(PSChannelPortsSuite1, GetTilingGrid) == 32);
static_assert(offsetof(PSChannelPortsSuite1, GetSupportRect) == 40);
static_assert(offsetof(PSChannelPortsSuite1, GetDependentRect) == 48);
static_assert(offsetof(PSChannelPortsSuite1, CanRead) == 56);
static_assert(offsetof(PSChannelPortsSuite1, CanWrite) == 64);
static_assert(offsetof(PSChannelPortsSuite1, ReadPixelsFromLevel) == 72);
static_assert(offsetof(PSChannelPortsSuite1, WritePixelsToBaseLevel) == 80);
static_assert(offsetof(PSChannelPortsSuite1, ReadScaledPixels) == 88);
static_assert(offsetof(PSChannelPortsSuite1, FindSourceForScaledRead) == 96);
static_assert(offsetof(PSChannelPortsSuite1, New) == 104);
static_assert(offsetof(PSChannelPortsSuite1, Dispose) == 112);
static_assert(offsetof(PSChannelPortsSuite1, SupportsOperation) == 120);
static_assert(offsetof(PSChannelPortsSuite1, ApplyOperation) == 128);
static_assert(offsetof(PSChannelPortsSuite1, AddOperation) == 136);
static_assert(offsetof(PSChannelPortsSuite1, RemoveOperation) == 144);
static_assert(offsetof(PSChannelPortsSuite1, NewCopyOnWrite) == 152);
static_assert(offsetof(PSChannelPortsSuite1, Freeze) == 160);
static_assert(offsetof(PSChannelPortsSuite1, Restore) == 168);
static_assert(sizeof(PSChannelPortsSuite1) == 176);
#endif

}  // namespace ps
