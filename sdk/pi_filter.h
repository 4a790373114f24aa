// The filter record and everything it points to: direct callbacks, the
// callback tables (handles, buffers, resources, properties, channel ports,
// image services), the pixel map of the display procedure, colour services,
// the 32-bit coordinate block, the about record and the entry point type.
//
// FilterRecord and BigDocumentStruct are 4-byte packed on every platform: that
// is the published Win64 layout, and applying it on Linux too makes our
// stand-in host byte-compatible with the Windows build. All other structs here
// are naturally aligned.
#pragma once

#include "sdk/pi_actions.h"
#include "sdk/pi_channel_ports.h"
#include "sdk/pi_types.h"
#include "sdk/sp_basic.h"

namespace ps {

struct PSPixelMap;
struct ColorServicesInfo;

// ---------------------------------------------------------------------------
// Direct callbacks held in the filter record

using TestAbortProc = Boolean (*)();  // TRUE = the user asked to stop
using ProgressProc = void (*)(int32 done, int32 total);
using HostProc = void (*)(int16 selector, intptr_t* data);
using ProcessEventProc = void (*)(void* event);
// Draws source unscaled with srcRect's top-left at (dstRow, dstCol);
// platformContext is an HDC on Windows.
using DisplayPixelsProc = OSErr (*)(const PSPixelMap* source, const VRect* srcRect, int32 dstRow,
                                    int32 dstCol, void* platformContext);
using AdvanceStateProc = OSErr (*)();
using ColorServicesProc = OSErr (*)(ColorServicesInfo* info);
// signature is normally '8BIM'; the caller disposes a returned complex handle.
using GetPropertyProc = OSErr (*)(PIType signature, PIType key, int32 index, intptr_t* simpleProperty,
                                  Handle* complexProperty);
using SetPropertyProc = OSErr (*)(PIType signature, PIType key, int32 index, intptr_t simpleProperty,
                                  Handle complexProperty);
using SpaceProc = int32 (*)();

// ---------------------------------------------------------------------------
// Callback tables. Each starts with an int16 version and an int16 count of the
// functions the host filled in; check the count before calling a late entry.

// Names under which a host may also hand out these tables through AcquireSuite
// (the returned table then includes its version/count header).
inline constexpr char kPIBufferSuite[] = "Photoshop Buffer Procs for Plug-ins";
inline constexpr int32 kPIBufferSuiteVersion = 2;
inline constexpr char kPIResourceSuite[] = "Photoshop Resource Suite for Plug-ins";
inline constexpr int32 kPIResourceSuiteVersion = 3;
inline constexpr char kPIPropertySuite[] = "Photoshop Property Suite for Plug-ins";
inline constexpr int32 kPIPropertySuiteVersion = 1;
inline constexpr char kPIImageServicesSuite[] = "Photoshop Image Services Suite for Plug-ins";
inline constexpr int32 kPIImageServicesSuiteVersion = 1;
inline constexpr char kPIChannelPortsSuite[] = "Photoshop Channel Ports Suite for Plug-ins";
inline constexpr int32 kPIChannelPortsSuiteVersion = 1;

inline constexpr int16 kCurrentHandleProcsVersion = 1;
inline constexpr int16 kCurrentHandleProcsCount = 8;
inline constexpr int16 kCurrentBufferProcsVersion = 2;
inline constexpr int16 kCurrentBufferProcsCount = 8;
inline constexpr int16 kCurrentResourceProcsVersion = 3;
inline constexpr int16 kCurrentResourceProcsCount = 4;
inline constexpr int16 kCurrentPropertyProcsVersion = 1;
inline constexpr int16 kCurrentPropertyProcsCount = 2;
inline constexpr int16 kCurrentChannelPortProcsVersion = 1;
inline constexpr int16 kCurrentChannelPortProcsCount = 3;
inline constexpr int16 kCurrentImageServicesProcsVersion = 1;
inline constexpr int16 kCurrentImageServicesProcsCount = 6;

// FilterRecord::handleProcs. Obtain a Handle's data only through lockProc.
struct HandleProcs {
    int16 handleProcsVersion;
    int16 numHandleProcs;
    Handle (*newProc)(int32 size);
    void (*disposeProc)(Handle h);
    int32 (*getSizeProc)(Handle h);
    OSErr (*setSizeProc)(Handle h, int32 newSize);
    Ptr (*lockProc)(Handle h, Boolean moveHigh);
    void (*unlockProc)(Handle h);
    void (*recoverSpaceProc)(int32 size);
    void (*disposeRegularHandleProc)(Handle h);
};

// FilterRecord::bufferProcs. Some hosts fill only the first five entries.
struct BufferProcs {
    int16 bufferProcsVersion;
    int16 numBufferProcs;
    OSErr (*allocateProc)(int32 size, BufferID* bufferID);
    Ptr (*lockProc)(BufferID bufferID, Boolean moveHigh);
    void (*unlockProc)(BufferID bufferID);
    void (*freeProc)(BufferID bufferID);
    int32 (*spaceProc)();
    OSErr (*reserveProc)(int32 size);
    OSErr (*allocateProc64)(int64 size, BufferID* bufferID);
    int64 (*spaceProc64)();
};

// FilterRecord::resourceProcs (pseudo-resources kept with the document).
struct ResourceProcs {
    int16 resourceProcsVersion;
    int16 numResourceProcs;
    int16 (*countProc)(ResType type);
    Handle (*getProc)(ResType type, int16 index);
    void (*deleteProc)(ResType type, int16 index);
    OSErr (*addProc)(ResType type, Handle data);
};

// FilterRecord::propertyProcs.
struct PropertyProcs {
    int16 propertyProcsVersion;
    int16 numPropertyProcs;
    GetPropertyProc getPropertyProc;
    SetPropertyProc setPropertyProc;
};

// FilterRecord::channelPortProcs (not the PICA channel ports suite).
struct ChannelPortProcs {
    int16 channelPortProcsVersion;
    int16 numChannelPortProcs;
    OSErr (*readPixelsProc)(PIChannelPort port, const PSScaling* scaling, const VRect* writeRect,
                            const PixelMemoryDesc* destination, VRect* wroteRect);
    OSErr (*writeBasePixelsProc)(PIChannelPort port, const VRect* writeRect, const PixelMemoryDesc* source);
    OSErr (*readPortForWritePortProc)(PIChannelPort* readPort, PIChannelPort writePort);
};

// Image planes of the interpolation procedures. Neither the plug-in nor our
// host uses image services, so their layouts are left undeclared.
struct PSImagePlane;
struct PSImageMultiPlane;
struct PSImageMultiPlane32;

// FilterRecord::imageServicesProcs.
struct ImageServicesProcs {
    int16 imageServicesProcsVersion;
    int16 numImageServicesProcs;
    OSErr (*interpolate1DProc)(PSImagePlane* source, PSImagePlane* destination, Rect* area, Fixed* coords,
                               int16 method);
    OSErr (*interpolate2DProc)(PSImagePlane* source, PSImagePlane* destination, Rect* area, Fixed* coords,
                               int16 method);
    OSErr (*interpolate1DMultiProc)(PSImageMultiPlane* source, PSImageMultiPlane* destination, Rect* area,
                                    Fixed* coords, int16 method);
    OSErr (*interpolate2DMultiProc)(PSImageMultiPlane* source, PSImageMultiPlane* destination, Rect* area,
                                    Fixed* coords, int16 method);
    OSErr (*interpolate1DMulti32Proc)(PSImageMultiPlane32* source, PSImageMultiPlane32* destination,
                                      VRect* area, int64* coords, int16 method);
    OSErr (*interpolate2DMulti32Proc)(PSImageMultiPlane32* source, PSImageMultiPlane32* destination,
                                      VRect* area, int64* coords, int16 method);
};

// Keys for GetPropertyProc (signature '8BIM').
inline constexpr PIType propNumberOfChannels = fourCharCode("nuch");
inline constexpr PIType propChannelName = fourCharCode("nmch");
inline constexpr PIType propImageMode = fourCharCode("mode");
inline constexpr PIType propInterpolationMethod = fourCharCode("intp");  // 1 point, 2 bilinear, 3 bicubic
inline constexpr PIType propRulerUnits = fourCharCode("rulr");
inline constexpr PIType propSerialString2 = fourCharCode("sstR");
inline constexpr PIType propInterfaceColor = fourCharCode("iclr");
inline constexpr PIType propDocumentWidth = fourCharCode("docW");
inline constexpr PIType propDocumentHeight = fourCharCode("docH");
inline constexpr PIType propVersion = fourCharCode("vers");
inline constexpr PIType propPlayInProgress = fourCharCode("plip");
inline constexpr PIType propRecordInProgress = fourCharCode("rcip");
inline constexpr PIType propUnicodeName = fourCharCode("unnm");
inline constexpr PIType propNumberOfLayers = fourCharCode("nuly");
inline constexpr PIType propTargetLayerIndex = fourCharCode("tgly");
inline constexpr PIType propPixelScaleFactor = fourCharCode("pxsf");
inline constexpr PIType propTileSize = fourCharCode("TSiz");

// ---------------------------------------------------------------------------
// Monitor description (FilterRecord::monitor): chromaticities as 16.16 values.

struct PlugInMonitor {
    Fixed gamma;
    Fixed redX;
    Fixed redY;
    Fixed greenX;
    Fixed greenY;
    Fixed blueX;
    Fixed blueY;
    Fixed whiteX;
    Fixed whiteY;
    Fixed ambient;
};

// ---------------------------------------------------------------------------
// Pixel map drawn by DisplayPixelsProc

// PSPixelMask::maskDescription. Simple and matted masks: 255 = opaque;
// inverted: 0 = opaque.
inline constexpr int32 kSimplePSMask = 0;
inline constexpr int32 kBlackMatPSMask = 1;
inline constexpr int32 kGrayMatPSMask = 2;
inline constexpr int32 kWhiteMatPSMask = 3;
inline constexpr int32 kInvertPSMask = 4;

struct PSPixelMask {
    PSPixelMask* next;
    void* maskData;
    int32 rowBytes;
    int32 colBytes;
    int32 maskDescription;
};

struct PSPixelOverlay {
    PSPixelOverlay* next;
    void* data;
    int32 rowBytes;
    int32 colBytes;
    unsigned8 r;
    unsigned8 g;
    unsigned8 b;
    unsigned8 opacity;
    int32 overlayAlgorithm;  // 0 standard alpha, 1 inverted alpha
};

// The host reads only the fields of the given version: a version-1 map needs
// the first 72 bytes; the rest stays zero.
struct PSPixelMap {
    int32 version;
    VRect bounds;
    int32 imageMode;
    int32 rowBytes;
    int32 colBytes;
    int32 planeBytes;
    void* baseAddr;  // first plane of the top-left pixel
    PSPixelMask* mat;    // [v1]
    PSPixelMask* masks;  // [v1]
    int32 maskPhaseRow;  // [v1]
    int32 maskPhaseCol;  // [v1]
    PSPixelOverlay* pixelOverlays;       // [v2]
    unsigned32 colorManagementOptions;   // [v2] low 4 bits: 0 standard, 1 Mac RGB, 2 sRGB, 3 none
    int16 depth;                         // [v3]
};

// ---------------------------------------------------------------------------
// Colour services

inline constexpr int16 plugIncolorServicesChooseColor = 0;
inline constexpr int16 plugIncolorServicesConvertColor = 1;
inline constexpr int16 plugIncolorServicesSamplePoint = 2;
inline constexpr int16 plugIncolorServicesGetSpecialColor = 3;

inline constexpr int16 plugIncolorServicesChosenSpace = -1;
inline constexpr int16 plugIncolorServicesRGBSpace = 0;
inline constexpr int16 plugIncolorServicesHSBSpace = 1;
inline constexpr int16 plugIncolorServicesCMYKSpace = 2;
inline constexpr int16 plugIncolorServicesLabSpace = 3;
inline constexpr int16 plugIncolorServicesGraySpace = 4;
inline constexpr int16 plugIncolorServicesHSLSpace = 5;
inline constexpr int16 plugIncolorServicesXYZSpace = 6;

inline constexpr int32 plugIncolorServicesForegroundColor = 0;
inline constexpr int32 plugIncolorServicesBackgroundColor = 1;

struct ColorServicesInfo {
    int32 infoSize;  // caller sets sizeof(ColorServicesInfo)
    int16 selector;
    int16 sourceSpace;
    int16 resultSpace;
    Boolean resultGamutInfoValid;
    Boolean resultInGamut;
    void* reservedSourceSpaceInfo;
    void* reservedResultSpaceInfo;
    int16 colorComponents[4];
    void* reserved;
    union {
        Str255* pickerPrompt;
        Point* globalSamplePoint;
        int32 specialColorID;
    } selectorParameter;
};

// ---------------------------------------------------------------------------
// FilterRecord and its 32-bit coordinate block: 4-byte packed everywhere.

#pragma pack(push, 4)

struct BigDocumentStruct {
    int32 PluginUsing32BitCoordinates;  // plug-in sets nonzero to use the fields below
    VPoint imageSize32;
    VRect filterRect32;
    VRect inRect32;
    VRect outRect32;
    VRect maskRect32;
    VPoint floatCoord32;
    VPoint wholeSize32;
};

// Declared with the 2024 tail (allowOverrangeColors, reserved[45]). A plug-in
// must not rely on the total size: older hosts end earlier, and fields past a
// host's own version read as whatever it put there (normally zero).
struct FilterRecord {
    int32 serialNumber;
    TestAbortProc abortProc;
    ProgressProc progressProc;
    Handle parameters;  // plug-in's settings, kept by the host between runs
    Point imageSize;
    int16 planes;
    Rect filterRect;
    PSRGBColor background;
    PSRGBColor foreground;
    int32 maxSpace;
    int32 bufferSpace;

    // Requests (plug-in) and deliveries (host); planes are inclusive ranges.
    Rect inRect;
    int16 inLoPlane;
    int16 inHiPlane;
    Rect outRect;
    int16 outLoPlane;
    int16 outHiPlane;
    void* inData;
    int32 inRowBytes;
    void* outData;
    int32 outRowBytes;
    Boolean isFloating;
    Boolean haveMask;
    Boolean autoMask;
    Rect maskRect;
    void* maskData;
    int32 maskRowBytes;

    FilterColor backColor;
    FilterColor foreColor;
    OSType hostSig;
    HostProc hostProc;
    int16 imageMode;
    Fixed imageHRes;
    Fixed imageVRes;
    Point floatCoord;
    Point wholeSize;
    PlugInMonitor monitor;
    void* platformData;  // points to a PlatformData
    BufferProcs* bufferProcs;
    ResourceProcs* resourceProcs;
    ProcessEventProc processEvent;
    DisplayPixelsProc displayPixels;
    HandleProcs* handleProcs;

    // 3.0
    Boolean supportsDummyChannels;
    Boolean supportsAlternateLayouts;
    int16 wantLayout;
    int16 filterCase;
    int16 dummyPlaneValue;
    void* premiereHook;
    AdvanceStateProc advanceState;
    Boolean supportsAbsolute;
    Boolean wantsAbsolute;
    GetPropertyProc getPropertyObsolete;
    Boolean cannotUndo;
    Boolean supportsPadding;
    int16 inputPadding;
    int16 outputPadding;
    int16 maskPadding;
    char samplingSupport;
    char reservedByte;
    Fixed inputRate;
    Fixed maskRate;
    ColorServicesProc colorServices;
    int16 inLayerPlanes;
    int16 inTransparencyMask;
    int16 inLayerMasks;
    int16 inInvertedLayerMasks;
    int16 inNonLayerPlanes;
    int16 outLayerPlanes;
    int16 outTransparencyMask;
    int16 outLayerMasks;
    int16 outInvertedLayerMasks;
    int16 outNonLayerPlanes;
    int16 absLayerPlanes;
    int16 absTransparencyMask;
    int16 absLayerMasks;
    int16 absInvertedLayerMasks;
    int16 absNonLayerPlanes;
    int16 inPreDummyPlanes;
    int16 inPostDummyPlanes;
    int16 outPreDummyPlanes;
    int16 outPostDummyPlanes;
    int32 inColumnBytes;  // 0 = not set
    int32 inPlaneBytes;
    int32 outColumnBytes;
    int32 outPlaneBytes;

    // 3.0.4
    ImageServicesProcs* imageServicesProcs;
    PropertyProcs* propertyProcs;
    int16 inTileHeight;
    int16 inTileWidth;
    Point inTileOrigin;
    int16 absTileHeight;
    int16 absTileWidth;
    Point absTileOrigin;
    int16 outTileHeight;
    int16 outTileWidth;
    Point outTileOrigin;
    int16 maskTileHeight;
    int16 maskTileWidth;
    Point maskTileOrigin;

    // 4.0
    PIDescriptorParameters* descriptorParameters;
    Str255* errorString;  // plug-in writes a Pascal string here and returns errReportString
    ChannelPortProcs* channelPortProcs;
    ReadImageDocumentDesc* documentInfo;

    // 5.0
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    int32 depth;  // bits per channel

    // 6.0 and later
    Handle iCCprofileData;
    int32 iCCprofileSize;
    int32 canUseICCProfiles;
    int32 hasImageScrap;
    BigDocumentStruct* bigDocumentData;  // null if the host lacks 32-bit coordinates
    PIDescriptorParameters* input3DScene;
    PIDescriptorParameters* output3DScene;
    Boolean createNewLayer;
    Handle iCCWorkingProfileData;
    int32 iCCWorkingProfileSize;
    int64 bufferSpace64;
    int64 maxSpace64;
    // Release that introduced this field is unconfirmed; hosts without it leave zero.
    Boolean allowOverrangeColors;
    char reserved[45];
};

#pragma pack(pop)

// ---------------------------------------------------------------------------
// About record (selector 0 only) and the entry point

struct AboutRecord {
    void* platformData;  // points to a PlatformData
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    char reserved[244];
};

// For selector filterSelectorAbout the second argument is really an AboutRecord*.
// data is the plug-in's pointer-sized slot, kept by the host between calls.
using PluginMainProc = void (*)(int16 selector, FilterRecord* filterRecord, intptr_t* data, int16* result);

// ---------------------------------------------------------------------------
// Layout

static_assert(sizeof(PlugInMonitor) == 40);
static_assert(sizeof(BigDocumentStruct) == 92);
static_assert(offsetof(BigDocumentStruct, PluginUsing32BitCoordinates) == 0);
static_assert(offsetof(BigDocumentStruct, imageSize32) == 4);
static_assert(offsetof(BigDocumentStruct, filterRect32) == 12);
static_assert(offsetof(BigDocumentStruct, inRect32) == 28);
static_assert(offsetof(BigDocumentStruct, outRect32) == 44);
static_assert(offsetof(BigDocumentStruct, maskRect32) == 60);
static_assert(offsetof(BigDocumentStruct, floatCoord32) == 76);
static_assert(offsetof(BigDocumentStruct, wholeSize32) == 84);

#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(offsetof(HandleProcs, handleProcsVersion) == 0);
static_assert(offsetof(HandleProcs, numHandleProcs) == 2);
static_assert(offsetof(HandleProcs, newProc) == 8);
static_assert(offsetof(HandleProcs, disposeProc) == 16);
static_assert(offsetof(HandleProcs, getSizeProc) == 24);
static_assert(offsetof(HandleProcs, setSizeProc) == 32);
static_assert(offsetof(HandleProcs, lockProc) == 40);
static_assert(offsetof(HandleProcs, unlockProc) == 48);
static_assert(offsetof(HandleProcs, recoverSpaceProc) == 56);
static_assert(offsetof(HandleProcs, disposeRegularHandleProc) == 64);
static_assert(sizeof(HandleProcs) == 72);

static_assert(offsetof(BufferProcs, bufferProcsVersion) == 0);
static_assert(offsetof(BufferProcs, numBufferProcs) == 2);
static_assert(offsetof(BufferProcs, allocateProc) == 8);
static_assert(offsetof(BufferProcs, lockProc) == 16);
static_assert(offsetof(BufferProcs, unlockProc) == 24);
static_assert(offsetof(BufferProcs, freeProc) == 32);
static_assert(offsetof(BufferProcs, spaceProc) == 40);
static_assert(offsetof(BufferProcs, reserveProc) == 48);
static_assert(offsetof(BufferProcs, allocateProc64) == 56);
static_assert(offsetof(BufferProcs, spaceProc64) == 64);
static_assert(sizeof(BufferProcs) == 72);

static_assert(offsetof(ResourceProcs, resourceProcsVersion) == 0);
static_assert(offsetof(ResourceProcs, numResourceProcs) == 2);
static_assert(offsetof(ResourceProcs, countProc) == 8);
static_assert(offsetof(ResourceProcs, getProc) == 16);
static_assert(offsetof(ResourceProcs, deleteProc) == 24);
static_assert(offsetof(ResourceProcs, addProc) == 32);
static_assert(sizeof(ResourceProcs) == 40);

static_assert(offsetof(PropertyProcs, propertyProcsVersion) == 0);
static_assert(offsetof(PropertyProcs, numPropertyProcs) == 2);
static_assert(offsetof(PropertyProcs, getPropertyProc) == 8);
static_assert(offsetof(PropertyProcs, setPropertyProc) == 16);
static_assert(sizeof(PropertyProcs) == 24);

static_assert(offsetof(ChannelPortProcs, channelPortProcsVersion) == 0);
static_assert(offsetof(ChannelPortProcs, numChannelPortProcs) == 2);
static_assert(offsetof(ChannelPortProcs, readPixelsProc) == 8);
static_assert(offsetof(ChannelPortProcs, writeBasePixelsProc) == 16);
static_assert(offsetof(ChannelPortProcs, readPortForWritePortProc) == 24);
static_assert(sizeof(ChannelPortProcs) == 32);

static_assert(offsetof(ImageServicesProcs, imageServicesProcsVersion) == 0);
static_assert(offsetof(ImageServicesProcs, numImageServicesProcs) == 2);
static_assert(offsetof(ImageServicesProcs, interpolate1DProc) == 8);
static_assert(offsetof(ImageServicesProcs, interpolate2DProc) == 16);
static_assert(offsetof(ImageServicesProcs, interpolate1DMultiProc) == 24);
static_assert(offsetof(ImageServicesProcs, interpolate2DMultiProc) == 32);
static_assert(offsetof(ImageServicesProcs, interpolate1DMulti32Proc) == 40);
static_assert(offsetof(ImageServicesProcs, interpolate2DMulti32Proc) == 48);
static_assert(sizeof(ImageServicesProcs) == 56);

static_assert(offsetof(PSPixelMap, version) == 0);
static_assert(offsetof(PSPixelMap, bounds) == 4);
static_assert(offsetof(PSPixelMap, imageMode) == 20);
static_assert(offsetof(PSPixelMap, rowBytes) == 24);
static_assert(offsetof(PSPixelMap, colBytes) == 28);
static_assert(offsetof(PSPixelMap, planeBytes) == 32);
static_assert(offsetof(PSPixelMap, baseAddr) == 40);
static_assert(offsetof(PSPixelMap, mat) == 48);
static_assert(offsetof(PSPixelMap, masks) == 56);
static_assert(offsetof(PSPixelMap, maskPhaseRow) == 64);
static_assert(offsetof(PSPixelMap, maskPhaseCol) == 68);
static_assert(offsetof(PSPixelMap, pixelOverlays) == 72);
static_assert(offsetof(PSPixelMap, colorManagementOptions) == 80);
static_assert(offsetof(PSPixelMap, depth) == 84);
static_assert(sizeof(PSPixelMap) == 88);

static_assert(offsetof(PSPixelMask, next) == 0);
static_assert(offsetof(PSPixelMask, maskData) == 8);
static_assert(offsetof(PSPixelMask, rowBytes) == 16);
static_assert(offsetof(PSPixelMask, colBytes) == 20);
static_assert(offsetof(PSPixelMask, maskDescription) == 24);
static_assert(sizeof(PSPixelMask) == 32);

static_assert(offsetof(PSPixelOverlay, next) == 0);
static_assert(offsetof(PSPixelOverlay, data) == 8);
static_assert(offsetof(PSPixelOverlay, rowBytes) == 16);
static_assert(offsetof(PSPixelOverlay, colBytes) == 20);
static_assert(offsetof(PSPixelOverlay, r) == 24);
static_assert(offsetof(PSPixelOverlay, g) == 25);
static_assert(offsetof(PSPixelOverlay, b) == 26);
static_assert(offsetof(PSPixelOverlay, opacity) == 27);
static_assert(offsetof(PSPixelOverlay, overlayAlgorithm) == 28);
static_assert(sizeof(PSPixelOverlay) == 32);

static_assert(offsetof(ColorServicesInfo, infoSize) == 0);
static_assert(offsetof(ColorServicesInfo, selector) == 4);
static_assert(offsetof(ColorServicesInfo, sourceSpace) == 6);
static_assert(offsetof(ColorServicesInfo, resultSpace) == 8);
static_assert(offsetof(ColorServicesInfo, resultGamutInfoValid) == 10);
static_assert(offsetof(ColorServicesInfo, resultInGamut) == 11);
static_assert(offsetof(ColorServicesInfo, reservedSourceSpaceInfo) == 16);
static_assert(offsetof(ColorServicesInfo, reservedResultSpaceInfo) == 24);
static_assert(offsetof(ColorServicesInfo, colorComponents) == 32);
static_assert(offsetof(ColorServicesInfo, reserved) == 40);
static_assert(offsetof(ColorServicesInfo, selectorParameter) == 48);
static_assert(sizeof(ColorServicesInfo) == 56);

static_assert(offsetof(AboutRecord, platformData) == 0);
static_assert(offsetof(AboutRecord, sSPBasic) == 8);
static_assert(offsetof(AboutRecord, plugInRef) == 16);
static_assert(offsetof(AboutRecord, reserved) == 24);
static_assert(sizeof(AboutRecord) == 272);

static_assert(offsetof(FilterRecord, serialNumber) == 0x000);
static_assert(offsetof(FilterRecord, abortProc) == 0x004);
static_assert(offsetof(FilterRecord, progressProc) == 0x00C);
static_assert(offsetof(FilterRecord, parameters) == 0x014);
static_assert(offsetof(FilterRecord, imageSize) == 0x01C);
static_assert(offsetof(FilterRecord, planes) == 0x020);
static_assert(offsetof(FilterRecord, filterRect) == 0x022);
static_assert(offsetof(FilterRecord, background) == 0x02A);
static_assert(offsetof(FilterRecord, foreground) == 0x030);
static_assert(offsetof(FilterRecord, maxSpace) == 0x038);
static_assert(offsetof(FilterRecord, bufferSpace) == 0x03C);
static_assert(offsetof(FilterRecord, inRect) == 0x040);
static_assert(offsetof(FilterRecord, inLoPlane) == 0x048);
static_assert(offsetof(FilterRecord, inHiPlane) == 0x04A);
static_assert(offsetof(FilterRecord, outRect) == 0x04C);
static_assert(offsetof(FilterRecord, outLoPlane) == 0x054);
static_assert(offsetof(FilterRecord, outHiPlane) == 0x056);
static_assert(offsetof(FilterRecord, inData) == 0x058);
static_assert(offsetof(FilterRecord, inRowBytes) == 0x060);
static_assert(offsetof(FilterRecord, outData) == 0x064);
static_assert(offsetof(FilterRecord, outRowBytes) == 0x06C);
static_assert(offsetof(FilterRecord, isFloating) == 0x070);
static_assert(offsetof(FilterRecord, haveMask) == 0x071);
static_assert(offsetof(FilterRecord, autoMask) == 0x072);
static_assert(offsetof(FilterRecord, maskRect) == 0x074);
static_assert(offsetof(FilterRecord, maskData) == 0x07C);
static_assert(offsetof(FilterRecord, maskRowBytes) == 0x084);
static_assert(offsetof(FilterRecord, backColor) == 0x088);
static_assert(offsetof(FilterRecord, foreColor) == 0x08C);
static_assert(offsetof(FilterRecord, hostSig) == 0x090);
static_assert(offsetof(FilterRecord, hostProc) == 0x094);
static_assert(offsetof(FilterRecord, imageMode) == 0x09C);
static_assert(offsetof(FilterRecord, imageHRes) == 0x0A0);
static_assert(offsetof(FilterRecord, imageVRes) == 0x0A4);
static_assert(offsetof(FilterRecord, floatCoord) == 0x0A8);
static_assert(offsetof(FilterRecord, wholeSize) == 0x0AC);
static_assert(offsetof(FilterRecord, monitor) == 0x0B0);
static_assert(offsetof(FilterRecord, platformData) == 0x0D8);
static_assert(offsetof(FilterRecord, bufferProcs) == 0x0E0);
static_assert(offsetof(FilterRecord, resourceProcs) == 0x0E8);
static_assert(offsetof(FilterRecord, processEvent) == 0x0F0);
static_assert(offsetof(FilterRecord, displayPixels) == 0x0F8);
static_assert(offsetof(FilterRecord, handleProcs) == 0x100);
static_assert(offsetof(FilterRecord, supportsDummyChannels) == 0x108);
static_assert(offsetof(FilterRecord, supportsAlternateLayouts) == 0x109);
static_assert(offsetof(FilterRecord, wantLayout) == 0x10A);
static_assert(offsetof(FilterRecord, filterCase) == 0x10C);
static_assert(offsetof(FilterRecord, dummyPlaneValue) == 0x10E);
static_assert(offsetof(FilterRecord, premiereHook) == 0x110);
static_assert(offsetof(FilterRecord, advanceState) == 0x118);
static_assert(offsetof(FilterRecord, supportsAbsolute) == 0x120);
static_assert(offsetof(FilterRecord, wantsAbsolute) == 0x121);
static_assert(offsetof(FilterRecord, getPropertyObsolete) == 0x124);
static_assert(offsetof(FilterRecord, cannotUndo) == 0x12C);
static_assert(offsetof(FilterRecord, supportsPadding) == 0x12D);
static_assert(offsetof(FilterRecord, inputPadding) == 0x12E);
static_assert(offsetof(FilterRecord, outputPadding) == 0x130);
static_assert(offsetof(FilterRecord, maskPadding) == 0x132);
static_assert(offsetof(FilterRecord, samplingSupport) == 0x134);
static_assert(offsetof(FilterRecord, reservedByte) == 0x135);
static_assert(offsetof(FilterRecord, inputRate) == 0x138);
static_assert(offsetof(FilterRecord, maskRate) == 0x13C);
static_assert(offsetof(FilterRecord, colorServices) == 0x140);
static_assert(offsetof(FilterRecord, inLayerPlanes) == 0x148);
static_assert(offsetof(FilterRecord, inTransparencyMask) == 0x14A);
static_assert(offsetof(FilterRecord, inLayerMasks) == 0x14C);
static_assert(offsetof(FilterRecord, inInvertedLayerMasks) == 0x14E);
static_assert(offsetof(FilterRecord, inNonLayerPlanes) == 0x150);
static_assert(offsetof(FilterRecord, outLayerPlanes) == 0x152);
static_assert(offsetof(FilterRecord, outTransparencyMask) == 0x154);
static_assert(offsetof(FilterRecord, outLayerMasks) == 0x156);
static_assert(offsetof(FilterRecord, outInvertedLayerMasks) == 0x158);
static_assert(offsetof(FilterRecord, outNonLayerPlanes) == 0x15A);
static_assert(offsetof(FilterRecord, absLayerPlanes) == 0x15C);
static_assert(offsetof(FilterRecord, absTransparencyMask) == 0x15E);
static_assert(offsetof(FilterRecord, absLayerMasks) == 0x160);
static_assert(offsetof(FilterRecord, absInvertedLayerMasks) == 0x162);
static_assert(offsetof(FilterRecord, absNonLayerPlanes) == 0x164);
static_assert(offsetof(FilterRecord, inPreDummyPlanes) == 0x166);
static_assert(offsetof(FilterRecord, inPostDummyPlanes) == 0x168);
static_assert(offsetof(FilterRecord, outPreDummyPlanes) == 0x16A);
static_assert(offsetof(FilterRecord, outPostDummyPlanes) == 0x16C);
static_assert(offsetof(FilterRecord, inColumnBytes) == 0x170);
static_assert(offsetof(FilterRecord, inPlaneBytes) == 0x174);
static_assert(offsetof(FilterRecord, outColumnBytes) == 0x178);
static_assert(offsetof(FilterRecord, outPlaneBytes) == 0x17C);
static_assert(offsetof(FilterRecord, imageServicesProcs) == 0x180);
static_assert(offsetof(FilterRecord, propertyProcs) == 0x188);
static_assert(offsetof(FilterRecord, inTileHeight) == 0x190);
static_assert(offsetof(FilterRecord, inTileWidth) == 0x192);
static_assert(offsetof(FilterRecord, inTileOrigin) == 0x194);
static_assert(offsetof(FilterRecord, absTileHeight) == 0x198);
static_assert(offsetof(FilterRecord, absTileWidth) == 0x19A);
static_assert(offsetof(FilterRecord, absTileOrigin) == 0x19C);
static_assert(offsetof(FilterRecord, outTileHeight) == 0x1A0);
static_assert(offsetof(FilterRecord, outTileWidth) == 0x1A2);
static_assert(offsetof(FilterRecord, outTileOrigin) == 0x1A4);
static_assert(offsetof(FilterRecord, maskTileHeight) == 0x1A8);
static_assert(offsetof(FilterRecord, maskTileWidth) == 0x1AA);
static_assert(offsetof(FilterRecord, maskTileOrigin) == 0x1AC);
static_assert(offsetof(FilterRecord, descriptorParameters) == 0x1B0);
static_assert(offsetof(FilterRecord, errorString) == 0x1B8);
static_assert(offsetof(FilterRecord, channelPortProcs) == 0x1C0);
static_assert(offsetof(FilterRecord, documentInfo) == 0x1C8);
static_assert(offsetof(FilterRecord, sSPBasic) == 0x1D0);
static_assert(offsetof(FilterRecord, plugInRef) == 0x1D8);
static_assert(offsetof(FilterRecord, depth) == 0x1E0);
static_assert(offsetof(FilterRecord, iCCprofileData) == 0x1E4);
static_assert(offsetof(FilterRecord, iCCprofileSize) == 0x1EC);
static_assert(offsetof(FilterRecord, canUseICCProfiles) == 0x1F0);
static_assert(offsetof(FilterRecord, hasImageScrap) == 0x1F4);
static_assert(offsetof(FilterRecord, bigDocumentData) == 0x1F8);
static_assert(offsetof(FilterRecord, input3DScene) == 0x200);
static_assert(offsetof(FilterRecord, output3DScene) == 0x208);
static_assert(offsetof(FilterRecord, createNewLayer) == 0x210);
static_assert(offsetof(FilterRecord, iCCWorkingProfileData) == 0x214);
static_assert(offsetof(FilterRecord, iCCWorkingProfileSize) == 0x21C);
static_assert(offsetof(FilterRecord, bufferSpace64) == 0x220);
static_assert(offsetof(FilterRecord, maxSpace64) == 0x228);
static_assert(offsetof(FilterRecord, allowOverrangeColors) == 0x230);
static_assert(offsetof(FilterRecord, reserved) == 0x231);
static_assert(sizeof(FilterRecord) == 608);
#endif

}  // namespace ps
